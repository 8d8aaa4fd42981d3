// vt_com_probe: a COM library of the tests' own, copied under the names of the product's
// libraries. Its unregistration writes down the library's full path, as the registration tool
// loaded it, in the file that VT_UNREGISTER_RECORD names (UTF-8, a line each). A copy whose name
// begins with "Hangs" then never returns, like a library that hangs in its unregistration.
#include <windows.h>

#include <cwchar>

namespace {

HMODULE self = nullptr;

void Record() {
    wchar_t record[MAX_PATH] = L"";
    wchar_t path[MAX_PATH] = L"";
    if (!GetEnvironmentVariableW(L"VT_UNREGISTER_RECORD", record, MAX_PATH) ||
        !GetModuleFileNameW(self, path, MAX_PATH)) {
        return;
    }
    char line[4 * MAX_PATH + 2] = "";
    const int length = WideCharToMultiByte(CP_UTF8, 0, path, -1, line,
                                           static_cast<int>(sizeof line) - 2, nullptr, nullptr);
    if (length <= 0) {
        return;
    }
    line[length - 1] = '\n';
    const HANDLE file = CreateFileW(record, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
        CloseHandle(file);
    }
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        self = instance;
    }
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() {
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer() {
    Record();
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(self, path, MAX_PATH);
    const wchar_t* name = std::wcsrchr(path, L'\\');
    if (name && _wcsnicmp(name + 1, L"Hangs", 5) == 0) {
        for (;;) {
            Sleep(INFINITE);
        }
    }
    return S_OK;
}
