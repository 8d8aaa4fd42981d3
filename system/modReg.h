// The uninstaller's only road to the registry. Every procedure opens the key it needs, works
// and closes it again; nothing is kept between calls, and no procedure shows a message.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vt {

// Root keys travel as the 32-bit numbers of the predefined handles.
using RegRoot = std::uint32_t;
inline constexpr RegRoot kHkeyClassesRoot = 0x80000000;
inline constexpr RegRoot kHkeyCurrentUser = 0x80000001;
inline constexpr RegRoot kHkeyLocalMachine = 0x80000002;

// The text of a string value: Default when the key or value is missing, its data is empty or
// cannot be read; "" for a value of any type but REG_SZ and REG_MULTI_SZ. A multi-string gives
// its first string, or with multiAsLine all of them joined by blanks.
std::wstring ReadRegValue(RegRoot root, const std::wstring& subKey, const std::wstring& valueName,
                          const std::wstring& defaultValue = {}, bool multiAsLine = false);

// Writes a value, creating missing keys along the path. Text that reads as a number is stored
// as a REG_DWORD like a number; other text, trimmed of blanks, as a REG_SZ. A number outside
// the signed 32-bit range raises error 6 (overflow). Failures of the registry go unreported.
void WriteRegValue(RegRoot root, const std::wstring& subKey, const std::wstring& valueName,
                   const std::wstring& value);
void WriteRegValue(RegRoot root, const std::wstring& subKey, const std::wstring& valueName,
                   double value);

// True when the key can be opened; an empty path names the root, which always exists.
bool RegKeyExists(RegRoot root, const std::wstring& subKey);

// Deletes the key parentPath\keyName when it has no subkeys; true when it was deleted. A key
// with subkeys, a missing key and an empty name are left alone (false).
bool DeleteRegKey(RegRoot root, const std::wstring& parentPath, const std::wstring& keyName);

// Deletes one value; a missing key or value is no error.
void DeleteRegValue(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName);

// The key's value names in elements 1..N; element 0 is always there and empty. The list ends
// at the first value the enumeration cannot hand over whole: a name of 256 or more characters
// or data over 4096 bytes ends it there. Yields to the message loop after each name.
std::vector<std::wstring> EnumRegValues(RegRoot root, const std::wstring& keyPath);

} // namespace vt
