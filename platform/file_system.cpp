#include "platform/file_system.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace hvr::platform {

std::string LocalFileSystem::homeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) return pw->pw_dir;
    return ".";
}

bool LocalFileSystem::ensureDirectory(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return std::filesystem::is_directory(path, ec);
}

namespace {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

namespace {

bool failWith(std::string* why, std::string reason) {
    if (why != nullptr) *why = std::move(reason);
    return false;
}

std::string systemReason() {
    return std::strerror(errno);
}

// The file a path finally names: symbolic links followed, relative targets taken from the
// link's directory. A dangling link names the file it would create.
std::filesystem::path finalTarget(std::filesystem::path path) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(path, ec)) return path;
        const std::filesystem::path target = std::filesystem::read_symlink(path, ec);
        if (ec) return path;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

// Writes to a pipe or a device as a stream: nothing to rename, nothing to truncate.
bool writeStream(const std::string& path, std::string_view bytes, std::string* why) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return failWith(why, systemReason());
    const bool ok = writeAll(fd, bytes);
    const std::string reason = ok ? "" : systemReason();
    if (::close(fd) != 0 && ok) return failWith(why, systemReason());
    return ok || failWith(why, reason);
}

// A save cut off between writing and renaming (a kill -9, a power cut) leaves its temporary
// ".NAME.XXXXXX" beside NAME: the next save of NAME removes those of its own.
void removeLeftovers(const std::filesystem::path& dir, const std::string& name) {
    const std::string prefix = "." + name + ".";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        const std::string file = entry.path().filename().string();
        if (file.size() != prefix.size() + 6 || !file.starts_with(prefix)) continue;
        const std::string suffix = file.substr(prefix.size());
        if (!std::all_of(suffix.begin(), suffix.end(), [](unsigned char c) { return std::isalnum(c) != 0; }))
            continue;
        struct stat info {};
        if (::lstat(entry.path().c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid())
            ::unlink(entry.path().c_str());
    }
}

// A device takes what is written, or refuses at once (/dev/full): an empty write tells which,
// and writes nothing. Opened without waiting, so that a terminal or a line never holds it.
bool canWriteDevice(const std::filesystem::path& device, std::string* why) {
    const int fd = ::open(device.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return failWith(why, systemReason());
    const bool writes = ::write(fd, "", 0) >= 0;
    const std::string reason = writes ? "" : systemReason();
    ::close(fd);
    return writes || failWith(why, reason);
}

} // namespace

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    if (std::filesystem::exists(a, error) && std::filesystem::exists(b, error))
        return std::filesystem::equivalent(a, b, error);
    const auto where = [](const std::string& path) {
        const std::filesystem::path target = finalTarget(path);
        std::error_code e;
        const std::filesystem::path dir =
            std::filesystem::absolute(target.parent_path().empty() ? "." : target.parent_path(), e);
        return std::filesystem::weakly_canonical(dir, e) / target.filename();
    };
    return where(a) == where(b);
}

bool canSave(const std::string& path, std::string* why) {
    const std::filesystem::path target = finalTarget(path);
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) return failWith(why, "是一个目录");
        if (S_ISCHR(existing.st_mode)) return canWriteDevice(target, why);
        if (!S_ISREG(existing.st_mode))
            return ::access(target.c_str(), W_OK) == 0 || failWith(why, systemReason());
        if (::access(target.c_str(), W_OK) != 0 || (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            return failWith(why, "文件只读");
    }
    std::filesystem::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    if (::access(dir.c_str(), W_OK | X_OK) != 0) return failWith(why, systemReason());
    // A folder may say yes and still make no file (/proc, a read-only mount for the
    // administrator): a file is made there and taken away again.
    std::string probe = (dir / ".hvr-probe-XXXXXX").string();
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) return failWith(why, systemReason());
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

bool LocalFileSystem::saveFile(const std::string& path, std::string_view bytes, std::string* why) {
    const std::filesystem::path target = finalTarget(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) return failWith(why, "是一个目录");
        if (!S_ISREG(existing.st_mode)) return writeStream(target.string(), bytes, why);
        // Read-only as the user sees it: no write permission, or no write bit at all (which
        // stops even the administrator, as a file marked read-only should).
        if (::access(target.c_str(), W_OK) != 0 || (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            return failWith(why, "文件只读");
    }

    std::filesystem::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    removeLeftovers(dir, target.filename().string());
    std::string temp = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return failWith(why, systemReason());
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    std::string reason = ok ? "" : systemReason();
    // The replacement keeps the permissions (and, for the administrator, the owner) of the
    // file it replaces; a new file gets those of any file the user creates.
    mode_t mode = 0666;
    if (exists) {
        mode = existing.st_mode & 07777;
        if (::geteuid() == 0 && ::fchown(fd, existing.st_uid, existing.st_gid) != 0 && ok) {
            ok = false;
            reason = systemReason();
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (::fchmod(fd, mode) != 0 && ok) {
        ok = false;
        reason = systemReason();
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        reason = systemReason();
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        reason = systemReason();
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return failWith(why, reason);
    }
    return true;
}

} // namespace hvr::platform
