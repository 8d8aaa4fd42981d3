// Shell and window utilities: special folders, common controls, the message box, the
// program's own location, and the yield to the message loop.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vt {

// Special folders the program asks for.
inline constexpr int kCsidlDesktop = 0x0000;
inline constexpr int kCsidlCommonStartup = 0x0018;
inline constexpr int kCsidlAppData = 0x001A;

// The folder's file-system path without trailing backslash, or "" when the shell has none.
// The path passes through the ANSI code page, as the shell's 8-bit lookup hands it over.
std::wstring GetSpecialFolder(int csidl, HWND owner);

// The folders of the system and of the user that belong to no program: the desktops, documents
// and downloads, the user's profile and application data, both kinds of program files and common
// files, the data of all users, the Windows and system folders, the Start menus with their
// programs and start-up folders. Each as the shell gives it, and with `shortForms` in its short
// form too; a folder the system does not have is left out.
std::vector<std::wstring> KnownFolderPaths(bool shortForms);

// The path with the long name of each component; the path as given when the system cannot
// tell. The short form; empty when the system has none.
std::wstring LongPathName(const std::wstring& path);
std::wstring ShortPathName(const std::wstring& path);

// The path upper-cased as the system does when it compares names without regard to case.
std::wstring UpperCaseAsNames(const std::wstring& path);

// Registers the common controls the window uses; true when nothing failed on the way.
bool InitCommonControlsLib() noexcept;

// Shows a message box through MessageBoxIndirectW and returns the button code (0 on failure).
// An empty title shows "Setup/Uninstall"; a non-empty icon names an icon resource of the
// program, which replaces the standard icon. An owner of 0 becomes the active window, if any.
int UnicodeMsgBox(const std::wstring& prompt, UINT flags, const std::wstring& title,
                  const std::wstring& icon, HWND& owner);

// The text of one of this program's windows (its caption, or a control's text).
std::wstring WindowText(HWND window);

// Lets the message loop run once: every pending message is dispatched, so windows repaint.
void DoEvents() noexcept;

// The full path of the running executable.
std::wstring AppExePath();
// The folder that holds the running executable, without trailing backslash (except a root).
std::wstring AppPath();

} // namespace vt
