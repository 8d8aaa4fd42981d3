// The removal of the product: the fixed script of what the product installs, and the scan of
// the installer's log for the files it names. Nothing here is reported to the user but a log
// that cannot be read: whatever is not there, or cannot be removed, is passed over.
#include "uninstall/form1.h"

#include "filesystem/links.h"
#include "filesystem/path_rules.h"
#include "filesystem/write_access.h"
#include "resources/resource.h"
#include "system/ansi.h"
#include "system/modReg.h"
#include "system/myMod.h"
#include "system/paced_yield.h"
#include "uninstall/install_log.h"
#include "uninstall/message_text.h"
#include "uninstall/program_folder.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace vt {

namespace {

// The files the product installs beside the uninstaller, removed in this order. A name that
// does not carry the product's (a Readme.txt, another installer's unins001.exe) may be the
// user's or another program's in a shared folder: there it goes only when the log names it.
struct ProductFile {
    const wchar_t* name;
    bool productsName;
};
constexpr ProductFile kProductFiles[] = {
    {L"Veltrane.url", true},  {L"Tessaly User's Manual.url", true},
    {L"unins000.dat", true},  {L"unins001.dat", false},
    {L"unins001.exe", false}, {L"WhatsNew.txt", false},
    {L"Licence.txt", false},  {L"Readme.txt", false},
    {L"tmpVt.log", true},     {L"Veltrane.exe", true},
    {L"Brendix.exe", true},   {L"Tessaly.exe", true},
};

// The product's registry entries, removed in this order. A key is deleted only when it has no
// subkeys, so the plug-in file type goes leaf first. The row without a tested key is the value
// that starts the product at logon.
struct RegistryRow {
    RegRoot root;
    const wchar_t* tested; // nullptr: delete the value `child` of the key `parent`
    const wchar_t* parent;
    const wchar_t* child;
};
constexpr RegistryRow kProductRegistry[] = {
    {kHkeyLocalMachine, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane_is1",
     L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", L"Veltrane_is1"},
    {kHkeyCurrentUser, nullptr, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Veltrane"},
    {kHkeyClassesRoot, L".vtp", L"", L".vtp"},
    {kHkeyClassesRoot, L"Veltrane.Tessaly\\DefaultIcon", L"Veltrane.Tessaly", L"DefaultIcon"},
    {kHkeyClassesRoot, L"Veltrane.Tessaly\\shell\\open\\command",
     L"Veltrane.Tessaly\\shell\\open\\", L"command"},
    {kHkeyClassesRoot, L"Veltrane.Tessaly\\shell\\open", L"Veltrane.Tessaly\\shell\\", L"open"},
    {kHkeyClassesRoot, L"Veltrane.Tessaly\\shell", L"Veltrane.Tessaly\\", L"shell"},
    {kHkeyClassesRoot, L"Veltrane.Tessaly", L"", L"Veltrane.Tessaly"},
};

// Where the Start-menu group of all users lies on the systems the product was made for: the
// older place when the start-up folder gives none, and the newer place, always tried.
constexpr wchar_t kOlderProgramsFolder[] =
    L"C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\";
constexpr wchar_t kNewerProgramsFolder[] =
    L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\";

constexpr wchar_t kInstallLog[] = L"unins000.dat";
// The longest path the system takes; a longer one names nothing that could exist.
constexpr std::size_t kLongestPath = 32767;

bool EndsWithNoCase(const std::wstring& text, std::wstring_view lowerSuffix) {
    if (text.size() < lowerSuffix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < lowerSuffix.size(); ++i) {
        wchar_t c = text[text.size() - lowerSuffix.size() + i];
        c = c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
        if (c != lowerSuffix[i]) {
            return false;
        }
    }
    return true;
}

// Whether an entry of a library folder's listing is a library its step unregisters and deletes:
// the listing also names files that merely contain ".dll" (skin.dll.bak), which go with the
// folder.
bool IsLibrary(const std::wstring& entry) {
    return EndsWithNoCase(entry, L".dll");
}

// The bytes of the whole log, read in one piece.
struct LogBytes {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    // Nobody but the trusted accounts may write the file, read through the handle it was read
    // by.
    bool onlyTrustedWrite = false;
    std::string_view View() const { return {data.get(), size}; }
};

[[noreturn]] void RaiseOpenError(DWORD error) {
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        Raise(70); // Permission denied: another program holds the log
    case ERROR_FILE_NOT_FOUND:
        Raise(kErrFileNotFound);
    case ERROR_PATH_NOT_FOUND:
        Raise(kErrPathNotFound);
    default:
        Raise(75); // Path/File access error
    }
}

LogBytes ReadLog(const std::wstring& path) {
    const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        RaiseOpenError(GetLastError());
    }
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file.get(), &length)) {
        Raise(57); // Device I/O error
    }
    if (static_cast<unsigned long long>(length.QuadPart) > SIZE_MAX / 2) {
        Raise(kErrOutOfMemory);
    }
    LogBytes log;
    log.onlyTrustedWrite = OnlyTrustedMayWriteTo(file.get());
    // Not zeroed first: the pages are touched once, by the read.
    log.data = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(length.QuadPart));
    const std::size_t wanted = static_cast<std::size_t>(length.QuadPart);
    while (log.size < wanted) {
        constexpr std::size_t kChunk = 1u << 26;
        const DWORD ask = static_cast<DWORD>(std::min(wanted - log.size, kChunk));
        DWORD got = 0;
        if (!ReadFile(file.get(), log.data.get() + log.size, ask, &got, nullptr)) {
            Raise(57);
        }
        if (got == 0) {
            break; // the log became shorter since its length was taken
        }
        log.size += got;
    }
    return log;
}

