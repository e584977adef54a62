// hvr-cli's arguments, any of them: parsed or refused with a message of one line.
#include <cstdlib>

#include "cli/options.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    hvr::fuzz::Input in(data, size);
    std::vector<std::string> args;
    while (!in.empty() && args.size() < 16)
        args.push_back(in.text());
    const hvr::cli::Parsed parsed = hvr::cli::parseOptions(args);
    if (!parsed.options && (parsed.error.empty() || parsed.error.find('\n') != std::string::npos))
        std::abort();
    return 0;
}
