// Drives the message boxes of a program under test: waits for each, reads everything a user
// would see on it together with the state of the program's main window at that moment, and
// answers it as a user would, by clicking a button.
#pragma once

#include "tests/support/process.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace vt::test {

enum class BoxIcon { None, Hand, Question, Exclamation, Asterisk, Unknown };
const char* IconName(BoxIcon icon) noexcept;

enum class BoxOwner { None, MainWindow, Other };
const char* OwnerName(BoxOwner owner) noexcept;

// The name a user reads on a standard button ("Yes" for IDYES); "button N" for others.
std::string ButtonName(int id);

// The main window as a box finds it. Its run waits for the box, so this does not change
// while the box is up.
struct MainWindowState {
    bool exists = false;
    bool visible = false;
    std::wstring caption;
    std::wstring label1;
    // The status line's own visibility (WS_VISIBLE), whether or not the window shows.
    bool label1Visible = false;
    // The fixed texts: the labels above the bar and the button's caption.
    std::wstring label2;
    std::wstring label3;
    std::wstring label4;
    std::wstring command1;
    int progress = 0;
    int progressMin = 0;
    int progressMax = 0;
};
MainWindowState ReadMainWindow(HWND window);

struct BoxButton {
    int id = 0;
    std::wstring text;
};

struct SeenBox {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
    std::vector<BoxButton> buttons; // left to right
    // The button that Enter presses; 0 for none. Wine's message box never sets the dialog's
    // default identifier (DM_GETDEFID answers IDOK even without an OK button), so the button
    // drawn as default (BS_DEFPUSHBUTTON) decides, and the identifier counts only when no
    // button is drawn so and it names a button of the box.
    int defaultId = 0;
    BoxIcon icon = BoxIcon::None;
    BoxOwner owner = BoxOwner::None;
    MainWindowState main;

    std::vector<int> ButtonIds() const;
    bool HasButton(int id) const;
};

// Which of the system's four message box icons the box shows. Another process's icon handle
// cannot be looked into under Wine, so the icon control's pixels on the screen are compared
// with each system icon drawn the same way; a control that has not painted yet is read again
// for a little while.
BoxIcon IdentifyBoxIcon(HWND box, const WatchedProcess& process);

class BoxDriver {
  public:
    // `patienceMs` only protects against a hang: a program that neither shows a box nor ends
    // in that time counts as hung.
    explicit BoxDriver(const WatchedProcess& process, DWORD patienceMs = 60000) noexcept
        : process_(process), patienceMs_(patienceMs) {}

    // The next box the program shows, or nothing when it ended without one.
    // Throws std::runtime_error when the program hangs.
    std::optional<SeenBox> WaitForNextBox();

    // Clicks the button and waits until the box has gone. Throws std::runtime_error when the
    // box lacks the button or does not go.
    void Answer(const SeenBox& box, int buttonId);

    // What a user would press to get rid of a box that nobody expected: whatever cancels or
    // refuses, failing that the first button.
    static int SafestAnswer(const SeenBox& box);

  private:
    HWND FindBox() const;

    const WatchedProcess& process_;
    DWORD patienceMs_;
};

} // namespace vt::test
