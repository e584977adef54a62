#include <gtest/gtest.h>

#ifdef _WIN32
#include <process.h>
#include <stdio.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/file_system.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace hvr::platform {
namespace {

namespace fs = std::filesystem;

class LocalFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("hvr-fs-" + std::to_string(getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    int entries() const {
        return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}));
    }

    fs::path dir;
    LocalFileSystem files;
};

TEST_F(LocalFiles, ReplacesTheWholeFile) {
    const auto path = (dir / "HVR.txt").string();
    std::ofstream(path) << "a much longer earlier listing than the new one";
    ASSERT_TRUE(files.saveFile(path, "new\r\n"));
    EXPECT_EQ(read(path), "new\r\n");
    EXPECT_EQ(entries(), 1) << "no temporary file is left behind";
}

TEST_F(LocalFiles, RemovesTheLeftoversOfAnEarlierSaveCutShort) {
    const auto path = (dir / "HVR.txt").string();
    for (const char* name :
         {".HVR.txt.a1B2c3", ".HVR.txt.zz9ZZ9", ".HVR.txt.keep", ".HVR.txt.abcdefg", ".HVR.csv.a1B2c3"})
        std::ofstream(dir / name) << "left";
    ASSERT_TRUE(files.saveFile(path, "new\r\n"));
    EXPECT_EQ(read(path), "new\r\n");
    EXPECT_FALSE(fs::exists(dir / ".HVR.txt.a1B2c3"));
    EXPECT_FALSE(fs::exists(dir / ".HVR.txt.zz9ZZ9"));
    for (const char* name : {".HVR.txt.keep", ".HVR.txt.abcdefg", ".HVR.csv.a1B2c3"})
        EXPECT_TRUE(fs::exists(dir / name)) << name << " is not a leftover of this file";
}

#ifndef _WIN32
TEST_F(LocalFiles, KeepsTheOldFileWhenWritingFails) {
    const auto path = (dir / "HVR.txt").string();
    std::ofstream(path) << "earlier listing";
    // Writes past 64 bytes fail, for root too.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool ok = files.saveFile(path, std::string(4096, 'x'));
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(ok);
    EXPECT_EQ(read(path), "earlier listing");
    EXPECT_EQ(entries(), 1);
}

#endif

TEST_F(LocalFiles, FailsForAMissingDirectoryOrADirectoryInTheWay) {
    EXPECT_FALSE(files.saveFile((dir / "missing" / "HVR.txt").string(), "x"));
    fs::create_directory(dir / "HVR.txt");
    EXPECT_FALSE(files.saveFile((dir / "HVR.txt").string(), "x"));
    EXPECT_TRUE(fs::is_directory(dir / "HVR.txt"));
    EXPECT_EQ(entries(), 1);
}

#ifndef _WIN32
TEST_F(LocalFiles, AReplacedFileKeepsItsPermissions) {
    const auto path = dir / "HVR.txt";
    std::ofstream(path) << "old";
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(files.saveFile(path.string(), "new"));
    EXPECT_EQ(read(path), "new");
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(LocalFiles, ALinkIsFollowedAndStaysALink) {
    fs::create_directory(dir / "reports");
    std::ofstream(dir / "reports" / "today.txt") << "old";
    fs::create_symlink("reports/today.txt", dir / "HVR.txt");
    ASSERT_TRUE(files.saveFile((dir / "HVR.txt").string(), "new"));
    EXPECT_TRUE(fs::is_symlink(dir / "HVR.txt"));
    EXPECT_EQ(read(dir / "reports" / "today.txt"), "new");

    fs::create_symlink("reports/tomorrow.txt", dir / "next.txt"); // dangling: creates its target
    ASSERT_TRUE(files.saveFile((dir / "next.txt").string(), "later"));
    EXPECT_TRUE(fs::is_symlink(dir / "next.txt"));
    EXPECT_EQ(read(dir / "reports" / "tomorrow.txt"), "later");
}

#endif

TEST_F(LocalFiles, ARefusedReadOnlyFileStaysAsItWas) {
    const auto path = dir / "HVR.txt";
    std::ofstream(path) << "keep";
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    std::string why;
    EXPECT_FALSE(files.saveFile(path.string(), "new", &why));
    EXPECT_EQ(why, "文件只读");
    EXPECT_EQ(read(path), "keep");
#ifndef _WIN32
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
#endif
    EXPECT_EQ(entries(), 1);
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add); // so that it can be removed
}

#ifndef _WIN32
TEST_F(LocalFiles, APipeIsWrittenAsAStream) {
    const auto path = dir / "pipe";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = read(path); });
    EXPECT_TRUE(files.saveFile(path.string(), "listing\r\n"));
    reader.join();
    EXPECT_EQ(received, "listing\r\n");
    EXPECT_TRUE(fs::is_fifo(path)) << "never renamed over";
}

TEST_F(LocalFiles, ADeviceIsWrittenAndStaysADevice) {
    const auto path = dir / "null";
    if (::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "no device node can be made here: " << std::strerror(errno);
    EXPECT_TRUE(files.saveFile(path.string(), "listing"));
    EXPECT_TRUE(fs::is_character_file(path));
}

#endif

TEST_F(LocalFiles, CreatesTheWorkingDirectory) {
    EXPECT_TRUE(files.ensureDirectory((dir / "a" / "HVR").string()));
    EXPECT_TRUE(fs::is_directory(dir / "a" / "HVR"));
    EXPECT_TRUE(files.ensureDirectory((dir / "a" / "HVR").string()));
    std::ofstream((dir / "plain").string()) << "x";
    EXPECT_FALSE(files.ensureDirectory((dir / "plain").string()));
}

#ifndef _WIN32
TEST_F(LocalFiles, HomeComesFromTheEnvironment) {
    const char* before = std::getenv("HOME");
    const std::string saved = before ? before : "";
    ::setenv("HOME", "/somewhere/else", 1);
    EXPECT_EQ(files.homeDirectory(), "/somewhere/else");
    ::setenv("HOME", saved.c_str(), 1);
}

#else

// A file another program holds open is not replaced under it: the save fails, the old file
// stays whole, and nothing is left beside it.
TEST_F(LocalFiles, AFileHeldOpenStaysWholeAndTheSaveSaysWhy) {
    const auto path = dir / "HVR.txt";
    std::ofstream(path) << "earlier listing";
    const HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::string why;
    EXPECT_FALSE(files.saveFile(path.string(), "new", &why));
    CloseHandle(held);
    EXPECT_EQ(why, "正被其他程序使用");
    EXPECT_EQ(read(path), "earlier listing");
    EXPECT_EQ(entries(), 1);
    ASSERT_TRUE(files.saveFile(path.string(), "new"));
    EXPECT_EQ(read(path), "new");
}

TEST_F(LocalFiles, HomeIsTheUserProfile) {
    const wchar_t* before = _wgetenv(L"USERPROFILE");
    const std::wstring saved = before ? before : L"";
    _wputenv_s(L"USERPROFILE", L"C:\\Users\\王工");
    EXPECT_EQ(files.homeDirectory(), "C:\\Users\\王工");
    _wputenv_s(L"USERPROFILE", saved.c_str());
}
#endif

} // namespace
} // namespace hvr::platform
