// The file class's rules that need no file system: how sizes and versions read as text, which
// block of a version resource holds its strings, and how names are made safe or unique.
// Platform-neutral, so that they are checked natively.
#pragma once

#include <cstdint>
#include <string>

namespace vt {

// A size as a user reads it, in the unit of its band: bytes below 1024, then KB, MB, GB and
// TB (powers of 1024) changing at 100 and 1000 of the smaller unit. One decimal below 100 KB
// and 100 MB, two in GB and TB, rounded half up, with `decimalSeparator`; no digit before the
// separator when the rounded value is below 1 (".98 GB").
std::wstring FormatSizeText(std::int64_t bytes, const std::wstring& decimalSeparator);

// The version text of a fixed version record: major.minor, then .build only when the build
// (the low half of the second number) is not 0. The high half of the second number is never
// shown: 1.2.3.4 reads 1.2.4, 1.2.3.0 reads 1.2.
std::wstring VersionText(std::uint32_t fileVersionMS, std::uint32_t fileVersionLS);

// The name of the string block of a version resource for a translation entry: language and
// code page as eight upper-case hexadecimal digits (0x0409 and 1252 give 040904E4).
std::wstring TranslationBlockName(std::uint16_t language, std::uint16_t codePage);

// The name with the characters Windows forbids in file names replaced or removed:
// ":" -> "-", "*" -> "_", double quote -> "'", "<" -> "[", ">" -> "]"; "\", "/", "?" and "|"
// removed. Not an 8.3 name: the length is kept.
std::wstring DosSafeName(const std::wstring& file);

// A candidate of the unique-name counter: "_" and `suffix` before the last dot of the whole
// text (report.txt, "b" -> report_b.txt), or after the text when it has no dot.
std::wstring SuffixedName(const std::wstring& file, const std::wstring& suffix);

} // namespace vt
