// The file system on Windows: paths are UTF-8 in the program and UTF-16 for the system; a
// file is replaced in one step by the system (ReplaceFile, MoveFileEx), so that the old one
// stays whole until the new one is complete.
#include "platform/file_system.h"

#include <cstdlib>
#include <filesystem>
#include <random>
#include <system_error>

#include "platform/windows_text.h"

namespace hvr::platform {

namespace {

using windows::errorText;
using windows::wide;

bool failWith(std::string* why, std::string reason) {
    if (why != nullptr) *why = std::move(reason);
    return false;
}

std::filesystem::path pathOf(const std::string& utf8) {
    return std::filesystem::path(wide(utf8));
}

// The folder a file goes in: "." for a bare name.
std::filesystem::path folderOf(const std::filesystem::path& file) {
    const std::filesystem::path dir = file.parent_path();
    return dir.empty() ? std::filesystem::path(L".") : dir;
}

// A new file of a random name beside the target, open for writing; INVALID_HANDLE_VALUE with
// the error when none can be made.
HANDLE createBeside(const std::filesystem::path& dir, const std::wstring& prefix, std::filesystem::path& made,
                    DWORD extraFlags) {
    static thread_local std::mt19937 random{std::random_device{}()};
    static constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring name = prefix;
        for (int i = 0; i < 6; ++i)
            name += kLetters[random() % 62];
        made = dir / name;
        const HANDLE file = CreateFileW(made.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL | extraFlags, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// A save cut off between writing and replacing leaves its temporary ".NAME.XXXXXX" beside
// NAME: the next save of NAME removes those of its own.
void removeLeftovers(const std::filesystem::path& dir, const std::wstring& name) {
    const std::wstring prefix = L"." + name + L".";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        const std::wstring file = entry.path().filename().wstring();
        if (file.size() == prefix.size() + 6 && file.starts_with(prefix) && entry.is_regular_file(ec))
            DeleteFileW(entry.path().c_str());
    }
}

} // namespace

std::string LocalFileSystem::homeDirectory() {
    if (const wchar_t* home = _wgetenv(L"USERPROFILE"); home != nullptr && *home != L'\0')
        return windows::utf8(home);
    return ".";
}

bool LocalFileSystem::ensureDirectory(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(pathOf(path), ec);
    return std::filesystem::is_directory(pathOf(path), ec);
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    const std::filesystem::path pa = pathOf(a), pb = pathOf(b);
    if (std::filesystem::exists(pa, error) && std::filesystem::exists(pb, error))
        return std::filesystem::equivalent(pa, pb, error);
    const auto where = [](const std::filesystem::path& p) {
        std::error_code e;
        return std::filesystem::weakly_canonical(std::filesystem::absolute(p, e), e);
    };
    return where(pa) == where(pb);
}

bool canSave(const std::string& path, std::string* why) {
    const std::filesystem::path target = pathOf(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return failWith(why, "是一个目录");
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return failWith(why, "文件只读");
    }
    // A file is made in the folder and taken away again as it closes.
    std::filesystem::path probe;
    const HANDLE file = createBeside(folderOf(target), L".hvr-probe-", probe, FILE_FLAG_DELETE_ON_CLOSE);
    if (file == INVALID_HANDLE_VALUE) return failWith(why, errorText(GetLastError()));
    CloseHandle(file);
    return true;
}

bool LocalFileSystem::saveFile(const std::string& path, std::string_view bytes, std::string* why) {
    const std::filesystem::path target = pathOf(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return failWith(why, "是一个目录");
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return failWith(why, "文件只读");

    // A file another program holds open without letting it go cannot be replaced: said before
    // anything is written (a failed ReplaceFile may leave a file of its own beside it).
    if (exists) {
        const HANDLE old =
            CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (old == INVALID_HANDLE_VALUE) return failWith(why, errorText(GetLastError()));
        CloseHandle(old);
    }

    const std::filesystem::path dir = folderOf(target);
    const std::wstring name = target.filename().wstring();
    removeLeftovers(dir, name);
    std::filesystem::path temp;
    const HANDLE file = createBeside(dir, L"." + name + L".", temp, 0);
    if (file == INVALID_HANDLE_VALUE) return failWith(why, errorText(GetLastError()));
    bool ok = writeAll(file, bytes) && FlushFileBuffers(file);
    DWORD error = ok ? 0 : GetLastError();
    if (!CloseHandle(file) && ok) {
        ok = false;
        error = GetLastError();
    }
    // The old file's attributes and permissions stay with the name (ReplaceFile); a new name
    // is given the file in one move.
    if (ok && exists &&
        !ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                      nullptr) &&
        !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        error = GetLastError();
    }
    if (ok && !exists && !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        error = GetLastError();
    }
    if (!ok) {
        DeleteFileW(temp.c_str());
        return failWith(why, errorText(error));
    }
    return true;
}

} // namespace hvr::platform
