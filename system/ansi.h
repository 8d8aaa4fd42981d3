// Text through the system's ANSI code page, for the platform functions that take 8-bit text.
// Characters the code page lacks become what the system makes of them.
#pragma once

#include <string>
#include <string_view>

namespace vt {

std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);

} // namespace vt
