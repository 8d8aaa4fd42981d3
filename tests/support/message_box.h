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
enum class BoxOwner { None, MainWindow, Other };

// The main window as a box finds it. Its run waits for the box, so this does not change
// while the box is up.
struct MainWindowState {
    bool exists = false;
    bool visible = false;
    std::wstring caption;
    std::wstring label1;
    bool label1Visible = false; // the status line's own WS_VISIBLE
    std::wstring label2, label3, label4, command1;
    int progress = 0, progressMin = 0, progressMax = 0;
};

struct SeenBox {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
    std::vector<int> buttons; // left to right
    std::vector<std::wstring> buttonTexts;
    // The button that Enter presses; 0 for none. Wine's message box never sets the dialog's
    // default identifier (DM_GETDEFID answers IDOK even without an OK button), so the button
    // drawn as default (BS_DEFPUSHBUTTON) decides.
    int defaultId = 0;
    BoxIcon icon = BoxIcon::None;
    BoxOwner owner = BoxOwner::None;
    MainWindowState main;

    bool HasButton(int id) const;
    // What a user would press to be rid of a box nobody expected: whatever cancels or refuses,
    // failing that the first button.
    int SafestAnswer() const;
    std::string Describe() const;
};

class BoxDriver {
  public:
    // `patienceMs` only protects against a hang: a program that neither shows a box nor ends
    // in that time counts as hung.
    explicit BoxDriver(const WatchedProcess& process, DWORD patienceMs = 60000) noexcept
        : process_(&process), ended_(process.Handle()), patienceMs_(patienceMs) {}
    // The boxes of another thread of this process, until `thread` (a handle to it) ends.
    BoxDriver(DWORD threadId, HANDLE thread, DWORD patienceMs = 60000) noexcept
        : threadId_(threadId), ended_(thread), patienceMs_(patienceMs) {}

    // The next box the program shows, or nothing when it ended without one.
    // Throws std::runtime_error when the program hangs.
    std::optional<SeenBox> WaitForNextBox();

    // Clicks the button and waits until the box has gone. Throws std::runtime_error when the
    // box lacks the button or does not go.
    void Answer(const SeenBox& box, int buttonId);

  private:
    bool Ended() const noexcept { return WaitForSingleObject(ended_, 0) == WAIT_OBJECT_0; }

    const WatchedProcess* process_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE ended_;
    DWORD patienceMs_;
};

} // namespace vt::test
