#include "system/version_library.h"

#include "system/errors.h"
#include "system/handles.h"

namespace vt {

namespace {

template <class Function> void Bind(HMODULE library, const char* name, Function& function) {
    const FARPROC address = GetProcAddress(library, name);
    if (!address) {
        Raise(kErrDllLoad, L"Error in loading DLL: version.dll has no " +
                               std::wstring(name, name + lstrlenA(name)));
    }
    // Through a pointer to a function of no arguments, which every function pointer converts
    // to and from without a warning.
    function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

struct LoadedVersionLibrary {
    UniqueModule module;
    VersionLibrary functions;

    LoadedVersionLibrary()
        : module(LoadLibraryExW(L"version.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        if (!module) {
            Raise(kErrDllLoad, L"Error in loading DLL: version.dll");
        }
        Bind(module.get(), "GetFileVersionInfoSizeW", functions.GetFileVersionInfoSizeW);
        Bind(module.get(), "GetFileVersionInfoW", functions.GetFileVersionInfoW);
        Bind(module.get(), "VerQueryValueW", functions.VerQueryValueW);
    }
};

} // namespace

const VersionLibrary& Version() {
    // A constructor that raises leaves the static unmade, so the next call tries again.
    static const LoadedVersionLibrary loaded;
    return loaded.functions;
}

} // namespace vt