// The log's path on the uninstaller's drive; none when its bytes do not all stand for characters
// of the ANSI code page (a truncated double-byte character, say), or when it is too long to name
// anything. The rules compare the log's text without regard to case; the path keeps the case the
// installer wrote, which names the same file where names are compared without regard to case,
// and still the right one in a folder whose names are case-sensitive.
std::optional<std::wstring> PathOnDrive(const std::wstring& drive, std::string_view bytes) {
    if (bytes.size() > kLongestPath) {
        return std::nullopt;
    }
    const std::optional<std::wstring> path = FromAnsiExact(bytes);
    return path ? std::optional<std::wstring>(drive + *path) : std::nullopt;
}

// The uninstaller's own file name as the log would spell it; "" when the ANSI code page lacks a
// character of it (the log then cannot name it).
std::string OwnExeFileInAnsi() {
    std::wstring name = GetFileName(AppExePath(), true);
    name = name.substr(0, name.rfind(L'.')) + L".exe";
    return ToAnsiExact(name).value_or("");
}

// A run-time error while the log is read or scanned is shown in a box of its own, in a silent
// run too; the removal goes on after it.
void ShowLogError(const ErrorInfo& error) noexcept {
    ResumeNext([&] {
        HWND noOwner = nullptr;
        UnicodeMsgBox(error.description, MB_ICONHAND, L"CleanUp - " + std::to_wstring(error.number),
                      L"", noOwner);
    });
}

// The installer's log, read once for the whole removal; nothing when it cannot be read.
std::optional<LogBytes> ReadInstallLog(const std::wstring& path) noexcept {
    return TrapWith([&] { return std::optional<LogBytes>(ReadLog(path)); },
                    [](const ErrorInfo& error) {
                        ShowLogError(error);
                        return std::optional<LogBytes>();
                    });
}

// Whether the log names the program folder among those the installer made. The installer writes
// 8-bit text: a folder whose long name the code page cannot carry it names by its short (8.3)
// form, and so do its files. Names are compared as the file system compares them.
LogOfFolder WhatTheLogSaysOf(const std::wstring& folder, const std::optional<LogBytes>& log) {
    if (!log) {
        return LogOfFolder::Unread;
    }
    // A folder not on a drive letter, or a drive's root, is none the log can name.
    std::vector<std::wstring> spellings;
    for (const std::wstring& form : {folder, ShortPathName(folder)}) {
        const std::optional<std::wstring> path = PathAfterDrive(form);
        if (path && !path->empty()) {
            spellings.push_back(UpperCaseAsNames(*path));
        }
    }
    bool made = false;
    PacedYield yield;
    ForEachLogPiece(log->View(), [&](std::string_view piece) {
        const std::string_view named = ReadLogEntry(piece).folder;
        if (!made && !spellings.empty() && !named.empty()) {
            const std::optional<std::wstring> path = FromAnsiExact(named);
            made = path && std::find(spellings.begin(), spellings.end(), UpperCaseAsNames(*path)) !=
                               spellings.end();
        }
        yield();
    });
    return made ? LogOfFolder::MadeIt : LogOfFolder::DidNotMake;
}

