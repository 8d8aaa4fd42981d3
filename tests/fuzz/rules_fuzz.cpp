// Feeds arbitrary text to the platform-neutral rules and checks what must hold for any input.
// Built with clang's libFuzzer; scripts/test.sh runs it for a fixed number of inputs.
#include "uninstall/form1_rules.h"
#include "uninstall/message_text.h"

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
    return 0;
}
