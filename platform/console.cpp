#include "platform/console.h"

#ifdef _WIN32
#include "platform/windows_text.h" // windows.h, before the shell's header

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#endif

namespace hvr::platform {

std::vector<std::string> consoleArguments(int argc, char** argv) {
#ifdef _WIN32
    // The system's arguments are UTF-16; argv holds them in the legacy code page, which loses
    // what it has no form for.
    (void)argc;
    (void)argv;
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(windows::utf8(wide[i]));
    LocalFree(wide);
    return args;
#else
    return {argv + 1, argv + argc};
#endif
}

} // namespace hvr::platform
