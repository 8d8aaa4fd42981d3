// The harness checked against a program whose boxes and windows are known: a reading that is
// wrong here would make every scenario's verdict worthless.
#include "tests/support/message_box.h"

#include <gtest/gtest.h>

#include <string>

namespace vt::test {
namespace {

std::wstring Fixture() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.rfind(L'\\') + 1) + L"vt_box_fixture.exe";
}

std::wstring Hex(UINT flags) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%x", flags);
    return text;
}

struct BoxCase {
    const char* name;
    UINT flags;
    BoxIcon icon;
    std::vector<int> buttons;
    int defaultButton;
    int answer;
};

void PrintTo(const BoxCase& box, std::ostream* out) {
    *out << box.name;
}

class BoxDriverReading : public testing::TestWithParam<BoxCase> {};

TEST_P(BoxDriverReading, SeesWhatTheBoxShowsAndPressesTheChosenButton) {
    const BoxCase& expected = GetParam();
    WatchedProcess process(Fixture(), Hex(expected.flags));
    BoxDriver driver(process);

    const std::optional<SeenBox> box = driver.WaitForNextBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"Fixture");
    EXPECT_EQ(box->text, L"Fixture text");
    EXPECT_EQ(box->ButtonIds(), expected.buttons);
    EXPECT_EQ(box->defaultId, expected.defaultButton);
    EXPECT_STREQ(IconName(box->icon), IconName(expected.icon));
    EXPECT_EQ(box->owner, BoxOwner::None);
    driver.Answer(*box, expected.answer);

    EXPECT_FALSE(driver.WaitForNextBox().has_value());
    EXPECT_EQ(process.ExitCode(), static_cast<DWORD>(expected.answer));
}

// Each icon once, with defaults away from the first button, answered with another button
// than the default so that a click that did not land would show.
INSTANTIATE_TEST_SUITE_P(
    Boxes, BoxDriverReading,
    testing::Values(BoxCase{"Hand", MB_OK | MB_ICONHAND, BoxIcon::Hand, {IDOK}, IDOK, IDOK},
                    BoxCase{"Question",
                            MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2,
                            BoxIcon::Question,
                            {IDYES, IDNO},
                            IDNO,
                            IDYES},
                    BoxCase{"Exclamation",
                            MB_OKCANCEL | MB_ICONEXCLAMATION,
                            BoxIcon::Exclamation,
                            {IDOK, IDCANCEL},
                            IDOK,
                            IDCANCEL},
                    BoxCase{"Asterisk",
                            MB_YESNOCANCEL | MB_ICONASTERISK | MB_DEFBUTTON3,
                            BoxIcon::Asterisk,
                            {IDYES, IDNO, IDCANCEL},
                            IDCANCEL,
                            IDNO},
                    BoxCase{"NoIcon",
                            MB_RETRYCANCEL | MB_DEFBUTTON2,
                            BoxIcon::None,
                            {IDRETRY, IDCANCEL},
                            IDCANCEL,
                            IDRETRY}),
    [](const testing::TestParamInfo<BoxCase>& param) { return std::string(param.param.name); });

// A window shown for a moment and hidden at once is gone long before anyone could look;
// only a watch from inside the program sees it. A window that stayed hidden is reported so.
TEST(ShowWatch, SeesAWindowShownForAMomentOnlyAndNoOtherwise) {
    for (const bool flash : {true, false}) {
        SCOPED_TRACE(flash ? "flash" : "hidden");
        WatchedProcess process(Fixture(), Hex(MB_OK) + (flash ? L" flash" : L""));
        BoxDriver driver(process);
        const std::optional<SeenBox> box = driver.WaitForNextBox();
        ASSERT_TRUE(box.has_value());
        EXPECT_TRUE(box->main.exists);
        EXPECT_FALSE(box->main.visible);
        EXPECT_EQ(process.MainWindowWasShown(), flash);
        driver.Answer(*box, IDOK);
    }
}

TEST(WatchedProcess, TerminatesAProgramLeftRunning) {
    HANDLE running = nullptr;
    {
        WatchedProcess process(Fixture(), Hex(MB_OK));
        BoxDriver driver(process);
        ASSERT_TRUE(driver.WaitForNextBox().has_value());
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), process.Handle(), GetCurrentProcess(),
                                    &running, SYNCHRONIZE, FALSE, 0));
    }
    const UniqueHandle owned(running);
    EXPECT_EQ(WaitForSingleObject(owned.get(), 0), WAIT_OBJECT_0);
}

} // namespace
} // namespace vt::test
