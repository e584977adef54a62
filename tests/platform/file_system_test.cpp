#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/file_system.h"

namespace hvr::platform {
namespace {

namespace fs = std::filesystem;

class LocalFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("hvr-fs-" + std::to_string(::getpid()) + "-" +
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
    ASSERT_TRUE(files.replaceFile(path, "new\r\n"));
    EXPECT_EQ(read(path), "new\r\n");
    EXPECT_EQ(entries(), 1) << "no temporary file is left behind";
}

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
    const bool ok = files.replaceFile(path, std::string(4096, 'x'));
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(ok);
    EXPECT_EQ(read(path), "earlier listing");
    EXPECT_EQ(entries(), 1);
}

TEST_F(LocalFiles, FailsForAMissingDirectoryOrADirectoryInTheWay) {
    EXPECT_FALSE(files.replaceFile((dir / "missing" / "HVR.txt").string(), "x"));
    fs::create_directory(dir / "HVR.txt");
    EXPECT_FALSE(files.replaceFile((dir / "HVR.txt").string(), "x"));
    EXPECT_TRUE(fs::is_directory(dir / "HVR.txt"));
    EXPECT_EQ(entries(), 1);
}

TEST_F(LocalFiles, CreatesTheWorkingDirectory) {
    EXPECT_TRUE(files.ensureDirectory((dir / "a" / "HVR").string()));
    EXPECT_TRUE(fs::is_directory(dir / "a" / "HVR"));
    EXPECT_TRUE(files.ensureDirectory((dir / "a" / "HVR").string()));
    std::ofstream((dir / "plain").string()) << "x";
    EXPECT_FALSE(files.ensureDirectory((dir / "plain").string()));
}

TEST_F(LocalFiles, HomeComesFromTheEnvironment) {
    const char* before = std::getenv("HOME");
    const std::string saved = before ? before : "";
    ::setenv("HOME", "/somewhere/else", 1);
    EXPECT_EQ(files.homeDirectory(), "/somewhere/else");
    ::setenv("HOME", saved.c_str(), 1);
}

} // namespace
} // namespace hvr::platform
