#include "system/modReg.h"

#include "system/errors.h"
#include "system/handles.h"
#include "system/myMod.h"
#include "system/reg_rules.h"

namespace vt {

namespace {

// The predefined handle behind a root number; the number is sign-extended as the system's
// own HKEY_ constants are on 64-bit Windows.
HKEY RootKey(RegRoot root) noexcept {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

// Keys that are only read are opened with read access.
UniqueRegKey OpenForReading(RegRoot root, const std::wstring& subKey) {
    UniqueRegKey key;
    if (RegOpenKeyExW(RootKey(root), subKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        key.release();
    }
    return key;
}

// Keys that are tested or changed are opened with the full access of the legacy call.
UniqueRegKey OpenForChange(RegRoot root, const std::wstring& subKey) {
    UniqueRegKey key;
    if (RegOpenKeyW(RootKey(root), subKey.c_str(), key.put()) != ERROR_SUCCESS) {
        key.release();
    }
    return key;
}

void SetValue(RegRoot root, const std::wstring& subKey, const std::wstring& valueName, DWORD type,
              const void* data, DWORD bytes) {
    UniqueRegKey key;
    if (RegCreateKeyW(RootKey(root), subKey.c_str(), key.put()) != ERROR_SUCCESS) {
        key.release();
        return;
    }
    RegSetValueExW(key.get(), valueName.c_str(), 0, type, static_cast<const BYTE*>(data), bytes);
}

void WriteDword(RegRoot root, const std::wstring& subKey, const std::wstring& valueName,
                double value) {
    const DWORD data = static_cast<DWORD>(ToLong(value));
    SetValue(root, subKey, valueName, REG_DWORD, &data, sizeof data);
}

} // namespace

std::wstring ReadRegValue(RegRoot root, const std::wstring& subKey, const std::wstring& valueName,
                          const std::wstring& defaultValue, bool multiAsLine) {
    std::wstring result = defaultValue;
    ResumeNext([&] {
        const UniqueRegKey key = OpenForReading(root, subKey);
        if (!key) {
            return;
        }
        // A zero-length query tells the type and size; anything but "more data" means there
        // is nothing to read (a missing value, or one whose data is empty).
        DWORD type = 0;
        DWORD bytes = 0;
        BYTE scratch[4] = {};
        if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, scratch, &bytes) !=
            ERROR_MORE_DATA) {
            return;
        }
        if (type != REG_SZ && type != REG_MULTI_SZ) {
            result.clear();
            return;
        }
        std::wstring buffer(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD read = bytes;
        if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, nullptr,
                             reinterpret_cast<BYTE*>(buffer.data()), &read) != ERROR_SUCCESS) {
            return;
        }
        buffer.resize(read / sizeof(wchar_t));
        result =
            type == REG_SZ ? StringValueText(buffer) : MultiStringValueText(buffer, multiAsLine);
    });
    return result;
}

void WriteRegValue(RegRoot root, const std::wstring& subKey, const std::wstring& valueName,
                   const std::wstring& value) {
    if (const std::optional<double> number = NumberInText(value)) {
        WriteDword(root, subKey, valueName, *number);
        return;
    }
    const std::wstring text = TrimBlanks(value);
    SetValue(root, subKey, valueName, REG_SZ, text.c_str(),
             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void WriteRegValue(RegRoot root, const std::wstring& subKey, const std::wstring& valueName,
                   double value) {
    WriteDword(root, subKey, valueName, value);
}

bool RegKeyExists(RegRoot root, const std::wstring& subKey) {
    // The handle, not the status, decides: a call that hands back a key found it.
    UniqueRegKey key;
    RegOpenKeyW(RootKey(root), subKey.c_str(), key.put());
    return static_cast<bool>(key);
}

bool DeleteRegKey(RegRoot root, const std::wstring& parentPath, const std::wstring& keyName) {
    // An empty name would make the system delete the parent itself, which nobody asked for.
    if (keyName.empty() || !RegKeyExists(root, parentPath)) {
        return false;
    }
    const UniqueRegKey parent = OpenForChange(root, parentPath);
    if (!parent) {
        return false;
    }
    return RegDeleteKeyW(parent.get(), keyName.c_str()) == ERROR_SUCCESS;
}

void DeleteRegValue(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName) {
    if (!RegKeyExists(root, keyPath)) {
        return;
    }
    const UniqueRegKey key = OpenForChange(root, keyPath);
    if (key) {
        RegDeleteValueW(key.get(), valueName.c_str());
    }
}

std::vector<std::wstring> EnumRegValues(RegRoot root, const std::wstring& keyPath) {
    std::vector<std::wstring> names(1);
    ResumeNext([&] {
        const UniqueRegKey key = OpenForReading(root, keyPath);
        if (!key) {
            return;
        }
        std::wstring name(256, L'\0');
        std::vector<BYTE> data(4096);
        for (DWORD index = 0;; ++index) {
            DWORD nameLength = static_cast<DWORD>(name.size());
            DWORD dataLength = static_cast<DWORD>(data.size());
            DWORD type = 0;
            if (RegEnumValueW(key.get(), index, name.data(), &nameLength, nullptr, &type,
                              data.data(), &dataLength) != ERROR_SUCCESS) {
                return;
            }
            names.push_back(TrimNull(std::wstring_view(name.data(), nameLength)));
            DoEvents();
        }
    });
    return names;
}

} // namespace vt
