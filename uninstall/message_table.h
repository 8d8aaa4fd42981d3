// The message table built into a module: string resources in English (United Kingdom).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vt {

// Message `id` of `module`'s table, exactly as stored; nothing when the table lacks it.
std::optional<std::wstring> BuiltInMessage(HMODULE module, unsigned id);

} // namespace vt
