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
// A box's icon paints within moments of the box appearing.
constexpr int kIconAttempts = 100;
// Pixels that may differ between a screen capture and a drawn icon before they count as
// different pictures.
constexpr double kIconTolerance = 0.02;
constexpr int kChannelTolerance = 8;
constexpr int kMessageTextId = 0xFFFF;

BOOL CALLBACK CollectChild(HWND child, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(child);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

LONG_PTR StyleOf(HWND window) noexcept {
    return GetWindowLongPtrW(window, GWL_STYLE);
}

HWND IconControl(HWND box) {
    for (HWND child : Children(box)) {
        if (ClassOf(child) == L"Static" && (StyleOf(child) & SS_TYPEMASK) == SS_ICON &&
            IsWindowVisible(child)) {
            return child;
        }
    }
    return nullptr;
}

double Difference(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height || a.rgb.empty()) {
        return 1.0;
    }
    std::size_t differing = 0;
    for (std::size_t at = 0; at < a.rgb.size(); at += 3) {
        for (std::size_t channel = 0; channel < 3; ++channel) {
            if (std::abs(a.rgb[at + channel] - b.rgb[at + channel]) > kChannelTolerance) {
                ++differing;
                break;
            }
        }
    }
    return static_cast<double>(differing) / static_cast<double>(a.rgb.size() / 3);
}

int ReadInt(HWND window, UINT message, WPARAM wParam = 0) {
    return static_cast<int>(static_cast<LONG>(SendWithin(window, message, wParam)));
}

} // namespace

const char* IconName(BoxIcon icon) noexcept {
    switch (icon) {
    case BoxIcon::None:
        return "none";
    case BoxIcon::Hand:
        return "hand";
    case BoxIcon::Question:
        return "question";
    case BoxIcon::Exclamation:
        return "exclamation";
    case BoxIcon::Asterisk:
        return "asterisk";
    case BoxIcon::Unknown:
        break;
    }
    return "unknown";
}

const char* OwnerName(BoxOwner owner) noexcept {
    switch (owner) {
    case BoxOwner::None:
        return "none";
    case BoxOwner::MainWindow:
        return "main window";
    case BoxOwner::Other:
        break;
    }
    return "another window";
}

std::string ButtonName(int id) {
    static constexpr struct {
        int id;
        const char* name;
    } kNames[] = {{IDOK, "OK"},
                  {IDCANCEL, "Cancel"},
                  {IDABORT, "Abort"},
                  {IDRETRY, "Retry"},
                  {IDIGNORE, "Ignore"},
                  {IDYES, "Yes"},
                  {IDNO, "No"},
                  {IDCLOSE, "Close"},
                  {IDHELP, "Help"},
                  {IDTRYAGAIN, "Try Again"},
                  {IDCONTINUE, "Continue"}};
    for (const auto& known : kNames) {
        if (known.id == id) {
            return known.name;
        }
    }
    return "button " + std::to_string(id);
}

MainWindowState ReadMainWindow(HWND window) {
    MainWindowState state;
    if (!window || !IsWindow(window)) {
        return state;
    }
    state.exists = true;
    state.visible = IsWindowVisible(window) != FALSE;
    state.caption = WindowText(window);
    if (HWND label1 = GetDlgItem(window, kIdLabel1)) {
        state.label1 = WindowText(label1);
        state.label1Visible = (StyleOf(label1) & WS_VISIBLE) != 0;
    }
    state.label2 = WindowText(GetDlgItem(window, kIdLabel2));
    state.label3 = WindowText(GetDlgItem(window, kIdLabel3));
    state.label4 = WindowText(GetDlgItem(window, kIdLabel4));
    state.command1 = WindowText(GetDlgItem(window, kIdCommand1));
    if (HWND bar = GetDlgItem(window, kIdProgressBar)) {
        state.progress = ReadInt(bar, PBM_GETPOS);
        state.progressMin = ReadInt(bar, PBM_GETRANGE, TRUE);
        state.progressMax = ReadInt(bar, PBM_GETRANGE, FALSE);
    }
    return state;
}

std::vector<int> SeenBox::ButtonIds() const {
    std::vector<int> ids;
    for (const BoxButton& button : buttons) {
        ids.push_back(button.id);
    }
    return ids;
}

bool SeenBox::HasButton(int id) const {
    return std::any_of(buttons.begin(), buttons.end(),
                       [id](const BoxButton& button) { return button.id == id; });
}

