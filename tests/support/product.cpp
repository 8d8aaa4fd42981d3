#include "tests/support/product.h"

#include "tests/support/process.h"
#include "tests/support/running.h"
#include "tests/support/text.h"

#include <gtest/gtest.h>
#include <sddl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <stdexcept>

namespace vt::test {

namespace fs = std::filesystem;

namespace {

enum class Fate {
    Gone,     // removed by the fixed script
    InFolder, // removed with its folder (logged: by the scan too)
    Stays,    // nothing removes it
    Scanned,  // removed by the log scan, unless the plug-ins are kept or the log is unreadable
    PlugIn,   // removed with the plug-ins (logged: by the scan too), unless kept or silent
    Users,    // the user's own, in a folder that was there before the product: it stays
};

struct StagedFile {
    const wchar_t* path; // in the program folder
    bool logged;
    Fate fate;
    bool library = false; // a copy of the probe library
    bool readOnly = false;
};

// The fixed list, the libraries and plug-ins, the files only the log names; the log's own
// sentinels (a name its cut changes, shared libraries) and a file of the user's own.
const StagedFile kStagedFiles[] = {
    {L"Veltrane.url", false, Fate::Gone},
    {L"Tessaly User's Manual.url", false, Fate::Gone},
    {L"unins001.dat", false, Fate::Gone},
    {L"unins001.exe", false, Fate::Gone},
    {L"WhatsNew.txt", true, Fate::Gone},
    {L"Licence.txt", true, Fate::Gone},
    {L"Readme.txt", true, Fate::Gone},
    {L"tmpVt.log", false, Fate::Gone},
    {L"Veltrane.exe", true, Fate::Gone},
    {L"Brendix.exe", true, Fate::Gone},
    {L"Tessaly.exe", true, Fate::Gone},
    {L"Orvale.dll", true, Fate::Stays, true},
    {L"SQLite.dll", true, Fate::Gone, true},
    {L"Themes\\skin.dll", true, Fate::Gone, true},
    {L"Themes\\\u041e\u0431\u043b\u0438\u043a.dll", true, Fate::Gone, true},
    {L"Themes\\skin.dll.bak", false, Fate::InFolder},
    {L"Themes\\Colours.ini", false, Fate::InFolder},
    {L"Languages\\german.dll", true, Fate::Gone, true},
    {L"Languages\\readme.txt", true, Fate::InFolder},
    {L"PlugIns\\Cookies.vtp", true, Fate::PlugIn},
    {L"PlugIns\\Sample.cfg", false, Fate::PlugIn},
    {L"Help\\Manual.chm", true, Fate::Scanned},
    {L"ReadOnly.txt", true, Fate::Scanned, false, true},
    {L"page.html", true, Fate::Stays},
    {L"Shared.ocx", true, Fate::Stays},
    {L"Notes.txt", false, Fate::Stays},
    {L"Themes\\Wallpaper.jpg", false, Fate::Users},
    {L"Themes\\OtherTheme.dll", false, Fate::Users, true},
    {L"Languages\\Notes.txt", false, Fate::Users},
    {L"PlugIns\\OtherPlugIn.dll", false, Fate::Users, true},
};
constexpr std::wstring_view kGenericNames[] = {L"unins001.dat", L"unins001.exe", L"WhatsNew.txt",
                                               L"Licence.txt",  L"Readme.txt",   L"SQLite.dll"};
// In a shared program folder these lose only what the log names and the product's plug-ins,
// and each goes only when that left it empty.
constexpr const wchar_t* kSharedNames[] = {L"Themes", L"Languages", L"PlugIns"};
constexpr wchar_t kComponent[] = L"Languages\\german.dll";
constexpr wchar_t kHangingLibrary[] = L"Languages\\Hangs.dll";
constexpr wchar_t kLockedFile[] = L"Locked.txt";
constexpr wchar_t kLockedTheme[] = L"Themes\\skin.dll";
constexpr wchar_t kOtherDriveFile[] = L"OtherDrive.txt"; // logged on drive D:
constexpr wchar_t kOpenLibrary[] = L"Themes\\skin.dll";
// Logged outside the program folder: the installer's own file, and, in a folder anyone may
// write, the files a planted line names (through a link in the folder, and by "..").
constexpr wchar_t kOutsideFile[] = L"\\Elsewhere\\Outside.txt";
constexpr const wchar_t* kVictims[] = {L"\\Victim\\planted.txt", L"\\Victim\\linked.txt",
                                       L"\\Victim\\dotdot.txt"};
// Logged, but beyond what the log or the system's usual path limit can name: they may stay, and
// their neighbours must (one of which a question mark, taken as a wildcard, would match).
constexpr wchar_t kBeyondCodePage[] = L"Name-\u0905\u0906.txt";
constexpr wchar_t kWildcardMatch[] = L"Name-ab.txt";

constexpr wchar_t kNewerPrograms[] = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
constexpr wchar_t kOlderPrograms[] = L"C:\\Documents and Settings\\All Users\\Start Menu\\Programs";
constexpr wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr wchar_t kCommonStartUp[] = L"Common Startup";
constexpr wchar_t kRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kProductKey[] = L"Software\\Veltrane";
constexpr wchar_t kOverrides[] = L"Software\\Wine\\DllOverrides";
constexpr wchar_t kSessionManager[] = L"System\\CurrentControlSet\\Control\\Session Manager";

struct RegistryItem {
    HKEY root;
    const wchar_t* key;
    const wchar_t* value; // nullptr: the key itself
    bool product;         // false: another program's, with a name close to the product's
    REGSAM view = 0;      // 0: the test program's own view of the registry
};
// A 32-bit program's HKLM\Software is the 32-bit view (WOW6432Node), where a 32-bit installer
// leaves the product; the other view's key of the same name is another edition's.
constexpr REGSAM kOtherView = sizeof(void*) == 4 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
const RegistryItem kRegistry[] = {
    {HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane_is1",
     nullptr, true},
    {HKEY_CURRENT_USER, kRun, L"Veltrane", true},
    {HKEY_CLASSES_ROOT, L".vtp", nullptr, true},
    {HKEY_CLASSES_ROOT, L"Veltrane.Tessaly\\DefaultIcon", nullptr, true},
    {HKEY_CLASSES_ROOT, L"Veltrane.Tessaly\\shell\\open\\command", nullptr, true},
    {HKEY_CLASSES_ROOT, L"Veltrane.Tessaly\\shell\\open", nullptr, true},
    {HKEY_CLASSES_ROOT, L"Veltrane.Tessaly\\shell", nullptr, true},
    {HKEY_CLASSES_ROOT, L"Veltrane.Tessaly", nullptr, true},
    {HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane_is2",
     nullptr, false},
    {HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane_is1",
     nullptr, false, kOtherView},
    {HKEY_CURRENT_USER, kRun, L"VeltraneHelper", false},
    {HKEY_CLASSES_ROOT, L".vtpx", nullptr, false},
    {HKEY_CLASSES_ROOT, L"Veltrane.Tessaly2\\shell\\open\\command", nullptr, false},
};
const RegistryItem kExtraVerb{HKEY_CLASSES_ROOT, L"Veltrane.Tessaly\\shell\\print\\command",
                              nullptr, false};

// The start-up entries the product set aside, by the tag of the list each goes back to, and
// where each must be once the settings are not kept: a blank in a name goes, a number goes back
// as a number, and an unknown tag's entry is dropped.
struct StartUpEntry {
    const wchar_t* stored;
    const wchar_t* text;
    HKEY root;           // nullptr: dropped
    const wchar_t* name; // in the Run key of `root`
};
const StartUpEntry kStartUp[] = {
    {L"HKCU:Vt E2e Tool", L"\"C:\\Tools\\tool.exe\" /min", HKEY_CURRENT_USER, L"VtE2eTool"},
    {L"hklm:VtE2eMachine", L"C:\\m.exe", HKEY_LOCAL_MACHINE, L"VtE2eMachine"},
    {L"STAR:VtE2eNumber", L"42", HKEY_CURRENT_USER, L"VtE2eNumber"},
    {L"HKCR:VtE2eLost", L"lost", nullptr, L"VtE2eLost"},
};

void Set(HKEY root, const std::wstring& key, const wchar_t* value, const std::wstring& text,
         REGSAM view = 0) {
    UniqueRegKey made;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, made.put(),
                        nullptr) != ERROR_SUCCESS ||
        RegSetValueExW(made.get(), value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot stage " + ToUtf8(key));
    }
}

bool There(HKEY root, const std::wstring& key, const wchar_t* value = nullptr, REGSAM view = 0) {
    UniqueRegKey opened;
    return RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | view, opened.put()) == ERROR_SUCCESS &&
           (!value || RegQueryValueExW(opened.get(), value, nullptr, nullptr, nullptr, nullptr) ==
                          ERROR_SUCCESS);
}

