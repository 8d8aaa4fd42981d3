// Text through the system's ANSI code page, for the platform functions that take 8-bit text.
// Characters the code page lacks become what the system makes of them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vt {

std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);

// The same, but only where the code page carries the text exactly: nothing when a character
// would become another (a best fit, or the default character), or when a byte stands for no
// character (half of a double-byte character, say). For paths, where a near miss names another
// file, or a wildcard.
std::optional<std::string> ToAnsiExact(std::wstring_view text);
std::optional<std::wstring> FromAnsiExact(std::string_view bytes);

} // namespace vt
