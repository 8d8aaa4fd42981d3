// The language component's one class: the uninstaller's texts in one language, handed out by
// number through the automation method GetText. The texts are the string table of this
// library's resources.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace vt::language {

// This library, and how many of its objects and locks are alive (it may be unloaded at 0).
extern HMODULE g_module;
extern volatile LONG g_aliveCount;

// Makes an object of the class and hands out the asked-for interface of it.
HRESULT CreateLanguage(REFIID interfaceId, void** object) noexcept;

} // namespace vt::language