// The value, or the tree of the key's first part under the classes and the key under the
// others.
void RemoveItem(const RegistryItem& item) {
    if (item.value) {
        RegDeleteKeyValueW(item.root, item.key, item.value);
        return;
    }
    std::wstring top = item.key;
    top = item.root == HKEY_CLASSES_ROOT ? top.substr(0, top.find(L'\\')) : top;
    RegDeleteTreeW(item.root, top.c_str());
    RegDeleteKeyExW(item.root, top.c_str(), item.view, 0);
}

void RemoveProductKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kProductKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, kProductKey);
    for (const StartUpEntry& entry : kStartUp) {
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            RegDeleteKeyValueW(root, kRun, entry.name);
        }
    }
}

// A path as the installer writes it into its log: in the ANSI code page, characters it lacks
// made question marks.
std::string Ansi(const std::wstring& path) {
    const int length = static_cast<int>(path.size());
    const int size =
        WideCharToMultiByte(CP_ACP, 0, path.c_str(), length, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, path.c_str(), length, ansi.data(), size, nullptr, nullptr);
    return ansi;
}

// What the removal takes for the theme libraries (any name holding ".dll"), when the setup
// wants a Themes folder without any.
bool Unstaged(const StagedFile& file, const ProductSetup& setup) {
    const std::wstring_view path = file.path;
    return !setup.themeLibraries && path.starts_with(L"Themes\\") &&
           path.find(L".dll") != std::wstring_view::npos;
}

