#include "tests/e2e/scenario.h"

#include "tests/support/capture.h"
#include "tests/support/staging.h"
#include "tests/support/text.h"

#include <gtest/gtest.h>

namespace vt::test {

namespace {

// Hang protection only.
constexpr DWORD kExitWithinMs = 60000;

std::string Describe(const SeenBox& box) {
    std::string buttons;
    for (const BoxButton& button : box.buttons) {
        if (!buttons.empty()) {
            buttons += ", ";
        }
        buttons += ButtonName(button.id);
    }
    std::string description = "\"";
    description += ToUtf8(box.caption);
    description += "\": \"";
    description += ToUtf8(box.text);
    description += "\" [";
    description += buttons;
    description += "]";
    return description;
}

void CheckBox(const SeenBox& seen, const ExpectedBox& expected) {
    EXPECT_EQ(seen.caption, expected.caption);
    EXPECT_EQ(seen.text, expected.text);
    EXPECT_EQ(seen.ButtonIds(), expected.buttons);
    EXPECT_EQ(seen.defaultId, expected.defaultButton) << "default button";
    EXPECT_STREQ(IconName(seen.icon), IconName(expected.icon));
    EXPECT_STREQ(OwnerName(seen.owner), OwnerName(expected.owner));

    const MainWindowState& main = seen.main;
    ASSERT_TRUE(main.exists) << "the main window is gone while a box is up";
    EXPECT_EQ(main.visible, expected.mainVisible) << "main window visible";
    EXPECT_EQ(main.caption, expected.mainCaption.empty() ? expected.caption : expected.mainCaption)
        << "main window caption";
    if (expected.progress) {
        EXPECT_EQ(main.progress, *expected.progress) << "progress";
        EXPECT_EQ(main.progressMin, 0) << "progress range";
        EXPECT_EQ(main.progressMax, 180) << "progress range";
    }
    if (expected.label1) {
        EXPECT_EQ(main.label1, *expected.label1) << "status line";
        EXPECT_TRUE(main.label1Visible) << "status line visible";
    }
}

void SavePicture(const WatchedProcess& process, const std::wstring& path) {
    const Picture picture = CaptureWindow(process.MainWindow(), process);
    EXPECT_FALSE(picture.rgb.empty()) << "no picture of the main window";
    EXPECT_FALSE(picture.IsUniform()) << "the main window's picture shows nothing";
    EXPECT_TRUE(SavePng(path, picture)) << "cannot write " << ToUtf8(path);
}

} // namespace

RunResult RunExpectingBoxes(const std::wstring& exe, const std::wstring& arguments,
                            const std::vector<ExpectedBox>& expected,
                            const std::wstring& pictureStem) {
    RunResult result;
    WatchedProcess process(exe, arguments);
    BoxDriver driver(process);

    for (const ExpectedBox& wanted : expected) {
        SCOPED_TRACE("box: " + wanted.name);
        std::optional<SeenBox> seen = driver.WaitForNextBox();
        if (!seen) {
            ADD_FAILURE() << "the program ended without showing the " << wanted.name << " box";
            break;
        }
        CheckBox(*seen, wanted);
        if (wanted.capture) {
            SavePicture(process,
                        ArtifactPath(pictureStem + L"-" + FileNameFrom(wanted.name) + L".png"));
        }
        // A box that differs but still offers the scripted answer is answered as scripted, so
        // that the rest of the run is checked too.
        driver.Answer(*seen, seen->HasButton(wanted.answer) ? wanted.answer
                                                            : BoxDriver::SafestAnswer(*seen));
        result.boxes.push_back(std::move(*seen));
    }
    while (std::optional<SeenBox> extra = driver.WaitForNextBox()) {
        ADD_FAILURE() << "unexpected box " << Describe(*extra);
        driver.Answer(*extra, BoxDriver::SafestAnswer(*extra));
        result.boxes.push_back(std::move(*extra));
    }

    if (!process.WaitForExit(kExitWithinMs)) {
        ADD_FAILURE() << "the program did not end after its last box";
    }
    result.exitCode = process.ExitCode();
    result.mainWindowShown = process.MainWindowWasShown();
    return result;
}

} // namespace vt::test
