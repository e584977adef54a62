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

    // Replaces the file with exactly these bytes, or leaves it as it was: the bytes go to a
    // temporary file beside it, which is renamed over the name only when it is complete.
    virtual bool replaceFile(const std::string& path, std::string_view bytes) = 0;
};

// The file system of the machine.
class LocalFileSystem final : public FileSystem {
  public:
    std::string homeDirectory() override;
    bool ensureDirectory(const std::string& path) override;
    bool replaceFile(const std::string& path, std::string_view bytes) override;
};

} // namespace hvr::platform
