#include "filesystem/write_access_rules.h"

#include <algorithm>

namespace vt {

namespace {

constexpr std::wstring_view kTrustedAccounts[] = {
    L"S-1-5-18",     // the system
    L"S-1-5-32-544", // Administrators
    // The installer service (TrustedInstaller), which owns the system's own folders.
    L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",
};

// Set on an entry that is only handed down to what the object holds.
constexpr std::uint8_t kInheritOnly = 0x08;

bool Trusted(std::wstring_view sid, std::wstring_view runAccount) {
    return (!sid.empty() && sid == runAccount) ||
           std::find(std::begin(kTrustedAccounts), std::end(kTrustedAccounts), sid) !=
               std::end(kTrustedAccounts);
}

} // namespace

bool OnlyTrustedMayWrite(const ObjectSecurity& security, std::wstring_view runAccount) {
    if (!Trusted(security.owner, runAccount) || !security.dacl) {
        return false;
    }
    // Deny entries are passed over: one could only take write access away from an account that
    // an allow entry gives it, so passing them over can find a writer too many, never one too
    // few.
    return std::none_of(security.dacl->begin(), security.dacl->end(), [&](const AccessEntry& e) {
        return e.allow && (e.flags & kInheritOnly) == 0 && (e.mask & kWriteAccess) != 0 &&
               !Trusted(e.sid, runAccount);
    });
}

} // namespace vt