// Whether the log names `file` among the files the installer put there.
bool LogNamesFile(std::string_view log, const std::wstring& file) {
    const std::optional<std::wstring> drive = LogDrivePrefix(AppPath());
    const std::wstring wanted = UpperCaseAsNames(LongPathName(file));
    bool named = false;
    PacedYield yield;
    ForEachLogPiece(log, [&](std::string_view piece) {
        const LogEntry entry = ReadLogEntry(piece);
        if (!named && drive &&
            (entry.kind == LogEntryKind::File || entry.kind == LogEntryKind::Library)) {
            const std::optional<std::wstring> path = PathOnDrive(*drive, entry.Path());
            named = path && UpperCaseAsNames(*path) == wanted;
        }
        yield();
    });
    return named;
}

// Whether the program folder is one that the product shares with what was there before it.
bool ProgramFolderIsShared(const std::optional<LogBytes>& log) {
    const std::wstring folder = LongPathName(AppPath());
    // A short name the system makes always holds a tilde: a folder spelled without one can only
    // be a known folder, or lie below one, in the long form. Asking for the short forms is
    // dear (the system lists each folder on the way), so it is done only when they could tell.
    std::vector<std::wstring> known = KnownFolderPaths(folder.find(L'~') != std::wstring::npos);
    for (std::wstring& path : known) {
        path = UpperCaseAsNames(path);
    }
    return IsSharedFolder(UpperCaseAsNames(folder), known, WhatTheLogSaysOf(folder, log));
}

} // namespace

// The bar is full after the first few hundred steps of a long log: a step then changes nothing,
// and is not handed to the bar, whose setter would check, lay out and compare it again for every
// file.
void Form1::Advance(int steps) noexcept {
    ResumeNext([&] {
        const std::int32_t value = pb.Value();
        if (steps <= 0 || value < pb.Max()) {
            pb.Value(value + steps);
        }
    });
}

void Form1::Status(int id) noexcept {
    ResumeNext([&] { Label1.Caption(GetMessageText(id)); });
}