// Lets everyone write to the file or folder; under Wine its Unix mode is made o+rwx.
void OpenToAnyone(const std::wstring& path) {
    PSECURITY_DESCRIPTOR anyoneWrites = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;OICI;FA;;;WD)", SDDL_REVISION_1,
                                                         &anyoneWrites, nullptr);
    SetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, anyoneWrites);
    LocalFree(anyoneWrites);
}

// Whether the installer's log can name the path: the ANSI code page carries it.
bool InLogCodePage(const std::wstring& path) {
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), static_cast<int>(path.size()),
                        nullptr, 0, nullptr, &lossy);
    return !lossy;
}

std::wstring ProgramFolderOf(const ProductSetup& setup, const std::wstring& root) {
    switch (setup.place) {
    case Place::Desktop:
        return SpecialFolder(CSIDL_DESKTOPDIRECTORY);
    case Place::Documents:
        return SpecialFolder(CSIDL_PERSONAL);
    case Place::ProgramFiles:
        return SpecialFolder(CSIDL_PROGRAM_FILES);
    case Place::DriveRoot:
        return L"C:";
    case Place::ExistingFolder:
        return L"C:\\Tools";
    case Place::InCodePage:
        return root + (GetACP() == 1251  ? L"\\\u0412\u0435\u043b\u044c\u0442\u0440\u0430\u043d"
                       : GetACP() == 932 ? L"\\\u30bd\u30d5\u30c8\u8a2d\u5b9a"
                                         : L"\\V\u00e9ltrane \u00dcn\u00efcode");
    case Place::BeyondCodePage:
        return root + (GetACP() == 1251 ? L"\\\u0935\u0947\u0932" : L"\\\u0412\u0435\u043b");
    case Place::Own:
        break;
    }
    return setup.folder ? setup.folder : root + L"\\" + setup.folderName;
}

// A path too long for the system's usual limit, made through the long form of the path.
std::wstring LongPath(const std::wstring& app) {
    std::wstring folder = app + L"Deep";
    while (folder.size() < 280) {
        folder += L"\\folder-of-a-long-path";
    }
    return folder;
}

} // namespace

Product::Product(const std::wstring& name, const ProductSetup& setup)
    : root_(L"C:\\vt-tests\\" + name), app_(ProgramFolderOf(setup, root_)), setup_(setup),
      record_(root_ + L"\\unregistered.txt") {
    if (fs::exists(UserDataFolder())) {
        throw std::runtime_error("some earlier run left the user's data behind");
    }
    RemoveTree(root_);
    existed_ = fs::exists(app_ + L"\\");
    std::error_code none;
    for (const fs::directory_entry& entry : fs::directory_iterator(app_ + L"\\", none)) {
        before_.push_back(entry.path().filename().wstring());
    }
    RemoveProductKey();
    StageFiles();
    StageOutside();
    StageRegistry();
    if (setup_.parent != ParentBatch::None) {
        WriteTestFile(root_ + L"\\clearup.bat", "@echo ran>\"" + ToUtf8(root_) + "\\ran\"\r\n");
    }
    if (setup_.parent == ParentBatch::WorldWritable) {
        OpenToAnyone(root_);
    }
    if (setup_.open != Openness::Closed) {
        OpenToAnyone(setup_.open == Openness::Folder ? app_ : app_ + L"\\" + kOpenLibrary);
    }
    if (setup_.readOnlyUninstaller) {
        SetFileAttributesW(Uninstaller().c_str(), FILE_ATTRIBUTE_READONLY);
    }
    if (setup_.plants) {
        StagePlants();
    }
    SetEnvironmentVariableW(L"VT_UNREGISTER_RECORD", record_.c_str());
    programBefore_ = Snapshot(app_ + L"\\");
    userDataBefore_ = Snapshot(UserDataFolder());
}

