#pragma once

#include <optional>
#include <string>
#include <vector>

namespace hvr::cli {

enum class Command { Download, Monitor, Help };
enum class SortOrder { None, Ascending, Descending };
enum class Format { Csv, Jsonl };

struct Options {
    Command command = Command::Help;
    std::string port;            // a device path or a port number 1..16; empty: scan
    std::string out = "HVR.txt"; // "-" for standard output
    SortOrder sort = SortOrder::None;
    long frames = 0; // 0: until Ctrl-C
    Format format = Format::Csv;
    double timeout = 15;
    double timeScale = 1;
    bool demo = false;
};

// The options, or the one line that says what is wrong with them.
struct Parsed {
    std::optional<Options> options;
    std::string error;
};
Parsed parseOptions(const std::vector<std::string>& args);

extern const char* const kUsage;

} // namespace hvr::cli
