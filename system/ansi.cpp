#include "system/ansi.h"

#include "system/errors.h"

#include <windows.h>

#include <climits>

namespace vt {

namespace {

int LengthOf(std::size_t size) {
    if (size > INT_MAX) {
        Raise(kErrOutOfMemory);
    }
    return static_cast<int>(size);
}

} // namespace

std::string ToAnsi(std::wstring_view text) {
    const int length = LengthOf(text.size());
    const int size =
        WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), size, nullptr, nullptr);
    return ansi;
}

std::wstring FromAnsi(std::string_view text) {
    const int length = LengthOf(text.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), size);
    return wide;
}

std::optional<std::string> ToAnsiExact(std::wstring_view text) {
    if (text.empty()) {
        return std::string();
    }
    const int length = LengthOf(text.size());
    // The code page's own checks are refused for UTF-8, which carries every character anyway.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    BOOL* lossyCheck = utf8 ? nullptr : &lossy;
    const int size =
        WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr, lossyCheck);
    if (size <= 0 || lossy) {
        return std::nullopt;
    }
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, flags, text.data(), length, ansi.data(), size, nullptr, nullptr);
    return ansi;
}

std::optional<std::wstring> FromAnsiExact(std::string_view bytes) {
    if (bytes.empty()) {
        return std::wstring();
    }
    const int length = LengthOf(bytes.size());
    const int size =
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (size <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), length, wide.data(), size);
    return wide;
}

} // namespace vt
