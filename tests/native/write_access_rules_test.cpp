#include "filesystem/write_access_rules.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

constexpr wchar_t kRun[] = L"S-1-5-21-1-2-3-1001"; // the account of the run
constexpr wchar_t kOtherAdmin[] = L"S-1-5-21-1-2-3-1002";
constexpr wchar_t kInstaller[] = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
constexpr wchar_t kEveryone[] = L"S-1-1-0";
constexpr std::uint32_t kFull = 0x001F01FF;
constexpr std::uint32_t kReadExecute = 0x001200A9;
constexpr std::uint8_t kOnlyInherited = 0x0B; // by files and folders below, not the folder

TEST(OnlyTrustedMayWrite, OwnerAndEveryEntryThatAppliesToTheFolder) {
    // "Program Files" as Windows sets it up, the account of the run given full control too.
    const std::vector<AccessEntry> programFiles = {
        {true, kInstaller, kFull, 0},
        {true, L"S-1-5-18", 0x001301BF, 0},
        {true, L"S-1-5-32-544", 0x10000000, kOnlyInherited},
        {true, L"S-1-5-32-545", kReadExecute, 0},
        {true, L"S-1-3-0", 0x10000000, kOnlyInherited}, // the creator of what is made below
        {true, kRun, kFull, 0}};
    const auto with = [&](AccessEntry entry) {
        std::vector<AccessEntry> dacl = programFiles;
        dacl.push_back(entry);
        return dacl;
    };
    const struct {
        const char* name;
        std::wstring owner;
        std::optional<std::vector<AccessEntry>> dacl;
        bool trusted;
    } cases[] = {
        {"ProgramFiles", kInstaller, programFiles, true},
        {"OwnedByTheRunsAccount", kRun, programFiles, true},
        // The owner may rewrite the access list whatever it says.
        {"OwnedByAnotherAdmin", kOtherAdmin, programFiles, false},
        {"NullAccessList", kInstaller, std::nullopt, false},
        {"AnotherAdminWrites", kInstaller, with({true, kOtherAdmin, 0x001301BF, 0}), false},
        // Each right that lets another account get a file in, alone.
        {"AddFile", kInstaller, with({true, kEveryone, 0x2, 0}), false},
        {"AddSubfolder", kInstaller, with({true, kEveryone, 0x4, 0}), false},
        {"DeleteChildren", kInstaller, with({true, kEveryone, 0x40, 0}), false},
        {"ChangeAccessList", kInstaller, with({true, kEveryone, 0x40000, 0}), false},
        {"TakeOwnership", kInstaller, with({true, kEveryone, 0x80000, 0}), false},
        {"GenericAll", kInstaller, with({true, kEveryone, 0x10000000, 0}), false},
        {"GenericWrite", kInstaller, with({true, kEveryone, 0x40000000, 0}), false},
        // Attributes, extended attributes and deleting the folder itself put nothing in it.
        {"AttributesAndDelete", kInstaller,
         with({true, kEveryone, kReadExecute | 0x10 | 0x100 | 0x10000, 0}), true},
        {"WriteOnlyInherited", kInstaller, with({true, kEveryone, kFull, kOnlyInherited}), true},
        // Deny entries are passed over, which can only err on the safe side.
        {"DeniedAndAllowed", kInstaller,
         std::vector<AccessEntry>{{false, kEveryone, kFull, 0}, {true, kEveryone, 0x2, 0}}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OnlyTrustedMayWrite({c.owner, c.dacl}, kRun), c.trusted) << c.name;
    }
}

} // namespace
} // namespace vt
