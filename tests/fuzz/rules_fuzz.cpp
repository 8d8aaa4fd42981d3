// Feeds arbitrary text to the platform-neutral rules and checks what must hold for any input.
// Built with clang's libFuzzer; scripts/test.sh runs it for a fixed number of inputs.
#include "filesystem/file_rules.h"
#include "filesystem/path_rules.h"
#include "system/reg_rules.h"
#include "uninstall/form1_rules.h"
#include "uninstall/message_text.h"
#include "uninstall/settings_rules.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool ContainsAppPlaceholder(const std::wstring& text) {
    for (std::size_t at = 0; at + 4 <= text.size(); ++at) {
        if (text[at] == L'%' && (text[at + 1] | 0x20) == L'a' && (text[at + 2] | 0x20) == L'p' &&
            (text[at + 3] | 0x20) == L'p') {
            return true;
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Two texts of 16-bit units, split at the first 0xFFFF unit.
    std::vector<std::uint16_t> units(size / 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<std::uint16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    }
    std::wstring first, second;
    bool inSecond = false;
    for (std::uint16_t unit : units) {
        if (unit == 0xFFFF && !inSecond) {
            inSecond = true;
        } else {
            (inSecond ? second : first).push_back(static_cast<wchar_t>(unit));
        }
    }

    const std::wstring text = vt::FinishMessageText(first, second);
    Check(!ContainsAppPlaceholder(text));
    if (first.find_first_of(L"|%") == std::wstring::npos) {
        Check(text == first);
    }

    for (unsigned index = 0; index <= 16; ++index) {
        if (auto entry = vt::StringFromBlock(units, index)) {
            Check(!entry->empty() && entry->size() < units.size());
        }
    }

    const std::wstring_view arguments = vt::ArgumentString(first);
    Check(arguments.size() <= first.size());
    Check(std::wstring_view(first).substr(first.size() - arguments.size()) == arguments);
    Check(vt::IsSilentArgument(arguments) == (arguments == L"silent"));

    const std::wstring withSlash = vt::AddBackslash(first);
    Check(!withSlash.empty() && withSlash.back() == L'\\');
    Check(withSlash.compare(0, first.size(), first) == 0 && withSlash.size() <= first.size() + 1);

    const std::wstring name = vt::GetFileName(first, true);
    const std::wstring parent = vt::GetFileName(first, false);
    if (name != first && parent != first) {
        Check(parent + name == first);
    }

    // Registry text: never a NUL after trimming; joined lines never start or end with a blank.
    Check(vt::TrimNull(first).find(L'\0') == std::wstring::npos);
    const std::wstring line = vt::MultiStringValueText(first, true);
    Check(line.find(L'\0') == std::wstring::npos);
    Check(line.empty() || (line.front() != L' ' && line.back() != L' '));
    // Text that reads as a number becomes a 32-bit value or an overflow, nothing else.
    if (const auto number = vt::NumberInText(first)) {
        try {
            (void)vt::ToLong(*number);
        } catch (const vt::RuntimeError& e) {
            Check(e.info().number == vt::kErrOverflow);
        }
    }
    const std::wstring entry = vt::StartUpEntryName(first);
    Check(entry.find(L' ') == std::wstring::npos && entry.size() <= first.size());
    (void)vt::StartUpListFor(first);

    // The unique-name counter only ever grows its letters, and by at most one place.
    std::wstring letters;
    for (wchar_t c : first) {
        letters.push_back(static_cast<wchar_t>(L'a' + (static_cast<unsigned>(c) % 26)));
    }
    const std::wstring next = vt::NextLetterSuffix(letters);
    Check(next != letters && (next.size() == letters.size() || next.size() == letters.size() + 1));
    for (long error : {0L, 5L, 52L, 53L, 76L, static_cast<long>(units.size())}) {
        (void)vt::DecidePathCheck(error, first, vt::PathCheckKind::File);
        (void)vt::DecidePathCheck(error, first, vt::PathCheckKind::Folder);
    }

    // No name keeps a character that file names cannot hold.
    Check(vt::DosSafeName(first).find_first_of(L":\\/*?\"<>|") == std::wstring::npos);
    return 0;
}
