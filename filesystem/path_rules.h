// The file and folder classes' rules that need no file system: path shapes, search patterns,
// the unique-name counter, the path check's decision and the abbreviation of long folders.
// Platform-neutral, so that they are checked natively.
#pragma once

#include "system/errors.h"

#include <cstdint>
#include <string>

namespace vt {

// strPath with "\" appended unless it already ends with one; an empty text gives "\".
std::wstring CorrectPath(const std::wstring& strPath);

// The search pattern of a folder listing: fileType between two asterisks. The default "."
// gives "*.*" (every name); ".dll" also matches names that merely contain .dll (a.dll.bak).
std::wstring SearchPattern(const std::wstring& fileType);

// The path cut before its last "\"; unchanged when it has none.
std::wstring CutBeforeLastBackslash(const std::wstring& path);

// Whether the shell's file operation may be given `path` as a source: it must name one thing
// exactly. The shell expands "*" and "?" and resolves a relative path against the current
// folder, so either would let one call reach files nobody named.
bool NamesOneExactPlace(const std::wstring& path);

// The letter counter of unique names: "" -> "a", "a" -> "b", "z" -> "aa", "az" -> "ba",
// "zz" -> "aaa". The last letter advances; a z becomes a and carries one place left.
std::wstring NextLetterSuffix(const std::wstring& suffix);

// Which class checks the path: a file's messages name the folder of a missing path, a
// folder's the whole path.
enum class PathCheckKind { File, Folder };

// What a path check makes of the error number that reading the path's attributes raised.
struct PathCheckDecision {
    enum class Action { Pass, AskDiskError, Raise };
    Action action = Action::Pass;
    long number = 0;          // Raise only
    std::wstring description; // Raise only
};
PathCheckDecision DecidePathCheck(long attributeError, const std::wstring& path,
                                  PathCheckKind kind);

// The text of the "Disk Error" box: the path's first two characters (its drive) and
// " Drive not ready".
std::wstring DriveNotReadyText(const std::wstring& path);
inline constexpr wchar_t kDiskErrorTitle[] = L"Disk Error";

// The path check: asks `attributeError(path)` for the error number of the attribute query
// until the path passes or fails. A drive that is not ready asks `retry(text)` whether to
// try again; true repeats (after `beforeRetry()`), false raises 71 "Disk not ready".
template <class AttributeError, class Retry, class BeforeRetry>
void RunPathCheck(const std::wstring& path, PathCheckKind kind, AttributeError attributeError,
                  Retry retry, BeforeRetry beforeRetry) {
    for (;;) {
        const PathCheckDecision decision = DecidePathCheck(attributeError(path), path, kind);
        switch (decision.action) {
        case PathCheckDecision::Action::Pass:
            return;
        case PathCheckDecision::Action::Raise:
            Raise(decision.number, decision.description);
        case PathCheckDecision::Action::AskDiskError:
            if (!retry(DriveNotReadyText(path))) {
                Raise(kErrDiskNotReady, L"Disk not ready");
            }
            beforeRetry();
            break;
        }
    }
}

// A long folder shortened for display against two reference folders: one under `a` keeps its
// first three characters, "..." and the rest from a's last backslash on; one under `b` its
// first three characters, "...\Shared " and the rest after b's last backslash. Reference
// folders are compared without regard to case; an empty reference matches nothing.
std::wstring AbbreviateFolder(const std::wstring& folder, const std::wstring& a,
                              const std::wstring& b);

} // namespace vt
