#pragma once
// Windows only: texts between the program's UTF-8 and the system's UTF-16, and the system's
// reasons in words.

#include <windows.h>

#include <string>
#include <string_view>

namespace hvr::platform::windows {

inline std::wstring wide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

inline std::string utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// The reason for a system error: the common ones as the program says them, the others as the
// system does.
inline std::string errorText(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return "文件不存在";
    case ERROR_PATH_NOT_FOUND:
        return "文件夹不存在";
    case ERROR_ACCESS_DENIED:
        return "没有权限";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "正被其他程序使用";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "磁盘已满";
    case ERROR_WRITE_PROTECT:
        return "磁盘写保护";
    default:
        break;
    }
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = n > 0 && text != nullptr ? std::wstring(text, n) : L"";
    if (text != nullptr) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.'))
        message.pop_back();
    return message.empty() ? "错误 " + std::to_string(error) : utf8(message);
}

} // namespace hvr::platform::windows
