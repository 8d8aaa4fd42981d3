#include "system/myMod.h"

#include "system/handles.h"
#include "system/system_library.h"

#include <commctrl.h>
#include <shlobj.h>

namespace vt {

namespace {

std::wstring FromAnsi(const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return wide;
}

} // namespace

std::wstring GetSpecialFolder(int csidl, HWND owner) {
    UniqueItemIdList items;
    if (FAILED(SHGetSpecialFolderLocation(owner, csidl, items.put())) || !items) {
        return {};
    }
    char path[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(items.get(), path)) {
        return {};
    }
    return FromAnsi(path);
}

bool InitCommonControlsLib() noexcept {
    // The common controls are not a known library of the system and, imported at load time,
    // would be loaded (with the theme library they need) before the search is limited to the
    // system folder. Loaded here instead, they stay for the life of the process: the window
    // classes they register must outlive every window.
    static const UniqueModule commonControls(LoadSystemLibrary(L"comctl32.dll"));
    using InitCommonControlsExProc = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto initCommonControlsEx =
        ProcedureOf<InitCommonControlsExProc>(commonControls.get(), "InitCommonControlsEx");
    if (!initCommonControlsEx) {
        return false;
    }
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_USEREX_CLASSES;
    return initCommonControlsEx(&controls) != FALSE;
}

int UnicodeMsgBox(const std::wstring& prompt, UINT flags, const std::wstring& title,
                  const std::wstring& icon, HWND& owner) {
    if (!owner) {
        owner = GetActiveWindow();
    }
    MSGBOXPARAMSW params{};
    params.cbSize = sizeof params;
    params.hwndOwner = owner;
    params.hInstance = GetModuleHandleW(nullptr);
    params.lpszText = prompt.c_str();
    params.lpszCaption = title.empty() ? L"Setup/Uninstall" : title.c_str();
    params.dwStyle = flags;
    if (!icon.empty()) {
        params.dwStyle = (flags & ~static_cast<UINT>(MB_ICONMASK)) | MB_USERICON;
        params.lpszIcon = icon.c_str();
    }
    return MessageBoxIndirectW(&params);
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void DoEvents() noexcept {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Leave the quit request for the program's end.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::wstring AppExePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring AppPath() {
    std::wstring folder = AppExePath();
    const std::size_t last = folder.rfind(L'\\');
    if (last == std::wstring::npos) {
        return folder;
    }
    // A drive root keeps its backslash ("C:\"), every other folder loses it.
    folder.resize(last == 2 && folder[1] == L':' ? last + 1 : last);
    return folder;
}

} // namespace vt
