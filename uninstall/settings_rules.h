// Where a start-up entry that the product set aside goes back to when the settings are
// removed. The product keeps each entry as a value of its StartUp key whose name begins with a
// five-character tag naming the start-up list. Platform-neutral, so that it is checked natively.
#pragma once

#include "system/modReg.h"

#include <optional>
#include <string>
#include <string_view>

namespace vt {

inline constexpr wchar_t kMachineRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kUserRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

struct StartUpList {
    RegRoot root;
    const wchar_t* key;
};

// The start-up list a kept entry's tag names ("HKLM:", "HKCU:" or "STAR:", in any case);
// nothing for any other tag, whose entry is dropped.
std::optional<StartUpList> StartUpListFor(std::wstring_view valueName);

// The entry's name in the start-up list: what follows the tag, without any blank.
std::wstring StartUpEntryName(std::wstring_view valueName);

} // namespace vt
