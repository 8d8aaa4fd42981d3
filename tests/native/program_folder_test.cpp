#include "uninstall/program_folder.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(IsSharedFolder, RootsKnownFoldersAndFoldersAboveThemAndWhatTheInstallerDidNotMake) {
    const std::vector<std::wstring> known = {L"C:\\Users\\Ann\\Desktop",
                                             L"C:\\Program Files",
                                             L"C:\\Program Files (x86)",
                                             L"\\\\?\\D:\\Data\\Known",
                                             L"",
                                             L"Relative\\Folder"};
    constexpr LogOfFolder kMade = LogOfFolder::MadeIt;
    const struct {
        const wchar_t* folder;
        LogOfFolder log;
        bool shared;
    } cases[] = {
        {L"C:\\Program Files\\Veltrane", kMade, false},
        {L"C:\\Program Files\\Veltrane", LogOfFolder::Unread, false},
        {L"C:\\Program Files\\Veltrane", LogOfFolder::DidNotMake, true},
        // A drive's or share's root, in any spelling.
        {L"C:\\", kMade, true},
        {L"C:", kMade, true},
        {L"\\\\?\\C:\\", kMade, true},
        {L"\\\\server\\share\\", kMade, true},
        {L"\\\\?\\UNC\\server\\share", kMade, true},
        {L"\\\\?\\UNC\\server\\share\\Tools", kMade, false},
        // A known folder, or one above it, whole components compared without regard to case.
        {L"c:\\program files\\", kMade, true},
        {L"C:\\Users\\\\Ann\\Desktop", kMade, true},
        {L"\\\\?\\C:\\Users\\Ann\\Desktop", kMade, true},
        {L"C:\\Users", kMade, true},
        {L"D:\\DATA", kMade, true},
        {L"C:\\Program", kMade, false},
        {L"C:\\Users\\Ann\\Desktop\\Veltrane", kMade, false},
        {L"D:\\Data\\Known\\Veltrane", kMade, false},
        // Nothing could be shown of a path that is not a full one.
        {L"C:\\Users\\Ann\\Desktop\\..\\Tools", kMade, true},
        {L"C:Veltrane", kMade, true},
        {L"Veltrane", kMade, true},
        {L"", kMade, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsSharedFolder(c.folder, known, c.log), c.shared)
            << testing::PrintToString(std::wstring(c.folder));
    }
}

TEST(LiesDirectlyIn, OnlyEntriesOfTheFolderItself) {
    const struct {
        const wchar_t* path;
        const wchar_t* folder;
        bool in;
    } cases[] = {
        {L"C:\\P\\Themes\\skin.dll", L"C:\\P\\Themes", true},
        {L"\\\\?\\c:\\p\\THEMES\\skin.dll", L"C:\\P\\Themes\\", true},
        {L"C:\\P\\Themes\\Sub\\skin.dll", L"C:\\P\\Themes", false},
        {L"C:\\P\\Themes2\\skin.dll", L"C:\\P\\Themes", false},
        {L"D:\\P\\Themes\\skin.dll", L"C:\\P\\Themes", false},
        {L"C:\\P\\Themes\\..\\skin.dll", L"C:\\P\\Themes", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LiesDirectlyIn(c.path, c.folder), c.in)
            << testing::PrintToString(std::wstring(c.path));
    }
}

} // namespace
} // namespace vt
