#pragma once

#include <iostream>
#include <string>

namespace hvr::cli {

// The exit statuses of hvr-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNoInstrument = 1; // no instrument, link lost, read incomplete
inline constexpr int kExitBadArguments = 2;
inline constexpr int kExitCannotWrite = 3;
inline constexpr int kExitArchive = 4; // the archive missing, unreadable, or no such record

// Says what went wrong on one line of standard error; the status to exit with.
inline int fail(int code, const std::string& line) {
    std::cerr << "hvr-cli: " << line << "\n";
    return code;
}

} // namespace hvr::cli
