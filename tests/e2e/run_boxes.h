// The boxes of the run as a user meets them, and how a run ends.
#pragma once

#include "tests/e2e/scenario.h"

#include <optional>
#include <string>
#include <utility>

namespace vt::test {

inline constexpr wchar_t kRunCaption[] = L"Veltrane Uninstaller";
inline constexpr DWORD kRunFinished = 0;
inline constexpr DWORD kRunDeclined = 1602;
inline constexpr DWORD kRunRestartOwed = 3010;
inline constexpr wchar_t kFeedbackPage[] = L"https://www.veltrane.example/uninstall/";
inline constexpr wchar_t kNoStatus[] = L"...";
inline constexpr wchar_t kRemovingSettings[] = L"Removing Settings...";
inline constexpr wchar_t kRemovingRegistry[] = L"Removing Registry Entries...";
inline constexpr wchar_t kUninstalling[] = L"Uninstalling Veltrane ...";

inline ExpectedBox Confirmation(int answer) {
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

// Asked while the window shows, once the user data folder was found.
inline ExpectedBox KeepSettings(int answer) {
    ExpectedBox box{"keep-settings",
                    kRunCaption,
                    L"Would you like to Keep your User Settings?",
                    {IDYES, IDNO},
                    IDYES,
                    BoxIcon::Question,
                    BoxOwner::MainWindow,
                    /*mainVisible=*/true,
                    13,
                    kNoStatus,
                    answer};
    box.capture = true;
    return box;
}

// The last box while the window shows: its picture is the run's last visible step.
inline ExpectedBox KeepPlugIns(int progress, const wchar_t* status, int answer) {
    ExpectedBox box{"keep-plugins",
                    kRunCaption,
                    L"Would you like to keep your PlugIns?",
                    {IDYES, IDNO},
                    IDNO,
                    BoxIcon::Question,
                    BoxOwner::MainWindow,
                    /*mainVisible=*/true,
                    progress,
                    status,
                    answer};
    box.capture = true;
    return box;
}

// The window is hidden again before the last box, so the box has no owner. Progress and
// status line are checked when given.
inline ExpectedBox Removed(std::optional<int> progress = std::nullopt,
                           std::optional<std::wstring> status = std::nullopt) {
    return {"removed",
            kRunCaption,
            L"Veltrane was successfully removed from your computer.",
            {IDOK},
            IDOK,
            BoxIcon::Asterisk,
            BoxOwner::None,
            /*mainVisible=*/false,
            progress,
            std::move(status),
            IDOK};
}

// The install-log scan could not read the log: its error, in a silent run too. The window is
// hidden in a silent run, so the box has no owner.
inline ExpectedBox CleanUpFailed(long number, const wchar_t* description, int progress) {
    ExpectedBox box{"cleanup",
                    L"CleanUp - " + std::to_wstring(number),
                    description,
                    {IDOK},
                    IDOK,
                    BoxIcon::Hand,
                    BoxOwner::None,
                    /*mainVisible=*/false,
                    progress,
                    std::nullopt,
                    IDOK};
    box.mainCaption = kRunCaption;
    return box;
}

} // namespace vt::test
