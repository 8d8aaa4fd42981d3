// Whether the program folder is the product's own, or a folder it shares with what was there
// before it. Only the product's own folder may lose Themes, Languages and PlugIns whole: in a
// shared one they may hold the user's files. Platform-neutral, so that it is checked natively.
//
// Paths are compared component by component, in the long form ("\\?\C:\...", "\\?\UNC\...") or
// not, with doubled and trailing backslashes ignored, and ASCII letters without regard to case.
// Other letters are compared as given: the caller hands over paths upper-cased the way the file
// system compares names, and in the long names of their components (a short 8.3 name is another
// spelling that nothing here could recognise).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vt {

// What the installer's log says of the program folder.
enum class LogOfFolder {
    Unread,     // no log, or it could not be read: it says nothing
    MadeIt,     // one of its folder entries names the program folder
    DidNotMake, // read, and none of its folder entries names it: the folder was there before
};

// Shared when the program folder is a drive's or a share's root; when it is one of
// `knownFolders` (the system's and the user's own folders) or a folder above one; when the log
// was read and the installer did not make it; and when it is not a full path at all (or holds
// "." or ".."), since nothing could be shown of it then.
bool IsSharedFolder(std::wstring_view programFolder, const std::vector<std::wstring>& knownFolders,
                    LogOfFolder log);

// Whether `path` names an entry directly in `folder`, not in a folder below it.
bool LiesDirectlyIn(std::wstring_view path, std::wstring_view folder);

// The folder's path after its drive's "X:\", as the installer's log spells paths, without a
// trailing backslash ("" for the drive's root). Nothing for a folder not on a drive letter.
std::optional<std::wstring> PathAfterDrive(std::wstring_view folder);

} // namespace vt
