#include "tests/support/installed_product.h"

#include "tests/support/fixtures.h"
#include "tests/support/text.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
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
    {L"Themes\\skin.dll.bak", true, Fate::InFolder},
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
// In a folder that was there before the product, these lose only what the log names and the
// product's plug-ins, and each goes only when that left it empty.
constexpr const wchar_t* kSharedNames[] = {L"Themes", L"Languages", L"PlugIns"};
constexpr wchar_t kHangingLibrary[] = L"Languages\\Hangs.dll";
constexpr wchar_t kLockedFile[] = L"Locked.txt";
constexpr wchar_t kOtherDriveFile[] = L"OtherDrive.txt"; // logged on drive D:
// Logged, but beyond what the log or the system's usual path limit can name: they may stay, and
// their neighbours must (one of which a question mark, taken as a wildcard, would match).
constexpr wchar_t kBeyondCodePage[] = L"Name-\u0905\u0906.txt";
constexpr wchar_t kWildcardMatch[] = L"Name-ab.txt";

constexpr wchar_t kNewerPrograms[] = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
constexpr wchar_t kOlderPrograms[] = L"C:\\Documents and Settings\\All Users\\Start Menu\\Programs";
constexpr wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr wchar_t kCommonStartUp[] = L"Common Startup";

struct RegistryItem {
    HKEY root;
    const wchar_t* key;
    const wchar_t* value; // nullptr: the key itself
    bool product;         // false: another program's, with a name close to the product's
};
const RegistryItem kRegistry[] = {
    {HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane_is1",
     nullptr, true},
    {HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Veltrane", true},
    {HKEY_CLASSES_ROOT, L".vtp", nullptr, true},
    {HKEY_CLASSES_ROOT, L"Veltrane.Tessaly\\DefaultIcon", nullptr, true},
    {HKEY_CLASSES_ROOT, L"Veltrane.Tessaly\\shell\\open\\command", nullptr, true},
    {HKEY_CLASSES_ROOT, L"Veltrane.Tessaly\\shell\\open", nullptr, true},
    {HKEY_CLASSES_ROOT, L"Veltrane.Tessaly\\shell", nullptr, true},
    {HKEY_CLASSES_ROOT, L"Veltrane.Tessaly", nullptr, true},
    {HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane_is2",
     nullptr, false},
    {HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"VeltraneHelper",
     false},
    {HKEY_CLASSES_ROOT, L".vtpx", nullptr, false},
    {HKEY_CLASSES_ROOT, L"Veltrane.Tessaly2\\shell\\open\\command", nullptr, false},
};
const RegistryItem kExtraVerb{HKEY_CLASSES_ROOT, L"Veltrane.Tessaly\\shell\\print\\command",
                              nullptr, false};

void SetItem(const RegistryItem& item) {
    if (RegSetKeyValueW(item.root, item.key, item.value, REG_SZ, L"x", sizeof L"x") !=
        ERROR_SUCCESS) {
        throw std::runtime_error("cannot stage " + ToUtf8(item.key));
    }
}

bool ItemThere(const RegistryItem& item) {
    UniqueRegKey key;
    return RegOpenKeyExW(item.root, item.key, 0, KEY_READ, key.put()) == ERROR_SUCCESS &&
           (!item.value || RegQueryValueExW(key.get(), item.value, nullptr, nullptr, nullptr,
                                            nullptr) == ERROR_SUCCESS);
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
    RegDeleteKeyW(item.root, top.c_str());
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

// Whether the installer's log can name the path: the ANSI code page carries it.
bool InLogCodePage(const std::wstring& path) {
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), static_cast<int>(path.size()),
                        nullptr, 0, nullptr, &lossy);
    return !lossy;
}

