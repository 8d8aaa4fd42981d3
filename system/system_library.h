// Libraries that are not on the system's known-DLL list are loaded from the system folder
// only. The program runs elevated from a folder that others may write to: a library of a
// system library's name placed beside it, or in the current folder, must never be loaded.
#pragma once

#include <windows.h>

namespace vt {

// Limits every later library search of this process to the system folder, the current folder
// left out too. The first thing the program does.
void RestrictLibrarySearch() noexcept;

// A library of the system, by its file name, from the system folder (or, for a name the
// program's manifest redirects, from the system's side-by-side store); null when it cannot be
// loaded.
HMODULE LoadSystemLibrary(const wchar_t* name) noexcept;

// A procedure of a library loaded at run time, as the type it has; null when it is missing.
template <class Procedure> Procedure ProcedureOf(HMODULE library, const char* name) noexcept {
    if (!library) {
        return nullptr;
    }
    // Through the generic procedure type: the compiler accepts that cast between procedure types.
    return reinterpret_cast<Procedure>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

} // namespace vt
