// Who may write into a folder (or into a file), from its owner and access list as plain data.
// Platform-neutral, so that the rule is checked natively.
//
// The uninstaller runs elevated and calls a batch file in the folder above the product: a file
// anyone could have put there would run with administrator rights. It does so only where no
// account writes but those that are trusted with the machine anyway.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vt {

// One entry of an access list, with its account as a SID string ("S-1-5-32-544").
struct AccessEntry {
    bool allow = true; // false: a deny entry
    std::wstring sid;
    std::uint32_t mask = 0;
    std::uint8_t flags = 0; // the entry's inheritance flags
};

struct ObjectSecurity {
    std::wstring owner; // SID string; empty when unknown
    // Nothing: no access list at all (a null DACL), which lets everyone do everything.
    std::optional<std::vector<AccessEntry>> dacl;
};

// The access that lets an account get a file of its own into a folder, or change one there:
// adding a file (writing a file's data), adding a subfolder (appending to a file; a folder
// link named like the file would lead to a file of the account's choosing), deleting what the
// folder holds, changing the access list or the owner (after which it could grant itself the
// rest), and the generic write and all rights.
inline constexpr std::uint32_t kWriteAccess = 0x00000002    // FILE_ADD_FILE / FILE_WRITE_DATA
                                              | 0x00000004  // FILE_ADD_SUBDIRECTORY / APPEND_DATA
                                              | 0x00000040  // FILE_DELETE_CHILD
                                              | 0x00040000  // WRITE_DAC
                                              | 0x00080000  // WRITE_OWNER
                                              | 0x10000000  // GENERIC_ALL
                                              | 0x40000000; // GENERIC_WRITE

// True when no account but the system, the Administrators group, the system's installer
// service and `runAccount` (the account this run belongs to) may write: none of the others
// is the owner (an owner can always rewrite the access list) or is given write access by an
// entry that applies to the object itself.
bool OnlyTrustedMayWrite(const ObjectSecurity& security, std::wstring_view runAccount);

} // namespace vt
