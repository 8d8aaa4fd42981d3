#include "tests/support/message_box.h"

#include "tests/support/capture.h"
#include "tests/support/text.h"
#include "uninstall/form1_layout.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace vt::test {

namespace {

// How often a waiting driver looks again. The results never depend on it: every wait goes on
// until what it waits for has happened or the patience is used up.
constexpr DWORD kLookAgainMs = 20;

BOOL CALLBACK Collect(HWND child, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
    return TRUE;
}

// The top-level windows of a thread.
std::vector<HWND> WindowsOf(DWORD threadId) {
    std::vector<HWND> windows;
    EnumThreadWindows(threadId, Collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&children));
    return children;
}

LONG_PTR StyleOf(HWND window) noexcept {
    return GetWindowLongPtrW(window, GWL_STYLE);
}

int ReadInt(HWND window, UINT message, WPARAM wParam = 0) {
    return static_cast<int>(static_cast<LONG>(SendWithin(window, message, wParam)));
}

// Share of the pixels that differ by more than a little in some channel.
double Difference(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height || a.pixels.empty()) {
        return 1.0;
    }
    std::size_t differing = 0;
    for (std::size_t at = 0; at < a.pixels.size(); ++at) {
        for (int shift : {0, 8, 16}) {
            if (std::abs(static_cast<int>(a.pixels[at] >> shift & 0xFF) -
                         static_cast<int>(b.pixels[at] >> shift & 0xFF)) > 8) {
                ++differing;
                break;
            }
        }
    }
    return static_cast<double>(differing) / static_cast<double>(a.pixels.size());
}

// Which of the system's four message box icons the box shows. Another process's icon handle
// cannot be looked into under Wine, so the icon control's pixels on the screen are compared
// with each system icon drawn the same way; a control that has not painted yet (on a busy
// machine that can take seconds) is read again until the patience is used up.
BoxIcon IdentifyIcon(HWND box, HANDLE ended, DWORD patienceMs) {
    HWND control = nullptr;
    for (HWND child : Children(box)) {
        if (ClassOf(child) == L"Static" && (StyleOf(child) & SS_TYPEMASK) == SS_ICON &&
            IsWindowVisible(child)) {
            control = child;
        }
    }
    // Wine keeps the icon control of a box without an icon, visible and empty.
    if (!control || SendWithin(control, STM_GETICON) == 0) {
        return BoxIcon::None;
    }
    static const std::pair<BoxIcon, LPCWSTR> kSystemIcons[] = {
        {BoxIcon::Hand, IDI_HAND},
        {BoxIcon::Question, IDI_QUESTION},
        {BoxIcon::Exclamation, IDI_EXCLAMATION},
        {BoxIcon::Asterisk, IDI_ASTERISK}};
    for (const ULONGLONG deadline = GetTickCount64() + patienceMs; GetTickCount64() < deadline;) {
        RECT area{};
        if (!IsWindow(control) || !GetWindowRect(control, &area)) {
            break;
        }
        const Picture seen = CaptureScreen(area);
        for (const auto& [icon, resource] : kSystemIcons) {
            // The system icons leave their corners clear, so a corner shows the background.
            if (!seen.pixels.empty() &&
                Difference(seen, RenderIcon(LoadIconW(nullptr, resource), seen.width, seen.height,
                                            seen.Pixel(0, 0))) <= 0.02) {
                return icon;
            }
        }
        if (WaitPumping(ended, kLookAgainMs)) {
            break;
        }
    }
    return BoxIcon::Unknown;
}

MainWindowState ReadMainWindow(HWND window) {
    MainWindowState state;
    if (!window || !IsWindow(window)) {
        return state;
    }
    const auto text = [window](int id) { return WindowText(GetDlgItem(window, id)); };
    state = {true,
             IsWindowVisible(window) != FALSE,
             WindowText(window),
             text(kIdLabel1),
             (StyleOf(GetDlgItem(window, kIdLabel1)) & WS_VISIBLE) != 0,
             text(kIdLabel2),
             text(kIdLabel3),
             text(kIdLabel4),
             text(kIdCommand1)};
    if (HWND bar = GetDlgItem(window, kIdProgressBar)) {
        state.progress = ReadInt(bar, PBM_GETPOS);
        state.progressMin = ReadInt(bar, PBM_GETRANGE, TRUE);
        state.progressMax = ReadInt(bar, PBM_GETRANGE, FALSE);
    }
    return state;
}

} // namespace

bool SeenBox::HasButton(int id) const {
    return std::find(buttons.begin(), buttons.end(), id) != buttons.end();
}

int SeenBox::SafestAnswer() const {
    for (int id : {IDCANCEL, IDNO, IDOK}) {
        if (HasButton(id)) {
            return id;
        }
    }
    return buttons.empty() ? IDCANCEL : buttons.front();
}

std::string SeenBox::Describe() const {
    std::wstring described = L"\"" + caption + L"\": \"" + text + L"\" [";
    for (const std::wstring& button : buttonTexts) {
        described += button + (&button == &buttonTexts.back() ? L"" : L", ");
    }
    return ToUtf8(described + L"]");
}

std::optional<SeenBox> BoxDriver::WaitForNextBox() {
    const ULONGLONG deadline = GetTickCount64() + patienceMs_;
    HWND window = nullptr;
    while (!window) {
        for (HWND candidate : process_ ? TopLevelWindowsOf(process_->Id()) : WindowsOf(threadId_)) {
            if (IsWindowVisible(candidate) && ClassOf(candidate) == L"#32770") {
                window = candidate;
                break;
            }
        }
        if (window) {
            break;
        }
        if (Ended()) {
            return std::nullopt;
        }
        if (GetTickCount64() >= deadline) {
            throw std::runtime_error("the program neither showed a box nor ended in time");
        }
        WaitPumping(ended_, kLookAgainMs);
    }

    SeenBox box;
    box.window = window;
    // The run is held up by the box, so its window reads as it was when the box appeared.
    const HWND main = process_ ? process_->MainWindow() : nullptr;
    box.main = ReadMainWindow(main);
    box.caption = WindowText(window);
    box.text = WindowText(GetDlgItem(window, 0xFFFF));
    std::vector<std::pair<LONG, HWND>> placed;
    for (HWND child : Children(window)) {
        if (ClassOf(child) == L"Button" && IsWindowVisible(child)) {
            RECT at{};
            GetWindowRect(child, &at);
            placed.emplace_back(at.left, child);
        }
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [left, button] : placed) {
        box.buttons.push_back(GetDlgCtrlID(button));
        box.buttonTexts.push_back(WindowText(button));
        if ((StyleOf(button) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            box.defaultId = box.buttons.back();
        }
    }
    const HWND owner = GetWindow(window, GW_OWNER);
    box.owner = !owner ? BoxOwner::None : owner == main ? BoxOwner::MainWindow : BoxOwner::Other;
    box.icon = IdentifyIcon(window, ended_, patienceMs_);
    return box;
}

void BoxDriver::Answer(const SeenBox& box, int buttonId) {
    const HWND button = GetDlgItem(box.window, buttonId);
    if (!box.HasButton(buttonId) || !button) {
        throw std::runtime_error("the box has no button " + std::to_string(buttonId));
    }
    SendWithin(button, BM_CLICK);
    const ULONGLONG deadline = GetTickCount64() + patienceMs_;
    while (IsWindow(box.window) && IsWindowVisible(box.window) && !Ended()) {
        if (GetTickCount64() >= deadline) {
            throw std::runtime_error("the box stayed after its button was clicked");
        }
        WaitPumping(ended_, kLookAgainMs);
    }
}

} // namespace vt::test
