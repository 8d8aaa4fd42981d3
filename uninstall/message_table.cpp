#include "uninstall/message_table.h"

#include "uninstall/message_text.h"

#include <cstdint>
#include <span>

namespace vt {

std::optional<std::wstring> BuiltInMessage(HMODULE module, unsigned id) {
    // The table's language is asked for by name, so the user's language settings cannot
    // pick another one.
    HRSRC block = FindResourceExW(module, MAKEINTRESOURCEW(6), // RT_STRING
                                  MAKEINTRESOURCEW(StringBlockOf(id)), kMessageTableLanguage);
    if (!block) {
        return std::nullopt;
    }
    HGLOBAL loaded = LoadResource(module, block);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) {
        return std::nullopt;
    }
    const std::span<const std::uint16_t> units(static_cast<const std::uint16_t*>(data),
                                               SizeofResource(module, block) / 2);
    return StringFromBlock(units, id % 16);
}

} // namespace vt
