#include "filesystem/write_access_rules.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

constexpr wchar_t kRun[] = L"S-1-5-21-1-2-3-1001"; // the account of the run
constexpr wchar_t kOtherAdmin[] = L"S-1-5-21-1-2-3-1002";
constexpr wchar_t kSystem[] = L"S-1-5-18";
constexpr wchar_t kAdmins[] = L"S-1-5-32-544";
constexpr wchar_t kInstaller[] = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
constexpr wchar_t kUsers[] = L"S-1-5-32-545";
constexpr wchar_t kEveryone[] = L"S-1-1-0";
constexpr wchar_t kCreatorOwner[] = L"S-1-3-0";

constexpr std::uint32_t kFull = 0x001F01FF;
constexpr std::uint32_t kModify = 0x001301BF;
constexpr std::uint32_t kReadExecute = 0x001200A9;
constexpr std::uint8_t kInheritedByAll = 0x03;       // objects and folders below
constexpr std::uint8_t kOnlyInherited = 0x03 | 0x08; // ... and not the folder itself

AccessEntry Allow(const wchar_t* sid, std::uint32_t mask, std::uint8_t flags = kInheritedByAll) {
    return {true, sid, mask, flags};
}

TEST(OnlyTrustedMayWrite, OwnerAndEveryEntryThatAppliesToTheFolder) {
    const std::vector<AccessEntry> programFiles = {
        Allow(kInstaller, kFull, 0),
        Allow(kInstaller, 0x10000000, 0x0A),
        Allow(kSystem, kModify, 0),
        Allow(kSystem, 0x10000000, kOnlyInherited),
        Allow(kAdmins, kModify, 0),
        Allow(kAdmins, 0x10000000, kOnlyInherited),
        Allow(kUsers, kReadExecute, 0),
        Allow(kUsers, 0xA0000000, kOnlyInherited),
        Allow(kCreatorOwner, 0x10000000, kOnlyInherited)};
    // As Wine shows a folder from its Unix mode: owner and user full, everyone else reads.
    const auto wine = [](std::uint32_t everyone) {
        return std::vector<AccessEntry>{Allow(kSystem, kFull), Allow(kRun, kFull),
                                        Allow(kEveryone, everyone)};
    };
    const auto withEveryone = [&](std::uint32_t mask, std::uint8_t flags = 0) {
        std::vector<AccessEntry> dacl = programFiles;
        dacl.push_back(Allow(kEveryone, mask, flags));
        return dacl;
    };
    const struct {
        const char* name;
        std::wstring owner;
        std::optional<std::vector<AccessEntry>> dacl;
        bool trusted;
    } cases[] = {
        {"ProgramFiles", kInstaller, programFiles, true},
        {"WineFolder", kRun, wine(kReadExecute), true},
        {"WineFolderOthersWrite", kRun, wine(0x001301FF), false},
        {"OwnedByTheSystem", kSystem, std::vector<AccessEntry>{}, true},
        // The owner may rewrite the access list whatever it says.
        {"OwnedByAnotherAdmin", kOtherAdmin, programFiles, false},
        {"OwnerUnknown", L"", programFiles, false},
        {"NullAccessList", kInstaller, std::nullopt, false},
        {"AnotherAdminWrites", kInstaller, std::vector<AccessEntry>{Allow(kOtherAdmin, kModify)},
         false},
        // Each right that lets another account get a file in, alone.
        {"AddFile", kInstaller, withEveryone(0x2), false},
        {"AddSubfolder", kInstaller, withEveryone(0x4), false},
        {"DeleteChildren", kInstaller, withEveryone(0x40), false},
        {"ChangeAccessList", kInstaller, withEveryone(0x40000), false},
        {"TakeOwnership", kInstaller, withEveryone(0x80000), false},
        {"GenericAll", kInstaller, withEveryone(0x10000000), false},
        {"GenericWrite", kInstaller, withEveryone(0x40000000), false},
        // Attributes, extended attributes and deleting the folder itself put nothing in it.
        {"AttributesAndDelete", kInstaller, withEveryone(kReadExecute | 0x10 | 0x100 | 0x10000),
         true},
        // Handed down only: the folder itself is not affected.
        {"WriteOnlyInherited", kInstaller, withEveryone(kFull, kOnlyInherited), true},
        // Deny entries are passed over, which can only err on the safe side.
        {"DeniedAndAllowed", kInstaller,
         std::vector<AccessEntry>{{false, kEveryone, kFull, 0}, Allow(kEveryone, kModify)}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OnlyTrustedMayWrite({c.owner, c.dacl}, kRun), c.trusted) << c.name;
    }
}

} // namespace
} // namespace vt
