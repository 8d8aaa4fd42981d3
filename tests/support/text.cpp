#include "tests/support/text.h"

namespace vt::test {

namespace {
constexpr UINT kAnswerWithinMs = 5000;
} // namespace

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), length,
                        nullptr, nullptr);
    return utf8;
}

LRESULT SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerWithinMs,
                             &result)) {
        return 0;
    }
    return static_cast<LRESULT>(result);
}

std::wstring WindowText(HWND window) {
    const auto length = static_cast<std::size_t>(SendWithin(window, WM_GETTEXTLENGTH));
    std::wstring text(length + 1, L'\0');
    const auto copied =
        static_cast<std::size_t>(SendWithin(window, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                                            reinterpret_cast<LPARAM>(text.data())));
    text.resize(copied < text.size() ? copied : 0);
    return text;
}

} // namespace vt::test