BoxIcon IdentifyBoxIcon(HWND box, const WatchedProcess& process) {
    // Wine keeps the icon control of a box without an icon, visible and empty; whether it
    // holds an icon at all is plain from the handle, which is all that may be read of it.
    const HWND control = IconControl(box);
    if (!control || SendWithin(control, STM_GETICON) == 0) {
        return BoxIcon::None;
    }
    static const struct {
        BoxIcon icon;
        LPCWSTR resource;
    } kSystemIcons[] = {{BoxIcon::Hand, IDI_HAND},
                        {BoxIcon::Question, IDI_QUESTION},
                        {BoxIcon::Exclamation, IDI_EXCLAMATION},
                        {BoxIcon::Asterisk, IDI_ASTERISK}};
    for (int attempt = 0; attempt < kIconAttempts; ++attempt) {
        RECT area{};
        if (!IsWindow(control) || !GetWindowRect(control, &area)) {
            break;
        }
        const Picture seen = CaptureScreen(area);
        if (!seen.rgb.empty()) {
            // The system icons leave their corners clear, so a corner shows the background.
            const COLORREF background = seen.Pixel(0, 0);
            for (const auto& candidate : kSystemIcons) {
                const Picture drawn = RenderIcon(LoadIconW(nullptr, candidate.resource), seen.width,
                                                 seen.height, background);
                if (Difference(seen, drawn) <= kIconTolerance) {
                    return candidate.icon;
                }
            }
        }
        if (WaitPumping(process.Handle(), kLookAgainMs)) {
            break;
        }
    }
    return BoxIcon::Unknown;
}

HWND BoxDriver::FindBox() const {
    for (HWND window : TopLevelWindowsOf(process_.Id())) {
        if (IsWindowVisible(window) && ClassOf(window) == L"#32770") {
            return window;
        }
    }
    return nullptr;
}

std::optional<SeenBox> BoxDriver::WaitForNextBox() {
    const ULONGLONG deadline = GetTickCount64() + patienceMs_;
    HWND window = nullptr;
    while (!(window = FindBox())) {
        if (process_.HasExited()) {
            return std::nullopt;
        }
        if (GetTickCount64() >= deadline) {
            throw std::runtime_error("the program neither showed a box nor ended within " +
                                     std::to_string(patienceMs_ / 1000) + " s");
        }
        WaitPumping(process_.Handle(), kLookAgainMs);
    }

    SeenBox box;
    box.window = window;
    // The run is held up by the box, so its window reads as it was when the box appeared.
    const HWND main = process_.MainWindow();
    box.main = ReadMainWindow(main);
    box.caption = WindowText(window);
    box.text = WindowText(GetDlgItem(window, kMessageTextId));

    std::vector<std::pair<LONG, BoxButton>> placed;
    for (HWND child : Children(window)) {
        if (ClassOf(child) != L"Button" || !IsWindowVisible(child)) {
            continue;
        }
        const int id = GetDlgCtrlID(child);
        if ((StyleOf(child) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            box.defaultId = id;
        }
        RECT at{};
        GetWindowRect(child, &at);
        placed.push_back({at.left, BoxButton{id, WindowText(child)}});
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [left, button] : placed) {
        box.buttons.push_back(std::move(button));
    }

    const auto defId = static_cast<DWORD>(SendWithin(window, DM_GETDEFID));
    if (box.defaultId == 0 && HIWORD(defId) == DC_HASDEFID && box.HasButton(LOWORD(defId))) {
        box.defaultId = LOWORD(defId);
    }
    const HWND owner = GetWindow(window, GW_OWNER);
    box.owner = !owner ? BoxOwner::None : owner == main ? BoxOwner::MainWindow : BoxOwner::Other;
    box.icon = IdentifyBoxIcon(window, process_);
    return box;
}

void BoxDriver::Answer(const SeenBox& box, int buttonId) {
    const HWND button = GetDlgItem(box.window, buttonId);
    if (!box.HasButton(buttonId) || !button) {
        throw std::runtime_error("the box has no button " + ButtonName(buttonId));
    }
    SendWithin(button, BM_CLICK);
    const ULONGLONG deadline = GetTickCount64() + patienceMs_;
    while (IsWindow(box.window) && IsWindowVisible(box.window) && !process_.HasExited()) {
        if (GetTickCount64() >= deadline) {
            throw std::runtime_error("the box stayed after " + ButtonName(buttonId) +
                                     " was clicked");
        }
        WaitPumping(process_.Handle(), kLookAgainMs);
    }
}

int BoxDriver::SafestAnswer(const SeenBox& box) {
    for (int id : {IDCANCEL, IDNO, IDOK}) {
        if (box.HasButton(id)) {
            return id;
        }
    }
    return box.buttons.empty() ? IDCANCEL : box.buttons.front().id;
}

} // namespace vt::test
