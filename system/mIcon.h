// The program's icons on its windows.
#pragma once

#include <windows.h>

namespace vt {

// Loads the program's icon `iconName` at the system's large and small sizes and gives both to
// `window` and, when `setOwner`, to its top-level owner. A name of digits only ("1") names the
// icon resource with that number. Never fails: an icon that cannot be had is simply not set.
void SetIcon(HWND window, const char* iconName, bool setOwner) noexcept;

} // namespace vt
