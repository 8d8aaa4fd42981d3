#include "filesystem/write_access.h"

#include "filesystem/links.h"
#include "filesystem/write_access_rules.h"
#include "system/handles.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <cstddef>
#include <cstring>
#include <optional>
#include <vector>

namespace vt {

namespace {

using UniqueLocalMemory = Unique<NullIsNoneTraits<HLOCAL, LocalFree>>;

std::optional<std::wstring> SidText(PSID sid) {
    wchar_t* text = nullptr;
    if (!sid || !IsValidSid(sid) || !ConvertSidToStringSidW(sid, &text)) {
        return std::nullopt;
    }
    const UniqueLocalMemory owned(text);
    return std::wstring(text);
}

std::optional<std::wstring> RunAccount() {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) {
        return std::nullopt;
    }
    DWORD bytes = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &bytes);
    std::vector<BYTE> user(bytes);
    if (bytes < sizeof(TOKEN_USER) ||
        !GetTokenInformation(token.get(), TokenUser, user.data(), bytes, &bytes)) {
        return std::nullopt;
    }
    TOKEN_USER header{};
    std::memcpy(&header, user.data(), sizeof header);
    return SidText(header.User.Sid);
}

// The owner and access list as `get` reads them (by path or by handle); nothing when either
// cannot be read, or the list holds an entry of a kind whose account is not where an allow or
// deny entry keeps it.
template <class Get> std::optional<ObjectSecurity> ReadSecurity(Get get) {
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (get(OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, &dacl, &descriptor) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    const UniqueLocalMemory owned(descriptor);
    ObjectSecurity security;
    const std::optional<std::wstring> ownerText = SidText(owner);
    if (!ownerText) {
        return std::nullopt;
    }
    security.owner = *ownerText;
    if (!dacl) {
        return security;
    }
    security.dacl.emplace();
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* entry = nullptr;
        if (!GetAce(dacl, i, &entry)) {
            return std::nullopt;
        }
        // Allow and deny entries share their layout: header, mask, then the account.
        constexpr std::size_t kSidAt = offsetof(ACCESS_ALLOWED_ACE, SidStart);
        ACCESS_ALLOWED_ACE ace{};
        std::memcpy(&ace, entry, kSidAt);
        if ((ace.Header.AceType != ACCESS_ALLOWED_ACE_TYPE &&
             ace.Header.AceType != ACCESS_DENIED_ACE_TYPE) ||
            ace.Header.AceSize < kSidAt + offsetof(SID, SubAuthority)) {
            return std::nullopt;
        }
        const std::optional<std::wstring> account = SidText(static_cast<BYTE*>(entry) + kSidAt);
        if (!account) {
            return std::nullopt;
        }
        security.dacl->push_back({ace.Header.AceType == ACCESS_ALLOWED_ACE_TYPE, *account, ace.Mask,
                                  ace.Header.AceFlags});
    }
    return security;
}

template <class Get> bool OnlyTrustedMayWriteThrough(Get get) noexcept {
    try {
        const std::optional<std::wstring> account = RunAccount();
        const std::optional<ObjectSecurity> security = ReadSecurity(get);
        return account && security && OnlyTrustedMayWrite(*security, *account);
    } catch (...) {
        return false;
    }
}

} // namespace

bool OnlyTrustedMayWriteTo(const std::wstring& path) noexcept {
    return OnlyTrustedMayWriteThrough(
        [&](SECURITY_INFORMATION what, PSID* owner, PACL* dacl, PSECURITY_DESCRIPTOR* descriptor) {
            return GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, what, owner, nullptr, dacl,
                                         nullptr, descriptor);
        });
}

bool OnlyTrustedMayWriteTo(HANDLE object) noexcept {
    return OnlyTrustedMayWriteThrough(
        [&](SECURITY_INFORMATION what, PSID* owner, PACL* dacl, PSECURITY_DESCRIPTOR* descriptor) {
            return GetSecurityInfo(object, SE_FILE_OBJECT, what, owner, nullptr, dacl, nullptr,
                                   descriptor);
        });
}

HeldFile HoldFile(const std::wstring& path, const std::wstring& top) noexcept {
    HeldFile held;
    // Reading is shared, so that the registration tool or the system's loader can load it;
    // writing, renaming and deleting are not. A link is opened as itself.
    held.handle.reset(CreateFileW(path.c_str(), GENERIC_READ | READ_CONTROL, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    FILE_ATTRIBUTE_TAG_INFO opened{};
    if (!held.handle ||
        !GetFileInformationByHandleEx(held.handle.get(), FileAttributeTagInfo, &opened,
                                      sizeof opened) ||
        (opened.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !OnlyTrustedMayWriteTo(held.handle.get())) {
        return held;
    }
    // Whoever may write into a folder on the way could have put another file in its place before
    // it was held.
    try {
        held.trusted =
            LiesBelowThrough(OpenedPath(held.handle.get()), top, [](const std::wstring& between) {
                const DWORD attributes = GetFileAttributesW(between.c_str());
                return attributes != INVALID_FILE_ATTRIBUTES &&
                       !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                       OnlyTrustedMayWriteTo(between);
            });
    } catch (...) {
    }
    return held;
}

} // namespace vt
