// Runs the uninstaller as a user would, box by box, and checks each box against what the
// scenario expects. A box nobody expected is still answered, so a failing run never hangs.
#pragma once

#include "tests/support/message_box.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace vt::test {

struct ExpectedBox {
    std::string name; // says which box a failure is about
    std::wstring caption;
    std::wstring text;
    std::vector<int> buttons; // left to right
    int defaultButton = 0;
    BoxIcon icon = BoxIcon::None;
    BoxOwner owner = BoxOwner::None;
    // The main window when the box appears; progress and status line are checked when given.
    bool mainVisible = false;
    std::optional<int> progress;
    std::optional<std::wstring> label1;
    int answer = 0;
    // Saves a picture of the main window while the box is up.
    bool capture = false;
    // The main window's caption, when the box has a caption of its own.
    std::wstring mainCaption = {};
};

struct RunResult {
    std::optional<DWORD> exitCode; // nothing when the program had to be terminated
    bool mainWindowShown = false;
    std::vector<SeenBox> boxes;
};

// Runs `exe` with `arguments`, answering the boxes in `expected` in order. Every difference
// from the expected boxes is a test failure; pictures are saved as <pictureStem>-<box>.png.
RunResult RunExpectingBoxes(const std::wstring& exe, const std::wstring& arguments,
                            const std::vector<ExpectedBox>& expected,
                            const std::wstring& pictureStem);

} // namespace vt::test
