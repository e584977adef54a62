// GBK in and out, any bytes: converted or refused, and what converts comes back as it was.
#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "platform/gbk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto utf8 = hvr::platform::fromGbk(bytes)) {
        const auto back = hvr::platform::toGbk(*utf8);
        if (!back) std::abort();
    }
    if (const auto gbk = hvr::platform::toGbk(bytes)) {
        const auto back = hvr::platform::fromGbk(*gbk);
        if (!back || *back != bytes) std::abort();
    }
    return 0;
}
