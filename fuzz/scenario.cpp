// The simulator's scenario file and its fault options, any text: read, or the wrong line named.
#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "sim/instrument.h"
#include "sim/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    hvr::fuzz::Input in(data, size);
    const std::string fault = in.text();
    std::string error;
    for (const bool seconds : {true, false})
        if (!hvr::sim::parseRequestFault(fault, seconds, error) && error.empty()) std::abort();
    const std::string text = in.rest();
    const hvr::sim::Scenario s = hvr::sim::Scenario::parse(text, &error);
    if (error.empty()) {
        for (int g = 0; g <= s.storeSize() + 1 && g < 100; ++g)
            s.storedGroup(g + 1);
        s.liveFrame(7);
    }
    return 0;
}
