#include "system/myMod.h"

#include "system/handles.h"
#include "system/system_library.h"

#include <commctrl.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <climits>

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

// Not all of them exist on every system, and a 32-bit program is told of the 32-bit program
// files folders under both names.
const KNOWNFOLDERID* const kKnownFolders[] = {
    &FOLDERID_Desktop,
    &FOLDERID_PublicDesktop,
    &FOLDERID_Documents,
    &FOLDERID_PublicDocuments,
    &FOLDERID_Downloads,
    &FOLDERID_Profile,
    &FOLDERID_RoamingAppData,
    &FOLDERID_LocalAppData,
    &FOLDERID_ProgramFiles,
    &FOLDERID_ProgramFilesX86,
    &FOLDERID_ProgramFilesX64,
    &FOLDERID_ProgramFilesCommon,
    &FOLDERID_ProgramFilesCommonX86,
    &FOLDERID_ProgramFilesCommonX64,
    &FOLDERID_ProgramData,
    &FOLDERID_Windows,
    &FOLDERID_System,
    &FOLDERID_SystemX86,
    &FOLDERID_StartMenu,
    &FOLDERID_CommonStartMenu,
    &FOLDERID_Programs,
    &FOLDERID_CommonPrograms,
    &FOLDERID_Startup,
    &FOLDERID_CommonStartup,
};
// What the shell does not tell a 32-bit program on a 64-bit system: the 64-bit program files
// folders. The environment can only add to the list, never take a folder off it.
constexpr const wchar_t* kKnownFolderVariables[] = {L"ProgramW6432", L"CommonProgramW6432"};

using UniqueShellString = Unique<NullIsNoneTraits<PWSTR, CoTaskMemFree>>;

// A path the system gives through a buffer: asked with none, then with one of the size it said.
template <class Fill> std::wstring Filled(Fill fill) {
    std::wstring text(fill(nullptr, 0), L'\0');
    const DWORD length = text.empty() ? 0 : fill(text.data(), static_cast<DWORD>(text.size()));
    text.resize(length < text.size() ? length : 0);
    return text;
}

} // namespace

std::vector<std::wstring> KnownFolderPaths(bool shortForms) {
    std::vector<std::wstring> paths;
    for (const KNOWNFOLDERID* folder : kKnownFolders) {
        UniqueShellString path;
        if (SUCCEEDED(SHGetKnownFolderPath(*folder, KF_FLAG_DONT_VERIFY, nullptr, path.put())) &&
            path) {
            paths.emplace_back(path.get());
        }
    }
    for (const wchar_t* variable : kKnownFolderVariables) {
        const std::wstring path = Filled([variable](wchar_t* buffer, DWORD size) {
            return GetEnvironmentVariableW(variable, buffer, size);
        });
        if (!path.empty()) {
            paths.push_back(path);
        }
    }
    const std::size_t given = shortForms ? paths.size() : 0;
    for (std::size_t i = 0; i < given; ++i) {
        std::wstring shortForm = ShortPathName(paths[i]);
        if (!shortForm.empty() && shortForm != paths[i]) {
            paths.push_back(std::move(shortForm));
        }
    }
    return paths;
}

std::wstring LongPathName(const std::wstring& path) {
    const std::wstring longForm = Filled([&path](wchar_t* buffer, DWORD size) {
        return GetLongPathNameW(path.c_str(), buffer, size);
    });
    return longForm.empty() ? path : longForm;
}

std::wstring ShortPathName(const std::wstring& path) {
    return Filled([&path](wchar_t* buffer, DWORD size) {
        return GetShortPathNameW(path.c_str(), buffer, size);
    });
}

std::wstring UpperCaseAsNames(const std::wstring& path) {
    if (path.empty() || path.size() > INT_MAX) {
        return path;
    }
    std::wstring upper(path.size(), L'\0');
    const int length = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, path.c_str(),
                                     static_cast<int>(path.size()), upper.data(),
                                     static_cast<int>(upper.size()), nullptr, nullptr, 0);
    return length == static_cast<int>(path.size()) ? upper : path;
}

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
