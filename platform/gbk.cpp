#include "platform/gbk.h"

#ifdef _WIN32
#include "platform/windows_text.h"
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace hvr::platform {
namespace {

#ifdef _WIN32

// Through UTF-16, with the system's code page 936, refusing what has no form on either side.
std::optional<std::string> toCodePage(unsigned codePage, std::string_view in, bool fromUtf8) {
    if (in.empty()) return std::string();
    const UINT from = fromUtf8 ? CP_UTF8 : codePage, to = fromUtf8 ? codePage : CP_UTF8;
    const int length = static_cast<int>(in.size());
    const int n = MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, in.data(), length, nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, in.data(), length, wide.data(), n);
    BOOL lost = FALSE;
    BOOL* lossy = to == CP_UTF8 ? nullptr : &lost; // UTF-8 takes every character
    const DWORD flags = to == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int m = WideCharToMultiByte(to, flags, wide.data(), n, nullptr, 0, nullptr, lossy);
    if (m <= 0 || lost) return std::nullopt;
    std::string out(static_cast<std::size_t>(m), '\0');
    WideCharToMultiByte(to, flags, wide.data(), n, out.data(), m, nullptr, lossy);
    if (lost) return std::nullopt;
    return out;
}

} // namespace

std::optional<std::string> toGbk(std::string_view utf8) {
    return toCodePage(936, utf8, true);
}

std::optional<std::string> fromGbk(std::string_view gbk) {
    return toCodePage(936, gbk, false);
}

#else

std::optional<std::string> convert(const char* to, const char* from, std::string_view in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(in.size() * 2 + 16, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) continue;
        if (errno != E2BIG) {
            ok = false;
            break;
        }
        const std::size_t used = out.size() - outLeft;
        out.resize(out.size() * 2);
        outPtr = out.data() + used;
        outLeft = out.size() - used;
    }
    iconv_close(cd);
    if (!ok) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace

std::optional<std::string> toGbk(std::string_view utf8) {
    return convert("GBK", "UTF-8", utf8);
}

std::optional<std::string> fromGbk(std::string_view gbk) {
    return convert("UTF-8", "GBK", gbk);
}

#endif

} // namespace hvr::platform
