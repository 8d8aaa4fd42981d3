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

} // namespace vt
