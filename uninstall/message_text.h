// The rules that turn a raw message of the message table into the text shown to the user.
// Platform-neutral.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vt {

// The product name that replaces "%APP".
inline constexpr wchar_t kProductName[] = L"Veltrane";

// The language of the built-in message table: English (United Kingdom).
inline constexpr std::uint16_t kMessageTableLanguage = 2057;
inline constexpr wchar_t kBuiltInLanguage[] = L"English_UK";

// The stem of a language component's ProgID: "vtLanguage_" + language + ".clsLanguage".
inline constexpr wchar_t kLanguageProgIdPrefix[] = L"vtLanguage_";
inline constexpr wchar_t kLanguageProgIdSuffix[] = L".clsLanguage";

// A language component's version as the uninstaller checks it: the first character of its
// version text read as a number. A text that does not begin with a digit raises error 13.
int ComponentVersionNumber(const std::wstring& versionText);

// "|" becomes CR LF (only when there is at least one "|"), then every "%N" is replaced by `n`
// (exact case, only when `n` is not empty), then every "%APP" in any case by the product name.
std::wstring FinishMessageText(const std::wstring& raw, const std::wstring& n);

// A string table resource holds its strings in blocks of 16: block b carries the numbers
// 16 * (b - 1) to 16 * (b - 1) + 15, each as a 16-bit length followed by that many UTF-16 units.
inline constexpr unsigned StringBlockOf(unsigned id) {
    return id / 16 + 1;
}

// The string at `index` (0 to 15) of a block; nothing when the block is too short or the
// entry is empty (an absent string has length 0).
std::optional<std::wstring> StringFromBlock(std::span<const std::uint16_t> block, unsigned index);

} // namespace vt
