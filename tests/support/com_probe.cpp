// vt_com_probe: a COM library of the tests' own, copied under the names of the product's
// libraries. Its unregistration writes down its full path and, after a tab, the tool's that loaded
// it, in the file that VT_UNREGISTER_RECORD names (UTF-8, a line each). A copy whose name begins
// with "Hangs" then never returns, like a library that hangs in its unregistration.
#include "system/handles.h"

#include <windows.h>

#include <cwchar>

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() {
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer() {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&DllUnregisterServer), &self);
    wchar_t record[MAX_PATH] = L"";
    wchar_t path[2 * MAX_PATH + 1] = L"";
    char line[8 * MAX_PATH + 4] = "";
    const DWORD own = GetModuleFileNameW(self, path, MAX_PATH);
    const bool hangs = _wcsnicmp(std::wcsrchr(path, L'\\') + 1, L"Hangs", 5) == 0;
    path[own] = L'\t';
    GetModuleFileNameW(nullptr, path + own + 1, MAX_PATH);
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, path, -1, line, sizeof line - 1, nullptr, nullptr);
    if (length > 0 && GetEnvironmentVariableW(L"VT_UNREGISTER_RECORD", record, MAX_PATH)) {
        line[length - 1] = '\n';
        // The tools run side by side, and Wine's appends of two processes may land at one
        // place: one writes at a time.
        const vt::UniqueHandle turn(CreateMutexW(nullptr, FALSE, L"VtUnregisterRecord"));
        WaitForSingleObject(turn.get(), INFINITE);
        {
            const vt::UniqueFile file(CreateFileW(record, FILE_APPEND_DATA,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            DWORD written = 0;
            WriteFile(file.get(), line, static_cast<DWORD>(length), &written, nullptr);
        }
        ReleaseMutex(turn.get());
    }
    if (hangs) {
        Sleep(INFINITE);
    }
    return S_OK;
}
