// An archive's address, any text: read or refused with the reason, its password never shown;
// and a password among arguments overwritten in place without touching anything around it.
#include <cstdlib>
#include <cstring>

#include "fuzz/fuzz_input.h"
#include "platform/archive_address.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    hvr::fuzz::Input in(data, size);
    const std::string text = in.rest();
    std::string why;
    const auto address = hvr::platform::parseArchiveAddress(text, &why);
    if (!address && why.empty()) std::abort();
    if (address) {
        hvr::platform::connectOptions(address->parameters);
        if (!address->password.empty() && address->shown.find(":****@") == std::string::npos) std::abort();
    }
    std::string copy = text;
    char* argv[] = {const_cast<char*>("hvr-cli"), copy.data()};
    hvr::platform::hidePasswordsInArguments(2, argv);
    if (std::strlen(copy.c_str()) != std::strlen(text.c_str())) std::abort();
    return 0;
}
