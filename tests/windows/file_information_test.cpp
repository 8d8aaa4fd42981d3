// The file class's information, contents and names against the real file system and libraries
// of known version data: each test owns a folder of its own.
#include "filesystem/clsFile.h"
#include "system/handles.h"
#include "tests/support/component.h"
#include "tests/support/fixtures.h"
#include "tests/support/text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace vt {
namespace {

using test::ErrorOf;

class FileInformation : public testing::Test {
  protected:
    test::TestFolder folder{test::CurrentTestName()};
    clsFile files;
};

TEST_F(FileInformation, SizesOfA5GiBSparseFileAndOfAMissingOneInTheUsersNotation) {
    const std::wstring path = folder.File(L"big.bin", "");
    {
        const UniqueFile file(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        DWORD ignored = 0;
        DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
        LARGE_INTEGER end{};
        end.QuadPart = 5368709120;
        ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) &&
                    SetEndOfFile(file.get()));
    }
    EXPECT_EQ(files.GetSize(path), 5368709120);
    EXPECT_EQ(files.GetSize(folder / L"missing.bin"), 0);

    wchar_t before[8] = L"";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, before, 8);
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L","));
    const std::wstring text = files.FormatSize(files.GetSize(path));
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, before);
    EXPECT_EQ(text, L"5,00 GB");
}

TEST_F(FileInformation, VersionAndStringsOfTheFirstTranslation) {
    const struct {
        std::wstring file;
        const wchar_t* version;
        const wchar_t* description;
        const wchar_t* company;
    } cases[] = {
        {test::BuildOutput(L"VT_VERSION_SAMPLE"), L"6.1.16385", L"Version sample", L"Sample Maker"},
        {test::BuildOutput(L"VT_GERMAN_V2"), L"2.0", L"Veltrane Uninstaller language component",
         L""},
        {test::BuildOutput(L"VT_UNINSTALLER"), L"3.0", L"Setup/Uninstall", L""},
        {folder.File(L"plain.txt"), L"", L"", L""},
        {folder / L"missing.dll", L"", L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(test::ToUtf8(c.file));
        EXPECT_EQ(files.GetVersion(c.file), c.version);
        EXPECT_EQ(files.GetDescription(c.file, 0), c.description);
        EXPECT_EQ(files.GetDescription(c.file, 1), c.company);
        EXPECT_EQ(files.GetDescription(c.file, 2), L"") << "no such string";
    }
}

TEST_F(FileInformation, ContentsByteForByteAndInUse) {
    const std::wstring ab = folder / L"ab.txt";
    EXPECT_TRUE(files.CreateAFile(ab, L"AB"));
    {
        std::ifstream written(std::filesystem::path(ab), std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}),
                  std::string("A\0B\0", 4));
    }
    EXPECT_EQ(files.ReadAFile(ab), L"AB");
    EXPECT_EQ(files.ReadAFile(folder.File(L"abc.txt", "abc")), L"\u6261\u0063");
    EXPECT_EQ(files.ReadAFile(folder.File(L"empty.txt", "")), L"");
    EXPECT_EQ(files.ReadAFile(folder / L"missing.txt"), L"");
    EXPECT_FALSE(files.CreateAFile(folder / L"missing\\a.txt", L"AB"));
    EXPECT_EQ(files.LoadToString(folder / L"abc.txt"), L"abc");
    EXPECT_EQ(files.LoadToString(folder / L"empty.txt"), L"");
    EXPECT_EQ(ErrorOf([&] { files.LoadToString(folder / L"missing.txt"); }).number, 53);

    {
        const UniqueFile held(CreateFileW(ab.c_str(), GENERIC_READ, 7, nullptr, OPEN_EXISTING, 0,
                                          nullptr)); // any sharing at all
        EXPECT_TRUE(files.isFileInUse(ab));
    }
    EXPECT_FALSE(files.isFileInUse(ab));
    EXPECT_TRUE(files.isFileInUse(folder / L"missing.txt"));
}

TEST_F(FileInformation, SearchAndNames) {
    const std::wstring target = folder.File(L"a\\b\\target.ini");
    EXPECT_EQ(files.SearchFile(folder.Path(), L"target.ini"), target);
    EXPECT_EQ(files.SearchFile(folder.Path(), L"absent.ini"), L"");

    const std::wstring longPath = folder.File(L"A Long Folder Name\\A Long File Name.text");
    const std::wstring shortPath = files.GetShortName(longPath);
    const std::wstring shortName = files.GetShortName(longPath, false);
    EXPECT_NE(shortPath, longPath);
    EXPECT_EQ(shortPath, files.GetShortName(folder / L"A Long Folder Name") + L"\\" + shortName);
    EXPECT_EQ(files.GetLongName(shortPath), longPath);
    EXPECT_EQ(files.GetLongName(shortPath, false), L"A Long File Name.text");
    EXPECT_EQ(files.GetLongName(folder / L"missing.txt", false), L"");
    EXPECT_EQ(ErrorOf([&] { files.GetLongName(folder / L"missing\\a.txt"); }).number, 76);

    folder.File(L"report_a.txt");
    EXPECT_EQ(files.MakeNameUnique(folder.File(L"report.txt")), folder / L"report_b.txt");
    EXPECT_EQ(files.MakeNameUnique(folder / L"new.txt"), folder / L"new.txt");
    EXPECT_EQ(files.DateCreated(folder / L"missing.txt"), -109205.0) << "1 January 1601";
    EXPECT_EQ(files.GetAttribute(folder / L"missing.txt"), -1);
}

} // namespace
} // namespace vt
