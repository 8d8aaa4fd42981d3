// Stands in for a program or a library of a system name, planted where the uninstaller must not
// take it from: whenever it runs or is loaded it leaves a file "<its own path>.ran". The
// program then loads the libraries named on its command line, searching as any program does.
#include "system/handles.h"

#include <windows.h>

namespace {

void Record(HMODULE self) {
    wchar_t path[MAX_PATH + 8] = L"";
    lstrcpyW(path + GetModuleFileNameW(self, path, MAX_PATH), L".ran");
    const vt::UniqueFile mark(
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

} // namespace

#ifdef VT_PLANTED_LIBRARY
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        Record(self);
    }
    return TRUE;
}
#else
int wmain(int argc, wchar_t** argv) {
    Record(nullptr);
    for (int i = 1; i < argc; ++i) {
        LoadLibraryW(argv[i]);
    }
    return 0;
}
#endif
