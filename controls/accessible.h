// What a screen reader learns of the controls. Each control answers the accessibility query of
// its window (WM_GETOBJECT) with the system's standard object for a window, told what kind of
// control it is and what it says.
#pragma once

#include <windows.h>

#include <optional>

namespace vt {

enum class AccessibleKind {
    // Role progress bar; its value is the caption it shows (the percentage). It has no name of
    // its own, so that a reader says the percentage once.
    ProgressBar,
    // Role static text; its name is its caption.
    StaticText,
};

// The answer to WM_GETOBJECT for `window`, a control of `kind`; nothing when the query is not
// for its client object or cannot be answered, and the default handling answers then.
std::optional<LRESULT> AnswerAccessibleQuery(HWND window, WPARAM wParam, LPARAM lParam,
                                             AccessibleKind kind);

} // namespace vt
