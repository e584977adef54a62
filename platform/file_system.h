#pragma once

#include <string>
#include <string_view>

namespace hvr::platform {

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // The user's home directory.
    virtual std::string homeDirectory() = 0;

    // Creates the directory (and its parents) when missing; true when it exists afterwards.
    virtual bool ensureDirectory(const std::string& path) = 0;

    // Writes exactly these bytes to the file, or leaves it as it was. An ordinary file, new or
    // existing, is replaced atomically: the bytes go to a temporary file beside it, renamed over
    // it when complete, with the old file's permissions. A symbolic link is followed and its
    // target replaced. A pipe or a device is a stream and is written directly. A directory or
    // a read-only file is refused. On failure `why` (when given) says why, in one phrase.
    virtual bool saveFile(const std::string& path, std::string_view bytes, std::string* why = nullptr) = 0;
};

// Whether saveFile could write to the path, without writing anything: for a program that
// should refuse an output it cannot write before it does its work. `why` as for saveFile.
bool canSave(const std::string& path, std::string* why = nullptr);

// Whether two paths name one file: the same file through any path, link or hard link, or, for
// one not made yet, the same name in the same folder once the folders' links are followed.
bool sameFile(const std::string& a, const std::string& b);

// The file system of the machine.
class LocalFileSystem final : public FileSystem {
  public:
    std::string homeDirectory() override;
    bool ensureDirectory(const std::string& path) override;
    bool saveFile(const std::string& path, std::string_view bytes, std::string* why = nullptr) override;
};

} // namespace hvr::platform