void Product::StageFiles() {
    std::wstring probe = Environment(L"VT_COM_PROBE");
    std::replace(probe.begin(), probe.end(), L'/', L'\\');
    const std::wstring app = app_ + L"\\";
    fs::create_directories(app_ + L"\\");
    fs::copy_file(Environment(L"VT_UNINSTALLER"), Uninstaller());
    // The installer's record around each path is its own: the bytes vary from run to run of
    // the table (printable ones too), each path behind some and, for a file, followed by some
    // (never a "." or a NUL) and the NUL pair. A folder whose name the code page cannot carry
    // it names, and its files, by the folder's short form.
    std::minstd_rand random(static_cast<unsigned>(std::hash<std::wstring>()(root_)));
    const auto byte = [&random](std::string_view not_ = {}) {
        char c = '\0';
        do {
            c = static_cast<char>(random());
        } while (not_.find(c) != std::string_view::npos);
        return c;
    };
    const auto some = [&](std::size_t most, std::string_view not_ = {}) {
        std::string made(random() % (most + 1), '\0');
        std::generate(made.begin(), made.end(), [&] { return byte(not_); });
        return made;
    };
    wchar_t shortForm[MAX_PATH] = L"";
    const DWORD length = GetShortPathNameW(app_.c_str(), shortForm, MAX_PATH);
    const std::wstring inLog =
        InLogCodePage(app_) || length == 0 || length >= MAX_PATH ? app_ : shortForm;
    const auto named = [&](const std::wstring& path) {
        return Ansi(path.starts_with(app_) ? inLog + path.substr(app_.size()) : path);
    };
    std::string log = some(24);
    const auto logged = [&](const std::wstring& path, char drive = 'C') {
        log += some(4) + drive + named(path).substr(1) + some(4, std::string_view(".:\0", 3)) +
               std::string(2, '\0');
    };
    for (const StagedFile& file : kStagedFiles) {
        if ((file.fate == Fate::Users && setup_.place < Place::Desktop) || Unstaged(file, setup_)) {
            continue;
        }
        if (file.library) {
            fs::create_directories(fs::path(app + file.path).parent_path());
            fs::copy_file(probe, app + file.path);
        } else {
            WriteTestFile(app + file.path, "staged\r\n");
        }
        if (file.readOnly) {
            SetFileAttributesW((app + file.path).c_str(), FILE_ATTRIBUTE_READONLY);
        }
        if (file.logged) {
            logged(app + file.path);
        }
    }
    logged(app + L"unins000.exe");
    logged(app + L"Missing.txt");
    WriteTestFile(app + kOtherDriveFile, "staged\r\n");
    logged(app + kOtherDriveFile, 'D');
    for (const wchar_t* file : {kBeyondCodePage, kWildcardMatch}) {
        WriteTestFile(app + file, "staged\r\n");
    }
    logged(app + kBeyondCodePage);
    const std::wstring deep = LongPath(app);
    for (std::size_t at = app.size(); at != std::wstring::npos; at = deep.find(L'\\', at + 1)) {
        CreateDirectoryW((L"\\\\?\\" + deep.substr(0, at)).c_str(), nullptr);
    }
    CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr);
    for (const wchar_t* file : {L"\\long.txt", L"\\keep.txt"}) {
        const UniqueFile made(CreateFileW((L"\\\\?\\" + deep + file).c_str(), GENERIC_WRITE, 0,
                                          nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    logged(deep + L"\\long.txt");
    if (setup_.hangingLibrary) {
        fs::copy_file(probe, app + kHangingLibrary);
    }
    if (setup_.lockedFile) {
        WriteTestFile(app + kLockedFile, "locked\r\n");
        logged(app + kLockedFile);
        locked_.reset(CreateFileW((app + kLockedFile).c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
        // A theme the shell uses: others may load it, not delete it.
        lockedTheme_.reset(CreateFileW((app + kLockedTheme).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
    }
    // The installation folder itself, marked as a folder, unless it was there before. A known
    // folder is named all the same: that alone must make it shared.
    if (setup_.place != Place::ExistingFolder) {
        // The byte before the mark is printable: a reading that took the mark to follow the path
        // at once would see a longer name.
        log += some(4) + named(app_) + static_cast<char>('!' + random() % 94) + '\x82' + byte(":") +
               byte(std::string_view("\0", 1)) + std::string(2, '\0');
    }
    WriteTestFile(root_ + kOutsideFile, "the installer's\r\n");
    logged(root_ + kOutsideFile);
    if (setup_.open == Openness::Folder) {
        for (const wchar_t* victim : kVictims) {
            WriteTestFile(root_ + victim, "not the product's\r\n");
        }
        links_.push_back(std::make_unique<TestLink>(app + L"Door", root_ + L"\\Victim"));
        for (const std::wstring& planted :
             {root_ + kVictims[0], app + L"Door\\linked.txt", app + L"..\\Victim\\dotdot.txt"}) {
            logged(planted);
        }
    }
    if (setup_.log == InstallLog::Empty) {
        log.clear();
    } else if (setup_.log == InstallLog::RandomBytes) {
        std::mt19937 bytes(9); // the same bytes in every run
        log.resize(1 << 20);
        std::generate(log.begin(), log.end(), [&bytes] { return static_cast<char>(bytes()); });
    }
    WriteTestFile(app + L"unins000.dat", log);
    if (setup_.log == InstallLog::HeldOpen) {
        heldLog_.reset(CreateFileW((app + L"unins000.dat").c_str(), GENERIC_READ, 0, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    }
    if (setup_.language.build) {
        fs::remove(app + kComponent);
        fs::copy_file(Environment(setup_.language.build), app + kComponent);
        if (setup_.language.registered) {
            component_ = std::make_unique<RegisteredComponent>(app + kComponent);
        }
    }
    if (setup_.userData) {
        const std::wstring data = UserDataFolder() + L"\\";
        for (std::size_t i = 0; i < std::size(kUserDataFiles) - setup_.missingUserFiles; ++i) {
            WriteTestFile(data + kUserDataFiles[i], "the user's settings\r\n");
        }
        WriteTestFile(data + L"Backups\\Settings.ini", "the user's backup\r\n");
    }
    WriteTestFile(root_ + L"\\Veltrane Backup\\Readme.txt", "the user's own\r\n");
}

void Product::StageOutside() {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kShellFolders, kCommonStartUp, RRF_RT_ANY | RRF_NOEXPAND,
                     nullptr, nullptr, &bytes) == ERROR_SUCCESS) {
        savedStartUp_.resize(bytes);
        RegGetValueW(HKEY_LOCAL_MACHINE, kShellFolders, kCommonStartUp, RRF_RT_ANY | RRF_NOEXPAND,
                     nullptr, savedStartUp_.data(), &bytes);
    }
    std::vector<std::wstring> places = {kNewerPrograms, kOlderPrograms, L"C:"};
    std::wstring startUp = setup_.startUp == StartUpFolder::Missing ? root_ + L"\\None" : L"";
    if (setup_.startUp == StartUpFolder::Elsewhere) {
        places[1] = root_ + L"\\All Users\\Programs";
        startUp = places[1] + L"\\StartUp";
        fs::create_directories(startUp);
    } else if (setup_.startUp == StartUpFolder::DriveRoot) {
        startUp = L"C:\\";
    }
    if (!startUp.empty()) {
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kShellFolders, kCommonStartUp, REG_SZ, startUp.c_str(),
                        static_cast<DWORD>((startUp.size() + 1) * sizeof(wchar_t)));
    }
    // A group where the product puts one, and where a group name joined to "C:" would lead.
    places.resize(setup_.startUp == StartUpFolder::AsInstalled ? 1 : 3);
    places.push_back(AppDataFolder() + L"\\Microsoft\\Internet Explorer\\Quick Launch");
    places.push_back(SpecialFolder(CSIDL_DESKTOPDIRECTORY));
    for (const std::wstring& place : places) {
        const bool shortcuts = place == places.end()[-1] || place == places.end()[-2];
        for (const wchar_t* name : {L"\\Veltrane", L"\\Veltrane Tools"}) {
            const std::wstring item = place + name + (shortcuts ? L".lnk" : L"");
            WriteTestFile(shortcuts ? item : item + L"\\Veltrane.lnk", "shortcut\r\n");
            outside_.push_back(item);
        }
    }
    if (setup_.links) {
        WriteTestFile(root_ + L"\\Linked\\keep.txt", "the link's target\r\n");
        std::vector<std::wstring> holders = {app_ + L"\\Themes", app_ + L"\\Languages",
                                             app_ + L"\\PlugIns"};
        for (const std::wstring& item : outside_) {
            if (item.ends_with(L"\\Veltrane") && item != L"C:\\Veltrane") {
                holders.push_back(item);
            }
        }
        if (setup_.userData) {
            holders.push_back(UserDataFolder());
        }
        for (const std::wstring& holder : holders) {
            links_.push_back(std::make_unique<TestLink>(holder + L"\\Link", root_ + L"\\Linked"));
        }
    }
}

void Product::StageRegistry() {
    for (const RegistryItem& item : kRegistry) {
        RemoveItem(item);
    }
    for (const RegistryItem& item : kRegistry) {
        Set(item.root, item.key, item.value, L"x", item.view);
    }
    if (setup_.extraVerb) {
        Set(kExtraVerb.root, kExtraVerb.key, nullptr, L"x");
    }
    const std::wstring key = kProductKey;
    if (setup_.language.setting) {
        Set(HKEY_CURRENT_USER, key, L"Language", setup_.language.setting);
    }
    if (setup_.productKey) {
        Set(HKEY_CURRENT_USER, key + L"\\Settings", L"Theme", L"Dark");
        Set(HKEY_CURRENT_USER, key + L"\\Schedule", L"Daily", L"1");
        for (const StartUpEntry& entry : kStartUp) {
            Set(HKEY_CURRENT_USER, key + L"\\StartUp", entry.stored, entry.text);
        }
    }
    if (setup_.otherSubkey) {
        Set(HKEY_CURRENT_USER, key + L"\\Other", L"x", L"y");
    }
}

// Wine is told to prefer a library beside a program to its own, as Windows does, and the old
// search order looks in the current folder before the system folder. version.dll is not
// planted: Wine's own user32 imports it (Windows' does not), so Wine would load a planted one
// before the program's first instruction.
void Product::StagePlants() {
    const std::wstring current = root_ + L"\\cd";
    fs::create_directories(current);
    currentFolder_ = fs::current_path().wstring();
    SetCurrentDirectoryW(current.c_str());
    for (const wchar_t* library : {L"uxtheme", L"comctl32"}) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kOverrides, library, REG_SZ, L"n,b", sizeof L"n,b");
    }
    const DWORD unsafe = 0;
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kSessionManager, L"SafeDllSearchMode", REG_DWORD, &unsafe,
                    sizeof unsafe);
    for (const std::wstring& folder : {app_, current}) {
        for (const auto& [file, source] : {std::pair{L"\\cmd.exe", L"VT_PLANT"},
                                           {L"\\regsvr32.exe", L"VT_PLANT"},
                                           {L"\\uxtheme.dll", L"VT_PLANTED_LIBRARY"},
                                           {L"\\comctl32.dll", L"VT_PLANTED_LIBRARY"}}) {
            plants_.push_back(folder + file);
            fs::copy_file(Environment(source), plants_.back());
        }
    }
    // Loaded by name by a program beside them and, from the current folder, by one elsewhere; a
    // program named without its folder is taken from the current folder.
    const std::wstring libraries = L"uxtheme.dll comctl32.dll";
    for (const auto& [exe, arguments] : {std::pair{plants_[0], libraries},
                                         {plants_[1], std::wstring()},
                                         {Environment(L"VT_PLANT"), libraries},
                                         {std::wstring(L"cmd.exe"), std::wstring()},
                                         {std::wstring(L"regsvr32.exe"), std::wstring()}}) {
        EXPECT_TRUE(WatchedProcess(exe, arguments).WaitForExit(60000));
    }
    fs::remove(Environment(L"VT_PLANT") + L".ran");
    for (const std::wstring& plant : plants_) {
        EXPECT_TRUE(fs::remove(plant + L".ran")) << ToUtf8(plant) << " does not work";
    }
}

bool Product::SpeaksGerman() const {
    return setup_.language.registered && setup_.language.build && setup_.open != Openness::Folder &&
           std::wstring_view(setup_.language.build) == L"VT_GERMAN" &&
           _wcsicmp(setup_.language.setting, L"german") == 0;
}

Product::~Product() {
    if (setup_.plants) {
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSessionManager, L"SafeDllSearchMode");
        RegDeleteTreeW(HKEY_CURRENT_USER, kOverrides);
        SetCurrentDirectoryW(currentFolder_.c_str());
    }
    // Links go first: nothing may walk through one to what it points to.
    links_.clear();
    SetEnvironmentVariableW(L"VT_UNREGISTER_RECORD", nullptr);
    locked_.reset();
    lockedTheme_.reset();
    heldLog_.reset();
    component_.reset();
    for (const RegistryItem& item : kRegistry) {
        RemoveItem(item);
    }
    RemoveProductKey();
    if (savedStartUp_.empty()) {
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kShellFolders, kCommonStartUp);
    } else {
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kShellFolders, kCommonStartUp, REG_EXPAND_SZ,
                        savedStartUp_.data(), static_cast<DWORD>(savedStartUp_.size()));
    }
    TakePendingRestartDeletes();
    for (const std::wstring& path : outside_) {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    // The batch of a finished run may still be at work in the folder: the folder goes after it.
    (void)PollUntil([this] { return !IsThere(app_ + L"\\clearup.bat"); }, 60000);
    RemoveTree(root_);
    // A program folder that was there before stays, and so does what it held: within that,
    // only the staged files go.
    const auto existed = [this](const std::wstring& path) {
        const std::wstring top = path.substr(0, path.find(L'\\'));
        return std::find(before_.begin(), before_.end(), top) != before_.end();
    };
    std::error_code none;
    for (const fs::directory_entry& entry : fs::directory_iterator(app_ + L"\\", none)) {
        if (!existed_ || !existed(entry.path().filename().wstring())) {
            RemoveTree(entry.path().wstring());
        }
    }
    for (const StagedFile& file : kStagedFiles) {
        if (existed_ && existed(file.path)) {
            SetFileAttributesW((app_ + L"\\" + file.path).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW((app_ + L"\\" + file.path).c_str());
        }
    }
    if (!existed_) {
        RemoveDirectoryW(app_.c_str());
    }
    RemoveTree(UserDataFolder());
}

void Product::Check(const RunChoices& choices) const {
    const std::wstring app = app_ + L"\\";
    if (!choices.finished) {
        EXPECT_EQ(Snapshot(app_ + L"\\"), programBefore_) << "the program folder changed";
        EXPECT_EQ(Snapshot(UserDataFolder()), userDataBefore_) << "the user's data changed";
        for (const RegistryItem& item : kRegistry) {
            EXPECT_TRUE(There(item.root, item.key, item.value, item.view)) << ToUtf8(item.key);
        }
        for (const std::wstring& path : outside_) {
            EXPECT_TRUE(IsThere(path)) << ToUtf8(path);
        }
        EXPECT_FALSE(IsThere(record_)) << "a library was unregistered";
        EXPECT_EQ(There(HKEY_CURRENT_USER, kProductKey),
                  setup_.productKey || setup_.language.setting);
        return;
    }
    // In a folder anyone may write, no batch is started from there: the system deletes the
    // uninstaller at the restart.
    const bool open = setup_.open == Openness::Folder;
    EXPECT_TRUE(PollUntil(
        [&] { return IsThere(Uninstaller()) == open && !IsThere(app + L"clearup.bat"); }, 60000))
        << "the uninstaller did not remove itself";

    // Wine acts on what a link points to even when asked for the link: there a link cannot be
    // removed, and a folder that holds one is left whole rather than entered.
    const bool foldersGo = !(setup_.links && UnderWine());
    const bool plugInsGo = !choices.silent && !choices.keepPlugIns;
    // A file the ANSI code page cannot carry was logged with question marks: the log names
    // nothing there.
    const bool logNames = setup_.log == InstallLog::Written;
    const bool scanDeletes = !choices.keepPlugIns && logNames;
    // A log that was read but does not name the folder among those it made: shared as well.
    const bool shared = setup_.place >= Place::Desktop || setup_.log == InstallLog::Empty ||
                        setup_.log == InstallLog::RandomBytes;
    // A component the run itself speaks through is still loaded: it goes at the restart.
    const bool componentInUse = SpeaksGerman();
    for (const std::wstring& plant : plants_) {
        EXPECT_FALSE(IsThere(plant + L".ran")) << ToUtf8(plant) << " was used";
    }
    EXPECT_EQ(IsThere(root_ + L"\\ran"), setup_.parent == ParentBatch::Trusted)
        << "the parent folder's batch";
    // A library still loaded or held goes at the restart, and so does its folder; whatever else
    // of that folder the shell's deletion reaches before it fails on the library is uncertain.
    std::vector<std::wstring> restart;
    if (componentInUse) {
        restart = {kComponent, L"Languages"};
    }
    if (setup_.lockedFile) {
        restart.insert(restart.end(), {kLockedTheme, L"Themes"});
    }
    if (open) {
        restart.push_back(L"unins000.exe");
    }
    const auto left = [&restart](std::wstring_view path) {
        return std::find(restart.begin(), restart.end(), path) != restart.end();
    };
    // A Themes folder of the product's own without a library in it may be the user's: it stays.
    const auto themesKept = [&](std::wstring_view folder) {
        return !shared && !setup_.themeLibraries && folder == L"Themes";
    };
    std::map<std::wstring, bool> keeps; // a folder of kSharedNames, and whether anything stays
    std::vector<std::wstring> expected; // the libraries unregistered, each by the regsvr32 of its
    wchar_t tool[MAX_PATH] = L"";       // bitness: a 32-bit one by SysWOW64's (its system32)
    (sizeof(void*) == 4 ? GetSystemWow64DirectoryW : GetSystemDirectoryW)(tool, MAX_PATH);
    const std::wstring by = L'\t' + std::wstring(tool) + L"\\regsvr32.exe";
    for (const StagedFile& file : kStagedFiles) {
        const std::wstring_view path = file.path;
        const std::wstring folder(path.substr(0, path.find(L'\\')));
        const bool inShared = std::find(std::begin(kSharedNames), std::end(kSharedNames), folder) !=
                              std::end(kSharedNames);
        const bool shown = file.logged && logNames && InLogCodePage(file.path);
        if (Unstaged(file, setup_) || (file.fate == Fate::Users && setup_.place < Place::Desktop) ||
            (file.fate == Fate::InFolder && left(folder))) {
            continue;
        }
        // The shell deletes a read-only file when told not to ask; Wine's shell leaves it. A log
        // another account may have written deletes through the file's own handle, read-only or not.
        bool gone = !left(path) &&
                    (file.fate == Fate::Gone ||
                     (file.fate == Fate::InFolder &&
                      ((foldersGo && !themesKept(folder)) || (file.logged && scanDeletes))) ||
                     (file.fate == Fate::PlugIn && plugInsGo && (file.logged || foldersGo)) ||
                     (file.fate == Fate::Scanned && scanDeletes &&
                      !(file.readOnly && UnderWine() && !open)));
        // In a shared folder a name that does not carry the product's goes only when the log
        // names it.
        const bool generic = shared && std::find(std::begin(kGenericNames), std::end(kGenericNames),
                                                 path) != std::end(kGenericNames);
        gone = gone && (shown || !generic);
        if (shared && inShared) {
            gone = file.fate != Fate::Users && ((shown && (folder != L"PlugIns" || plugInsGo)) ||
                                                (path.ends_with(L".vtp") && plugInsGo));
            keeps[folder] = keeps[folder] || !gone;
        }
        EXPECT_EQ(IsThere(app + file.path), !gone) << ToUtf8(file.path);
        if (file.library && file.fate != Fate::Users &&
            (shown || !(generic || (shared && inShared))) &&
            !(setup_.language.build && path == kComponent) && !open &&
            !(setup_.open == Openness::OneLibrary && path == kOpenLibrary)) {
            expected.push_back(app + file.path + by);
        }
    }
    EXPECT_EQ(IsThere(app + kOtherDriveFile), !scanDeletes) << "logged on drive D:";
    // A log anyone may have written names nothing outside the program folder.
    EXPECT_EQ(IsThere(root_ + kOutsideFile), !scanDeletes || open) << "logged outside";
    for (const wchar_t* victim : kVictims) {
        EXPECT_EQ(IsThere(root_ + victim), open) << ToUtf8(victim);
    }
    EXPECT_EQ(IsThere(app + L"unins000.dat"), setup_.log == InstallLog::HeldOpen);
    EXPECT_EQ(IsThere(app + kLockedFile), setup_.lockedFile) << "a file held open stays";
    for (const wchar_t* folder : kSharedNames) {
        const bool stays = shared ? keeps[folder]
                                  : !foldersGo || left(folder) || themesKept(folder) ||
                                        (folder == std::wstring_view(L"PlugIns") && !plugInsGo);
        EXPECT_EQ(IsThere(app + folder), stays) << ToUtf8(folder);
    }
    // The scan removes no folder, and nothing the program folder.
    EXPECT_TRUE(IsThere(app + L"Help"));
    for (const std::wstring& path :
         {root_ + L"\\Veltrane Backup\\Readme.txt", app + kBeyondCodePage, app + kWildcardMatch,
          L"\\\\?\\" + LongPath(app) + L"\\keep.txt"}) {
        EXPECT_TRUE(IsThere(path)) << ToUtf8(path);
    }
    EXPECT_EQ(IsThere(root_ + L"\\Linked\\keep.txt"), setup_.links);
    for (const std::wstring& path : outside_) {
        const bool product = path.ends_with(L"\\Veltrane") || path.ends_with(L"\\Veltrane.lnk");
        const bool group = path.ends_with(L"\\Veltrane") && path != L"C:\\Veltrane";
        EXPECT_EQ(IsThere(path), !product || path == L"C:\\Veltrane" || (group && !foldersGo))
            << ToUtf8(path);
    }
    // Leaf first: another verb keeps shell and the identifier.
    for (const RegistryItem& item : kRegistry) {
        const std::wstring key = item.key;
        const bool kept =
            !item.product ||
            (setup_.extraVerb && (key.ends_with(L"\\shell") || key == L"Veltrane.Tessaly"));
        EXPECT_EQ(There(item.root, item.key, item.value, item.view), kept)
            << ToUtf8(key) << " " << ToUtf8(item.value ? item.value : L"");
    }

    // Not keeping the settings removes the user's data, puts every kept start-up entry with a
    // known tag back into its list and removes the product's key, leaf first.
    const bool settingsGo = !choices.silent && !choices.keepSettings;
    if (settingsGo && setup_.userData) {
        EXPECT_EQ(IsThere(UserDataFolder()), !foldersGo) << "the user's data";
    } else {
        EXPECT_EQ(Snapshot(UserDataFolder()), userDataBefore_) << "the user's data changed";
    }
    if (setup_.productKey) {
        EXPECT_EQ(There(HKEY_CURRENT_USER, kProductKey), !settingsGo || setup_.otherSubkey);
        EXPECT_EQ(There(HKEY_CURRENT_USER, std::wstring(kProductKey) + L"\\StartUp"), !settingsGo);
        for (const StartUpEntry& entry : kStartUp) {
            for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
                wchar_t text[64] = L"";
                DWORD type = 0;
                DWORD size = sizeof text;
                const bool written = RegGetValueW(root, kRun, entry.name, RRF_RT_ANY, &type, text,
                                                  &size) == ERROR_SUCCESS;
                EXPECT_EQ(written, settingsGo && root == entry.root) << ToUtf8(entry.stored);
                DWORD number = 0;
                std::memcpy(&number, text, sizeof number);
                if (written) {
                    EXPECT_EQ(type == REG_DWORD ? std::to_wstring(number) : std::wstring(text),
                              entry.text);
                    EXPECT_EQ(type, std::wstring_view(entry.text) == L"42" ? REG_DWORD : REG_SZ);
                }
            }
        }
    }

    const std::wstring pending = TakePendingRestartDeletes();
    std::size_t count = 0;
    for (std::size_t at = 0; (at = pending.find(L"\\??\\" + app, at)) != std::wstring::npos; ++at) {
        ++count;
    }
    EXPECT_EQ(count, restart.size()) << "what is left for the restart";
    for (const std::wstring& path : restart) {
        EXPECT_NE(pending.find(L"\\??\\" + app + path + L'\0'), std::wstring::npos) << ToUtf8(path);
    }

    if (setup_.hangingLibrary) {
        expected.push_back(app + kHangingLibrary + by);
    }
    std::vector<std::wstring> unregistered;
    std::ifstream record{fs::path(record_)};
    for (std::string line; std::getline(record, line);) {
        unregistered.push_back(FromUtf8(line));
    }
    std::sort(expected.begin(), expected.end());
    std::sort(unregistered.begin(), unregistered.end());
    EXPECT_EQ(unregistered, expected);
}

} // namespace vt::test
