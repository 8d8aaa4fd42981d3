#include "system/mIcon.h"

#include <cstdlib>
#include <cstring>

namespace vt {

namespace {

// The resource name LoadImageA should look for: a number for a name of digits only.
LPCSTR ResourceName(const char* iconName) {
    if (*iconName == '\0' || std::strspn(iconName, "0123456789") != std::strlen(iconName)) {
        return iconName;
    }
    return MAKEINTRESOURCEA(std::strtoul(iconName, nullptr, 10));
}

void SendIcon(HWND window, HWND topOwner, bool setOwner, WPARAM which, HANDLE icon) {
    // A window without owner is its own top owner: it gets each icon once.
    if (setOwner && topOwner != window) {
        SendMessageA(topOwner, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    }
    SendMessageA(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
}

} // namespace

void SetIcon(HWND window, const char* iconName, bool setOwner) noexcept {
    HWND topOwner = window;
    if (setOwner) {
        for (HWND owner = GetWindow(window, GW_OWNER); owner; owner = GetWindow(owner, GW_OWNER)) {
            topOwner = owner;
        }
    }
    const HINSTANCE module = GetModuleHandleW(nullptr);
    const LPCSTR name = ResourceName(iconName);
    // Shared icons stay with the system; the program does not destroy them.
    HANDLE large = LoadImageA(module, name, IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                              GetSystemMetrics(SM_CYICON), LR_SHARED);
    SendIcon(window, topOwner, setOwner, ICON_BIG, large);
    HANDLE small = LoadImageA(module, name, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                              GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    SendIcon(window, topOwner, setOwner, ICON_SMALL, small);
}

} // namespace vt