// Takes the product off the machine: a fixed script of what the product installs, each item
// removed only when an existence test finds it, with the install-log scan in the middle.
// Failures are passed over one operation at a time; the bar always ends full.
void Form1::RemoveProduct() {
    std::wstring appDir;
    ResumeNext([&] { appDir = AddBackslash(AppPath()); });

    Status(IDS_UNINSTALLING);
    DoEvents();
    // The log is read once, before anything goes (the file list below deletes it): it tells
    // whether the program folder is the product's own, and the scan deletes what it names.
    // Until that is known, the folder counts as shared.
    const std::wstring logPath = appDir + kInstallLog;
    const std::optional<LogBytes> log =
        FileOps->Exists(logPath) ? ReadInstallLog(logPath) : std::nullopt;
    const std::string_view logged = log ? log->View() : std::string_view();
    bool shared = true;
    ResumeNext([&] { shared = ProgramFolderIsShared(log); });
    StartUnregistrations(appDir, shared);
    RemoveStartMenuGroup();
    // A log that another account may have written names nothing beyond the program folder.
    const bool believed = log && log->onlyTrustedWrite && programFolderClosed_;
    if (log) {
        ResumeNext([&] { ScanInstallLog(logged, believed); });
    }
    DoEvents();

    Status(IDS_UNREGISTERING);
    // Orvale.dll is unregistered but stays.
    if (FileOps->Exists(appDir + L"Orvale.dll")) {
        Unregister(appDir + L"Orvale.dll");
        Advance(2);
    }
    // A library of that name may be another program's in a shared folder: there it goes only
    // when the log names it.
    if (FileOps->Exists(appDir + L"SQLite.dll") &&
        (!shared || LogNamesFile(logged, appDir + L"SQLite.dll"))) {
        Unregister(appDir + L"SQLite.dll");
        if (FileOps->Exists(appDir + L"SQLite.dll")) {
            FileOps->Delete(appDir + L"SQLite.dll", false);
        }
        Advance(2);
    }
    DoEvents();

    std::wstring appData;
    std::wstring desktop;
    ResumeNext([&] { appData = AddBackslash(GetSpecialFolder(kCsidlAppData, hWnd())); });
    ResumeNext([&] { desktop = AddBackslash(GetSpecialFolder(kCsidlDesktop, hWnd())); });
    const std::wstring shortcuts[] = {
        appData + L"Microsoft\\Internet Explorer\\Quick Launch\\Veltrane.lnk",
        desktop + L"Veltrane.lnk"};
    for (const std::wstring& shortcut : shortcuts) {
        if (FileOps->Exists(shortcut)) {
            FileOps->Delete(shortcut, false);
            Advance(1);
        }
    }

    Status(IDS_UNINSTALLING);
    for (const ProductFile& file : kProductFiles) {
        const std::wstring path = appDir + file.name;
        if (FileOps->Exists(path) && (file.productsName || !shared || LogNamesFile(logged, path))) {
            FileOps->Delete(path, false);
        }
    }
    DoEvents();
    Advance(1);
    Advance(1);
    Advance(1);

    if (shared) {
        ResumeNext([&] { RemoveProductFilesIn(appDir + L"Themes", logged, /*plugIns=*/false); });
        ResumeNext([&] { RemoveProductFilesIn(appDir + L"Languages", logged, /*plugIns=*/false); });
        if (!SilentMode && !KeepPlugIns) {
            ResumeNext(
                [&] { RemoveProductFilesIn(appDir + L"PlugIns", logged, /*plugIns=*/true); });
        }
    } else {
        RemoveLibraryFolder(appDir + L"Themes", /*keepWithoutLibraries=*/true);
        RemoveLibraryFolder(appDir + L"Languages", /*keepWithoutLibraries=*/false);
        ResumeNext([&] {
            if (FolderOps->Exists(appDir + L"PlugIns") && !SilentMode && !KeepPlugIns) {
                FolderOps->Delete(appDir + L"PlugIns");
                Advance(5);
            }
        });
    }
    Advance(1);

    for (const RegistryRow& row : kProductRegistry) {
        ResumeNext([&] {
            if (!row.tested) {
                DeleteRegValue(row.root, row.parent, row.child);
            } else if (RegKeyExists(row.root, row.tested)) {
                DeleteRegKey(row.root, row.parent, row.child);
            }
        });
    }
    for (int i = 0; i < 4; ++i) {
        Advance(1);
    }

    // The bar is filled in steps, so that the user sees it reach its end.
    for (;;) {
        bool filling = false;
        ResumeNext([&] { filling = pb.Value() < pb.Max(); });
        if (!filling) {
            break;
        }
        Advance(1);
        DoEvents();
    }
}

// The group is looked for in the programs folder above the start-up folder of all users (or
// the older fixed place when that folder does not exist), and always in the newer fixed place.
void Form1::RemoveStartMenuGroup() {
    std::wstring startUp;
    ResumeNext([&] { startUp = GetSpecialFolder(kCsidlCommonStartup, hWnd()); });
    std::wstring programs = kOlderProgramsFolder;
    const std::optional<std::wstring> above = StartMenuProgramsFolder(startUp);
    if (above && FolderOps->Exists(*above)) {
        programs = *above;
    }
    for (const std::wstring& group :
         {programs + kProductName, std::wstring(kNewerProgramsFolder) + kProductName}) {
        ResumeNext([&] {
            if (FolderOps->Exists(group)) {
                FolderOps->Delete(group);
            }
        });
    }
}

