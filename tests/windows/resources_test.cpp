// The resources of the built unins000.exe itself, loaded as data.
#include "resources/resource.h"
#include "system/handles.h"
#include "uninstall/message_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace vt {
namespace {

std::wstring UninstallerPath() {
    const wchar_t* path = _wgetenv(L"VT_UNINSTALLER");
    return path ? path : L"";
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    if (IS_INTRESOURCE(name)) {
        reinterpret_cast<std::vector<unsigned>*>(names)->push_back(
            static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)));
    }
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
    return TRUE;
}

class UninstallerResources : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(UninstallerPath().empty()) << "VT_UNINSTALLER is not set";
        module_.reset(LoadLibraryExW(UninstallerPath().c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        ASSERT_TRUE(module_) << "cannot load " << testing::PrintToString(UninstallerPath());
    }
    HMODULE module() const { return module_.get(); }

    // Names (numbers) of every resource of a type.
    std::vector<unsigned> Names(LPCWSTR type) const {
        std::vector<unsigned> names;
        EnumResourceNamesW(module(), type, CollectName, reinterpret_cast<LONG_PTR>(&names));
        return names;
    }
    std::vector<WORD> Languages(LPCWSTR type, unsigned name) const {
        std::vector<WORD> languages;
        EnumResourceLanguagesW(module(), type, MAKEINTRESOURCEW(name), CollectLanguage,
                               reinterpret_cast<LONG_PTR>(&languages));
        return languages;
    }
    std::string Bytes(LPCWSTR type, unsigned name) const {
        HRSRC found = FindResourceW(module(), MAKEINTRESOURCEW(name), type);
        if (!found) {
            return {};
        }
        const char* data = static_cast<const char*>(LockResource(LoadResource(module(), found)));
        return std::string(data, SizeofResource(module(), found));
    }

  private:
    UniqueModule module_;
};

TEST_F(UninstallerResources, MessageTableHoldsExactlyTheThirteenTextsInEnglishUk) {
    const std::map<unsigned, std::wstring> expected = {
        {3900, L"Uninstaller"},
        {3901, L"Are you sure you want to completely remove %APP and all of its components?"},
        {3902, L"Cancel"},
        {3903, L"Uninstall cannot begin.  %N is currently running. ||In order to continue, %N "
               L"must be closed. ||Terminate Now?"},
        {3904, L"Would you like to Keep your User Settings?"},
        {3905, L"Would you like to keep your PlugIns?"},
        {3906, L"%APP was successfully removed from your computer."},
        {3915, L"Uninstall Status"},
        {3916, L"Please wait while %APP is removed from your computer."},
        {3917, L"Uninstalling %APP ..."},
        {3920, L"Removing Settings..."},
        {3921, L"Removing Registry Entries..."},
        {3922, L"Unregistering .dll Files..."},
    };
    std::map<unsigned, std::wstring> found;
    for (unsigned block : Names(MAKEINTRESOURCEW(6))) { // RT_STRING
        EXPECT_EQ(Languages(MAKEINTRESOURCEW(6), block), std::vector<WORD>{2057})
            << "block " << block;
        for (unsigned id = (block - 1) * 16; id < block * 16; ++id) {
            if (auto text = BuiltInMessage(module(), id)) {
                found[id] = *text;
            }
        }
    }
    EXPECT_EQ(found, expected);
    for (unsigned outside : {1u, 0xFFFFu}) {
        EXPECT_EQ(BuiltInMessage(module(), outside), std::nullopt) << outside;
    }
}

TEST_F(UninstallerResources, ManifestAsksForAdministratorVersion6ControlsAndTheDisplaysScale) {
    const std::string manifest = Bytes(MAKEINTRESOURCEW(24), 1); // RT_MANIFEST
    for (const char* wanted : {"level=\"requireAdministrator\"", ">true/pm</dpiAware>",
                               ">PerMonitorV2, PerMonitor</dpiAwareness>"}) {
        EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
    }
    const auto controls = manifest.find("name=\"Microsoft.Windows.Common-Controls\"");
    ASSERT_NE(controls, std::string::npos) << manifest;
    EXPECT_NE(manifest.find("version=\"6.0.0.0\"", controls), std::string::npos);
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(UninstallerResources, IconGroupOneHoldsTwelveUncompressedBitmaps) {
    EXPECT_EQ(Names(MAKEINTRESOURCEW(14)), std::vector<unsigned>{IDI_PROGRAM}); // RT_GROUP_ICON
    const std::string group = Bytes(MAKEINTRESOURCEW(14), IDI_PROGRAM);
    ASSERT_GE(group.size(), 6u);
    const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
    ASSERT_EQ(group.size(), 6u + count * sizeof(GroupIconEntry));

    std::set<std::pair<int, int>> images;
    for (WORD i = 0; i < count; ++i) {
        GroupIconEntry entry;
        memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
        const std::string image = Bytes(MAKEINTRESOURCEW(3), entry.id); // RT_ICON
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER)) << "image " << entry.id;
        BITMAPINFOHEADER header;
        memcpy(&header, image.data(), sizeof header);
        EXPECT_EQ(header.biSize, sizeof header) << "image " << entry.id << " is not a bitmap";
        EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(header.biHeight, 2 * header.biWidth); // colour rows, then the mask rows
        EXPECT_EQ(header.biBitCount, entry.bitCount);
        EXPECT_EQ(entry.width == 0 ? 256 : entry.width, header.biWidth);
        images.insert({header.biWidth, header.biBitCount});
    }
    std::set<std::pair<int, int>> expected;
    for (int size : {16, 32, 48, 256}) {
        for (int bits : {4, 24, 32}) {
            expected.insert({size, bits});
        }
    }
    EXPECT_EQ(count, 12);
    EXPECT_EQ(images, expected);
}

std::wstring VersionString(const std::vector<char>& data, const wchar_t* name) {
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof *translation) {
        return L"<no translation>";
    }
    wchar_t query[64];
    swprintf(query, 64, L"\\StringFileInfo\\%04X%04X\\%ls", translation->language,
             translation->codePage, name);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(data.data(), query, reinterpret_cast<void**>(&value), &length)) {
        return L"<missing>";
    }
    return value;
}

TEST_F(UninstallerResources, VersionBlockNamesTheUninstaller) {
    const DWORD size = GetFileVersionInfoSizeW(UninstallerPath().c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(UninstallerPath().c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00030000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(VersionString(data, L"FileDescription"), L"Setup/Uninstall");
    EXPECT_EQ(VersionString(data, L"InternalName"), L"unins000");
    EXPECT_EQ(VersionString(data, L"ProductName"), L"Veltrane Uninstaller");
}

} // namespace
} // namespace vt
