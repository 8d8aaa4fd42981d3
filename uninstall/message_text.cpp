#include "uninstall/message_text.h"

#include "system/errors.h"

namespace vt {

namespace {

void ReplaceAll(std::wstring& text, const std::wstring& what, const std::wstring& with) {
    for (std::size_t at = text.find(what); at != std::wstring::npos;
         at = text.find(what, at + with.size())) {
        text.replace(at, what.size(), with);
    }
}

// Position of `what` in `text` at or after `from`, comparing ASCII letters without case.
std::size_t FindNoCase(const std::wstring& text, const std::wstring& what, std::size_t from) {
    auto fold = [](wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - 32) : c; };
    for (std::size_t at = from; at + what.size() <= text.size(); ++at) {
        std::size_t k = 0;
        while (k < what.size() && fold(text[at + k]) == fold(what[k])) {
            ++k;
        }
        if (k == what.size()) {
            return at;
        }
    }
    return std::wstring::npos;
}

} // namespace

int ComponentVersionNumber(const std::wstring& versionText) {
    if (versionText.empty() || versionText[0] < L'0' || versionText[0] > L'9') {
        Raise(kErrTypeMismatch);
    }
    return versionText[0] - L'0';
}

std::wstring FinishMessageText(const std::wstring& raw, const std::wstring& n) {
    std::wstring text = raw;
    ReplaceAll(text, L"|", L"\r\n");
    if (!n.empty()) {
        ReplaceAll(text, L"%N", n);
    }
    const std::wstring app = L"%APP";
    const std::wstring product = kProductName;
    for (std::size_t at = FindNoCase(text, app, 0); at != std::wstring::npos;
         at = FindNoCase(text, app, at + product.size())) {
        text.replace(at, app.size(), product);
    }
    return text;
}

std::optional<std::wstring> StringFromBlock(std::span<const std::uint16_t> block, unsigned index) {
    std::size_t at = 0;
    for (unsigned i = 0; i < 16; ++i) {
        if (at >= block.size()) {
            return std::nullopt;
        }
        const std::size_t length = block[at++];
        if (length > block.size() - at) {
            return std::nullopt;
        }
        if (i == index) {
            if (length == 0) {
                return std::nullopt;
            }
            return std::wstring(block.begin() + static_cast<std::ptrdiff_t>(at),
                                block.begin() + static_cast<std::ptrdiff_t>(at + length));
        }
        at += length;
    }
    return std::nullopt;
}

} // namespace vt
