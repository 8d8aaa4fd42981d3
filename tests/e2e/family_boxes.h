// The boxes of the run around the running-program check and the self-removal, as a user meets
// them.
#pragma once

#include "tests/e2e/scenario.h"

#include <string>

namespace vt::test {

inline constexpr wchar_t kRunCaption[] = L"Veltrane Uninstaller";
inline constexpr DWORD kRunFinished = 0;
inline constexpr DWORD kRunDeclined = 1602;
inline constexpr wchar_t kFeedbackPage[] = L"https://www.veltrane.example/uninstall/";

inline ExpectedBox ConfirmRemoval(int answer) {
    return {"confirmation",
            kRunCaption,
            L"Are you sure you want to completely remove Veltrane and all of its components?",
            {IDYES, IDNO},
            IDNO,
            BoxIcon::Question,
            BoxOwner::None,
            /*mainVisible=*/false,
            std::nullopt,
            std::nullopt,
            answer};
}

// Asked before the window shows: the box has no owner, and Yes is the default.
inline ExpectedBox ProgramRunning(const std::wstring& program, int answer) {
    return {"running-" + std::string(program.begin(), program.end()),
            kRunCaption,
            L"Uninstall cannot begin.  " + program +
                L" is currently running. \r\n\r\nIn order to continue, " + program +
                L" must be closed. \r\n\r\nTerminate Now?",
            {IDYES, IDNO},
            IDYES,
            BoxIcon::Hand,
            BoxOwner::None,
            /*mainVisible=*/false,
            std::nullopt,
            std::nullopt,
            answer};
}

inline ExpectedBox RemovalDone() {
    return {"removed",
            kRunCaption,
            L"Veltrane was successfully removed from your computer.",
            {IDOK},
            IDOK,
            BoxIcon::Asterisk,
            BoxOwner::None,
            /*mainVisible=*/false,
            std::nullopt,
            std::nullopt,
            IDOK};
}

// The name of the test under way, usable as a file name.
std::wstring CurrentTestFileName();

} // namespace vt::test
