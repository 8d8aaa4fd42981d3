#include "uninstall/settings_rules.h"

#include <cwctype>

namespace vt {

namespace {

constexpr std::size_t kTagLength = 5;

} // namespace

std::optional<StartUpList> StartUpListFor(std::wstring_view valueName) {
    std::wstring tag(valueName.substr(0, kTagLength));
    for (wchar_t& c : tag) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    if (tag == L"HKLM:") {
        return StartUpList{kHkeyLocalMachine, kMachineRunKey};
    }
    if (tag == L"HKCU:" || tag == L"STAR:") {
        return StartUpList{kHkeyCurrentUser, kUserRunKey};
    }
    return std::nullopt;
}

std::wstring StartUpEntryName(std::wstring_view valueName) {
    std::wstring name;
    if (valueName.size() > kTagLength) {
        for (const wchar_t c : valueName.substr(kTagLength)) {
            if (c != L' ') {
                name += c;
            }
        }
    }
    return name;
}

} // namespace vt
