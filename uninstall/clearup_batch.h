// The text of "clearup.bat", the batch file through which the uninstaller removes itself once
// its process has ended. Platform-neutral: the code page comes in as a function, so the text
// is checked natively byte for byte.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vt {

// The file name of the batch, in the program folder.
inline constexpr wchar_t kClearupBatchName[] = L"clearup.bat";

// Turns text into the bytes of the system's ANSI code page; nothing when the code page cannot
// carry every character of it unchanged.
using AnsiEncoder = std::function<std::optional<std::string>(std::wstring_view)>;

struct ClearupBatch {
    std::string folder; // the program folder as the batch names it, with trailing backslash
    std::string text;   // the whole file, every line ended by CR LF
    // The path to start the batch by: `folder` + "clearup.bat".
    std::string Path() const;
};

// The batch that deletes the running executable `exePath` and then itself.
//
// The batch is plain ANSI text, and the command interpreter reads it in the console's code
// page, so only ASCII is certain to name the same file to both. A path beyond ASCII is written
// in its short form `shortExePath` when that is ASCII, else in ANSI when the code page carries
// every character of it. A path with characters replaced ("?" is a wildcard to "del") could
// delete other files, so it is never written.
// Nothing comes back when neither form can be written, or when the executable's name does not
// end in ".exe" (the batch names the file by its name and ".exe"): then no batch is better than
// one that deletes what was not asked.
//
// The batch calls the parent folder's "clearup.bat" only when `parentBatchTrusted`: the batch
// runs with the uninstaller's administrator rights, and a batch there that another account
// could have written must not. A program folder at a drive root has no parent folder whose
// "clearup.bat" could be called either: the call would be the batch calling itself for ever.
// "%" is doubled in the paths, as the command interpreter reads a single one as the start of a
// variable.
std::optional<ClearupBatch> MakeClearupBatch(std::wstring_view exePath,
                                             std::wstring_view shortExePath,
                                             bool parentBatchTrusted, const AnsiEncoder& toAnsi);

} // namespace vt
