#pragma once

#include <string>
#include <vector>

namespace hvr::platform {

// Readies a command-line program's console: its arguments (argv past the program's name) as
// UTF-8, whatever the system passes them in; output shown as UTF-8 on a console; standard output
// taking bytes as they are, so that a listing written there keeps its CR LF exactly.
std::vector<std::string> consoleArguments(int argc, char** argv);

} // namespace hvr::platform
