// Text as the harness reads it from windows of another process and writes it out.
#pragma once

#include <windows.h>

#include <string>

namespace vt::test {

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

// An environment variable of this process; empty when it is not set.
std::wstring Environment(const wchar_t* name);

// The window's text through WM_GETTEXT, which Windows carries across processes. A window that
// does not answer within a few seconds reads as empty: the harness must not hang on it.
std::wstring WindowText(HWND window);

// A message to a window of another process that gives up rather than hang; 0 when it did.
LRESULT SendWithin(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

} // namespace vt::test
