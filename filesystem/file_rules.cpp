#include "filesystem/file_rules.h"

namespace vt {

namespace {

constexpr std::int64_t kKilo = 1024;
constexpr std::int64_t kMega = kKilo * 1024;
constexpr std::int64_t kGiga = kMega * 1024;
constexpr std::int64_t kTera = kGiga * 1024;

// bytes / unit to `places` decimals, rounded half up, as "#.0" or "#.00" write it. Quotient
// and remainder are scaled apart so that no size overflows.
std::wstring Decimals(std::int64_t bytes, std::int64_t unit, int places,
                      const std::wstring& separator) {
    const std::int64_t scale = places == 1 ? 10 : 100;
    const std::int64_t scaled = bytes / unit * scale + (bytes % unit * scale + unit / 2) / unit;
    const std::int64_t whole = scaled / scale;
    std::wstring fraction = std::to_wstring(scaled % scale);
    fraction.insert(0, static_cast<std::size_t>(places) - fraction.size(), L'0');
    return (whole == 0 ? std::wstring() : std::to_wstring(whole)) + separator + fraction;
}

} // namespace

std::wstring FormatSizeText(std::int64_t bytes, const std::wstring& decimalSeparator) {
    if (bytes < kKilo) {
        return std::to_wstring(bytes) + L" bytes";
    }
    if (bytes < 100 * kKilo) {
        return Decimals(bytes, kKilo, 1, decimalSeparator) + L" KB";
    }
    if (bytes < 1000 * kKilo) {
        return std::to_wstring(bytes / kKilo) + L" KB";
    }
    if (bytes < 100 * kMega) {
        return Decimals(bytes, kMega, 1, decimalSeparator) + L" MB";
    }
    if (bytes < 1000 * kMega) {
        return std::to_wstring(bytes / kMega) + L" MB";
    }
    if (bytes < kTera) {
        return Decimals(bytes, kGiga, 2, decimalSeparator) + L" GB";
    }
    return Decimals(bytes, kTera, 2, decimalSeparator) + L" TB";
}

std::wstring VersionText(std::uint32_t fileVersionMS, std::uint32_t fileVersionLS) {
    std::wstring text =
        std::to_wstring(fileVersionMS >> 16) + L"." + std::to_wstring(fileVersionMS & 0xFFFF);
    if ((fileVersionLS & 0xFFFF) != 0) {
        text += L"." + std::to_wstring(fileVersionLS & 0xFFFF);
    }
    return text;
}

std::wstring TranslationBlockName(std::uint16_t language, std::uint16_t codePage) {
    constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring name;
    for (const std::uint16_t half : {language, codePage}) {
        for (int shift = 12; shift >= 0; shift -= 4) {
            name += kDigits[(half >> shift) & 0xF];
        }
    }
    return name;
}

std::wstring DosSafeName(const std::wstring& file) {
    std::wstring name;
    name.reserve(file.size());
    for (const wchar_t c : file) {
        switch (c) {
        case L':':
            name += L'-';
            break;
        case L'*':
            name += L'_';
            break;
        case L'"':
            name += L'\'';
            break;
        case L'<':
            name += L'[';
            break;
        case L'>':
            name += L']';
            break;
        case L'\\':
        case L'/':
        case L'?':
        case L'|':
            break;
        default:
            name += c;
            break;
        }
    }
    return name;
}

std::wstring SuffixedName(const std::wstring& file, const std::wstring& suffix) {
    const std::size_t dot = file.rfind(L'.');
    if (dot == std::wstring::npos) {
        return file + L"_" + suffix;
    }
    return file.substr(0, dot) + L"_" + suffix + file.substr(dot);
}

} // namespace vt