// A folder of COM libraries: each library directly in it is unregistered and deleted, then the
// folder goes with whatever else it holds. Without a library in it, the folder stays when
// `keepWithoutLibraries`, and goes all the same otherwise.
void Form1::RemoveLibraryFolder(const std::wstring& folder, bool keepWithoutLibraries) {
    if (!FolderOps->Exists(folder)) {
        return;
    }
    Advance(1);
    const std::vector<std::wstring> listed = FolderOps->enumFiles(folder, false, L".dll");
    const bool none = !isArrayInitialised(listed) || listed.size() == 1;
    if (none && keepWithoutLibraries) {
        return;
    }
    // The folder's libraries are unregistered side by side.
    for (std::size_t i = 1; i < listed.size(); ++i) {
        if (IsLibrary(listed[i])) {
            unregistrations_.Start(listed[i], hWnd());
        }
    }
    // A library still loaded somewhere (the language component this run itself uses, a theme
    // in the shell) cannot be deleted now: it goes at the next restart, and so does the folder,
    // which empties only then. A folder that stays for another reason (a link in it that
    // cannot be removed) would not empty at a restart either, and owes none.
    bool leftForRestart = false;
    for (std::size_t i = 1; i < listed.size(); ++i) {
        if (IsLibrary(listed[i])) {
            leftForRestart = RemoveLibrary(listed[i]) || leftForRestart;
        }
    }
    ResumeNext([&] {
        if (!FolderOps->Delete(folder) && FolderOps->Exists(folder) && leftForRestart) {
            FileOps->DeleteInUse(folder);
        }
    });
    Advance(1);
    Advance(1);
    Advance(1);
}

// A folder of the product's in a folder that was there before it, which may hold the user's own
// files: only what the product put there goes. The files the log names directly in it, its
// libraries unregistered first (one in use goes at the restart); with `plugIns`, the files of
// the product's plug-in type; then the folder, only when that left it empty. A link is not
// the product's: it stays, and so does a folder that is one.
void Form1::RemoveProductFilesIn(const std::wstring& folder, std::string_view log, bool plugIns) {
    if (!FolderOps->Exists(folder) || IsLink(GetFileAttributesW(folder.c_str()))) {
        return;
    }
    Advance(1);
    const std::optional<std::wstring> drive = LogDrivePrefix(AppPath());
    const std::wstring comparable = UpperCaseAsNames(LongPathName(folder));
    bool putOff = false;
    const auto remove = [&](const std::wstring& file) {
        if (!FileOps->Exists(file) || IsLink(GetFileAttributesW(file.c_str()))) {
            return;
        }
        if (!IsLibrary(file)) {
            FileOps->Delete(file, false);
            return;
        }
        putOff = RemoveLibrary(file) || putOff;
    };
    PacedYield yield;
    ForEachLogPiece(log, [&](std::string_view piece) {
        const LogEntry entry = ReadLogEntry(piece);
        if (drive && (entry.kind == LogEntryKind::File || entry.kind == LogEntryKind::Library)) {
            const std::optional<std::wstring> path = PathOnDrive(*drive, entry.Path());
            if (path && LiesDirectlyIn(UpperCaseAsNames(*path), comparable)) {
                remove(*path);
            }
        }
        yield();
    });
    if (plugIns) {
        const std::vector<std::wstring> listed = FolderOps->enumFiles(folder, false, L".vtp");
        for (std::size_t i = 1; i < listed.size(); ++i) {
            if (EndsWithNoCase(listed[i], L".vtp")) {
                remove(listed[i]);
            }
        }
    }
    // Only an empty folder can be removed this way; one that keeps a library till the restart
    // goes then, if it is empty by then.
    if (!RemoveDirectoryW(folder.c_str()) && putOff) {
        FileOps->DeleteInUse(folder);
    }
    Advance(3);
}

// A library goes once it has been unregistered; one still loaded somewhere (the language
// component this run itself uses, a theme in the shell) is left for the system to delete at the
// next restart, which the run's exit code then owes. True when it was left so.
bool Form1::RemoveLibrary(const std::wstring& library) noexcept {
    Advance(1);
    Unregister(library);
    const bool leftForRestart = !FileOps->Delete(library, false) && FileOps->Exists(library) &&
                                FileOps->DeleteInUse(library);
    restartOwed_ = restartOwed_ || leftForRestart;
    DoEvents();
    return leftForRestart;
}