// The folder of kSharedNames that the path lies in, or "".
std::wstring SharedNameOf(const std::wstring& path) {
    const std::wstring top = path.substr(0, path.find(L'\\'));
    return std::find(std::begin(kSharedNames), std::end(kSharedNames), top) !=
                   std::end(kSharedNames)
               ? top
               : L"";
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

InstalledProduct::InstalledProduct(const StagedProduct& product, InstallOptions options)
    : product_(product), options_(options), record_(product.Root() + L"\\unregistered.txt") {
    std::wstring probe = Environment(L"VT_COM_PROBE");
    std::replace(probe.begin(), probe.end(), L'/', L'\\');
    if (probe.empty() || !fs::exists(probe)) {
        throw std::runtime_error("VT_COM_PROBE names no library");
    }
    const std::wstring app = product.ProgramFolder() + L"\\";
    // Each path behind bytes of the installer's record, followed by two more and the NUL pair.
    std::string log("VT setup log 3\0\0\0\0", 18);
    const auto logged = [&log](const std::wstring& path) {
        log += "\x01\x20" + Ansi(path) + std::string("AB\0\0\x05", 5);
    };
    const bool shared = product.Place() != ProgramPlace::OwnFolder;
    for (const StagedFile& file : kStagedFiles) {
        if (file.fate == Fate::Users && !shared) {
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
    logged(L"D" + app.substr(1) + kOtherDriveFile);
    for (const wchar_t* file : {kBeyondCodePage, kWildcardMatch}) {
        WriteTestFile(app + file, "staged\r\n");
    }
    logged(app + kBeyondCodePage);
    const std::wstring deep = LongPath(app);
    for (std::size_t at = app.size(); (at = deep.find(L'\\', at + 1)) != std::wstring::npos;) {
        CreateDirectoryW((L"\\\\?\\" + deep.substr(0, at)).c_str(), nullptr);
    }
    CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr);
    for (const wchar_t* file : {L"\\long.txt", L"\\keep.txt"}) {
        const UniqueFile made(CreateFileW((L"\\\\?\\" + deep + file).c_str(), GENERIC_WRITE, 0,
                                          nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    logged(deep + L"\\long.txt");
    if (options.hangingLibrary) {
        fs::copy_file(probe, app + kHangingLibrary);
    }
    if (options.lockedFile) {
        WriteTestFile(app + kLockedFile, "locked\r\n");
        logged(app + kLockedFile);
        locked_.reset(CreateFileW((app + kLockedFile).c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    }
    // The installation folder itself, marked as a folder, unless it was there before. A known
    // folder is named all the same: that alone must make it shared.
    if (product.Place() != ProgramPlace::ExistingFolder) {
        log += "\x01\x20" + Ansi(product.ProgramFolder()) + std::string("\x01\x82\x02\x03\0\0", 6);
    }
    if (options.log == InstallLog::Empty) {
        log.clear();
    } else if (options.log == InstallLog::RandomBytes) {
        std::mt19937 bytes(9); // the same bytes in every run
        log.resize(1 << 20);
        std::generate(log.begin(), log.end(), [&bytes] { return static_cast<char>(bytes()); });
    }
    WriteTestFile(Log(), log);
    if (options.log == InstallLog::HeldOpen) {
        heldLog_.reset(
            CreateFileW(Log().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    }
    WriteTestFile(product.Root() + L"\\Veltrane Backup\\Readme.txt", "the user's own\r\n");

    DWORD bytes = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kShellFolders, kCommonStartUp, RRF_RT_ANY | RRF_NOEXPAND,
                     nullptr, nullptr, &bytes) == ERROR_SUCCESS) {
        savedStartUp_.resize(bytes);
        RegGetValueW(HKEY_LOCAL_MACHINE, kShellFolders, kCommonStartUp, RRF_RT_ANY | RRF_NOEXPAND,
                     nullptr, savedStartUp_.data(), &bytes);
    }
    std::vector<std::wstring> places = {kNewerPrograms, kOlderPrograms, L"C:"};
    std::wstring startUp =
        options.startUp == StartUpFolder::Missing ? product.Root() + L"\\None" : L"";
    if (options.startUp == StartUpFolder::Elsewhere) {
        places[1] = product.Root() + L"\\All Users\\Programs";
        startUp = places[1] + L"\\StartUp";
        fs::create_directories(startUp);
    } else if (options.startUp == StartUpFolder::DriveRoot) {
        startUp = L"C:\\";
    }
    if (!startUp.empty()) {
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kShellFolders, kCommonStartUp, REG_SZ, startUp.c_str(),
                        static_cast<DWORD>((startUp.size() + 1) * sizeof(wchar_t)));
    }
    // A group where the product puts one, and where a group name joined to "C:" would lead.
    places.resize(options.startUp == StartUpFolder::AsInstalled ? 1 : 3);
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

    if (options.links) {
        WriteTestFile(product.Root() + L"\\Linked\\keep.txt", "the link's target\r\n");
        std::vector<std::wstring> holders = {app + L"Themes", app + L"Languages", app + L"PlugIns"};
        for (const std::wstring& item : outside_) {
            if (item.ends_with(L"\\Veltrane") && item != L"C:\\Veltrane") {
                holders.push_back(item);
            }
        }
        for (const std::wstring& holder : holders) {
            links_.push_back(
                std::make_unique<TestLink>(holder + L"\\Link", product.Root() + L"\\Linked"));
        }
    }
    for (const RegistryItem& item : kRegistry) {
        RemoveItem(item);
        SetItem(item);
    }
    if (options.extraVerb) {
        SetItem(kExtraVerb);
    }
    SetEnvironmentVariableW(L"VT_UNREGISTER_RECORD", record_.c_str());
}

InstalledProduct::~InstalledProduct() {
    // Links go first: nothing may walk through one to what it points to.
    links_.clear();
    SetEnvironmentVariableW(L"VT_UNREGISTER_RECORD", nullptr);
    locked_.reset();
    heldLog_.reset();
    for (const StagedFile& file : kStagedFiles) {
        SetFileAttributesW((product_.ProgramFolder() + L"\\" + file.path).c_str(),
                           FILE_ATTRIBUTE_NORMAL);
    }
    for (const RegistryItem& item : kRegistry) {
        RemoveItem(item);
    }
    if (savedStartUp_.empty()) {
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kShellFolders, kCommonStartUp);
    } else {
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kShellFolders, kCommonStartUp, REG_EXPAND_SZ,
                        savedStartUp_.data(), static_cast<DWORD>(savedStartUp_.size()));
    }
    for (const std::wstring& path : outside_) {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
}

void InstalledProduct::ExpectRemoved(const RemovalChoices& choices) const {
    const std::wstring app = product_.ProgramFolder() + L"\\";
    const bool plugInsGo = !choices.silent && !choices.keepPlugIns;
    const bool logNames = options_.log == InstallLog::Written;
    const bool scanDeletes = !choices.keepPlugIns && logNames;
    // A log that was read but does not name the folder among those it made: shared as well.
    const bool shared = product_.Place() != ProgramPlace::OwnFolder ||
                        options_.log == InstallLog::Empty ||
                        options_.log == InstallLog::RandomBytes;
    // Wine acts on what a link points to even when asked for the link: there a link cannot be
    // removed, and a folder that holds one is left whole rather than entered.
    const bool foldersGo = !(options_.links && UnderWine());
    std::map<std::wstring, bool> keeps; // a folder of kSharedNames, and whether anything stays
    std::vector<std::wstring> expected;
    for (const StagedFile& file : kStagedFiles) {
        if (file.fate == Fate::Users && product_.Place() == ProgramPlace::OwnFolder) {
            continue;
        }
        const std::wstring folder = SharedNameOf(file.path);
        const bool shown = file.logged && logNames && InLogCodePage(file.path);
        // The shell deletes a read-only file when told not to ask; Wine's shell leaves it.
        bool gone = file.fate == Fate::Gone ||
                    (file.fate == Fate::InFolder && (foldersGo || scanDeletes)) ||
                    (file.fate == Fate::PlugIn && plugInsGo && (file.logged || foldersGo)) ||
                    (file.fate == Fate::Scanned && scanDeletes && !(file.readOnly && UnderWine()));
        if (shared && !folder.empty()) {
            gone = file.fate != Fate::Users &&
                   ((shown && (folder != L"PlugIns" || plugInsGo)) ||
                    (std::wstring_view(file.path).ends_with(L".vtp") && plugInsGo));
            keeps[folder] = keeps[folder] || !gone;
        }
        EXPECT_EQ(IsThere(app + file.path), !gone) << ToUtf8(file.path);
        if (file.library && file.fate != Fate::Users && (!shared || folder.empty() || shown)) {
            expected.push_back(app + file.path);
        }
    }
    EXPECT_EQ(IsThere(app + kOtherDriveFile), !scanDeletes) << "logged on drive D:";
    EXPECT_EQ(IsThere(Log()), options_.log == InstallLog::HeldOpen) << "the log goes unless held";
    EXPECT_EQ(IsThere(app + kLockedFile), options_.lockedFile) << "a file held open stays";
    if (shared) {
        for (const wchar_t* folder : kSharedNames) {
            EXPECT_EQ(IsThere(app + folder), keeps[folder]) << ToUtf8(folder);
        }
    } else {
        EXPECT_EQ(IsThere(app + L"PlugIns"), !(plugInsGo && foldersGo));
        EXPECT_EQ(IsThere(app + L"Themes") || IsThere(app + L"Languages"), !foldersGo);
    }
    // The scan removes no folder, and nothing the program folder.
    EXPECT_TRUE(IsThere(app + L"Help"));
    for (const std::wstring& path :
         {product_.Root() + L"\\Veltrane Backup\\Readme.txt",
          product_.Root() + L"\\Linked\\keep.txt", app + kBeyondCodePage, app + kWildcardMatch,
          L"\\\\?\\" + LongPath(app) + L"\\keep.txt"}) {
        EXPECT_EQ(IsThere(path), path.find(L"Linked") == std::wstring::npos || options_.links)
            << ToUtf8(path);
    }
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
            (options_.extraVerb && (key.ends_with(L"\\shell") || key == L"Veltrane.Tessaly"));
        EXPECT_EQ(ItemThere(item), kept)
            << ToUtf8(key) << " " << ToUtf8(item.value ? item.value : L"");
    }

    if (options_.hangingLibrary) {
        expected.push_back(app + kHangingLibrary);
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