// Starts the registration tool for every library that the removal unregisters, side by side:
// Orvale.dll and SQLite.dll, and in the product's own folder each library directly in Themes and
// Languages. They run while the group and the logged files go, which leaves every library where
// it is (the scan passes over libraries), so that by the time their steps come all the
// unregistrations have cost the run no more than the slowest of them, or nothing. Each step
// still tests and lists what it removes when it comes to it, and waits for the tools before it
// deletes a library. In a shared folder only the libraries the log names are the product's:
// their steps start them.
void Form1::StartUnregistrations(const std::wstring& appDir, bool shared) noexcept {
    for (const wchar_t* library : {L"Orvale.dll", L"SQLite.dll"}) {
        // A name another program's library may have (SQLite.dll) is left to its step there.
        const bool productsName = std::wstring_view(library) == L"Orvale.dll";
        ResumeNext([&] {
            if (FileOps->Exists(appDir + library) && (productsName || !shared)) {
                unregistrations_.Start(appDir + library, hWnd());
            }
        });
    }
    for (const wchar_t* folder : {L"Themes", L"Languages"}) {
        ResumeNext([&] {
            if (shared || !FolderOps->Exists(appDir + folder)) {
                return;
            }
            for (const std::wstring& entry :
                 FolderOps->enumFiles(appDir + folder, false, L".dll")) {
                if (IsLibrary(entry)) {
                    unregistrations_.Start(entry, hWnd());
                }
            }
        });
    }
}

// Unregisters a COM library through the system's registration tool (started now unless it was
// started with others), and waits for every tool under way, so that the library is deleted only
// once it has been unregistered and no tool holds it.
void Form1::Unregister(const std::wstring& library) noexcept {
    unregistrations_.Finish(library, hWnd());
}

// Deletes every file that the installer's log names and the rules let go. An error on the way
// shows its box, as one while reading the log does.
void Form1::ScanInstallLog(std::string_view log, bool believed) {
    try {
        const std::optional<std::wstring> drive = LogDrivePrefix(AppPath());
        const std::string ownExe = OwnExeFileInAnsi();
        const LogScanChoices choices{ownExe, SilentMode, KeepPlugIns};
        PacedYield yield;
        ForEachLogPiece(log, [&](std::string_view piece) {
            const LogEntry entry = ReadLogEntry(piece);
            if (entry.kind == LogEntryKind::File) {
                const std::optional<std::wstring> path =
                    drive ? PathOnDrive(*drive, entry.Path()) : std::nullopt;
                if (believed) {
                    ScanLoggedFile(path, entry.text, choices);
                } else {
                    // Only a file inside the program folder, reached through no link, is
                    // taken; anything else counts as missing.
                    const UniqueFile within =
                        path ? OpenFileWithin(*path, programFolderOpened_) : UniqueFile();
                    const LogFileStep step = StepForLogFile(entry.text, bool(within), choices);
                    if (step == LogFileStep::DeleteAndAdvance) {
                        DeleteOpenedFile(within.get());
                    }
                    if (step != LogFileStep::PassOver) {
                        Advance(1);
                    }
                }
            }
            yield();
        });
    } catch (...) {
        ShowLogError(CurrentError());
    }
}

// A file the log names, where the log may name any: nearly every logged file is a plain file that
// goes if it is there; then the deletion is the only question to the system, and its answer the
// existence test. Whatever it cannot settle is asked once; a file there that the system's delete
// refused takes the shell's road with its guards.
void Form1::ScanLoggedFile(const std::optional<std::wstring>& path, std::string_view entry,
                           const LogScanChoices& choices) {
    const bool deletedIfThere =
        path && StepForLogFile(entry, true, choices) == LogFileStep::DeleteAndAdvance;
    if (deletedIfThere && FileOps->TryDelete(*path) != clsFile::Attempt::Other) {
        Advance(1);
        return;
    }
    const PathAttributes found = path ? FileOps->Query(*path) : PathAttributes{};
    switch (StepForLogFile(entry, found.IsFile(), choices)) {
    case LogFileStep::PassOver:
        break;
    case LogFileStep::DeleteAndAdvance:
        FileOps->Delete(*path, false);
        Advance(1);
        break;
    case LogFileStep::Advance:
        Advance(1);
        break;
    }
}

} // namespace vt
