// The product as its installer leaves it, for one end-to-end run: the uninstaller in its
// program folder with the files of the fixed list and of the installer's log, COM libraries
// that write down their unregistration, the user's data, both Start-menu places, both
// shortcuts, the registry rows, the Run value and the product's own key, each beside
// sentinels of other owners. Everything it made, and every system setting it changed, goes
// back when it goes, so runs never depend on one another.
#pragma once

#include "system/handles.h"
#include "tests/support/fixtures.h"

#include <memory>
#include <string>
#include <vector>

namespace vt::test {

// Where the system says the all-users start-up folder is: the group is looked for in the
// folder above it, and in the fixed place of newer systems.
enum class StartUpFolder {
    Elsewhere,   // a folder of the run's own
    AsInstalled, // the system's own, under the fixed place itself
    Missing,     // a folder that is not there: the older fixed place is looked in
    DriveRoot,   // "C:\": nothing above it, so the older fixed place too
};

// Where the product is installed: a folder of its own, or one that was there before it.
enum class Place {
    Own, // <the run's own folder>\<folderName>, or `folder`
    // A name in the script that the run's ANSI code page carries (the installer writes its log
    // in it): Cyrillic under 1251, Japanese under 932 (with a character whose second byte is a
    // backslash), accented Latin otherwise.
    InCodePage,
    BeyondCodePage, // a name the ANSI code page cannot carry
    // Shared: a folder that was there before the product, holding the user's own Themes,
    // Languages and PlugIns.
    Desktop,        // the user's desktop
    Documents,      // the user's documents
    ProgramFiles,   // the program files folder itself
    DriveRoot,      // the root of drive C
    ExistingFolder, // C:\Tools, which the installer did not make
};

// A batch "clearup.bat" in the folder above the program folder, which writes down that it ran.
enum class ParentBatch {
    None,
    Trusted,       // nobody but the trusted may write in that folder: the batch calls it
    WorldWritable, // anyone may: it is never called, whoever put it there
};

// Who may write in the program folder: only the trusted accounts, anyone (then the log also
// names files outside the product, one of them through a link in the folder), or anyone into
// one library of a folder that is closed.
enum class Openness { Closed, Folder, OneLibrary };

// What the installer's log holds, and whether the uninstaller can read it.
enum class InstallLog { Written, HeldOpen, Empty, RandomBytes };

// The product's "Language" setting and its component in the Languages folder.
struct LanguageSetup {
    const wchar_t* setting = nullptr; // nullptr: no setting at all
    // The component's build, by the environment variable naming it; nullptr: the Languages
    // folder as the product installs it, whose library is no language component.
    const wchar_t* build = nullptr;
    bool registered = false;
};

struct ProductSetup {
    bool userData = false;    // %APPDATA%\Veltrane with the five files and a folder of its own
    int missingUserFiles = 0; // of the five, counted from the last
    bool productKey = false;  // HKCU\Software\Veltrane with settings and start-up entries
    bool otherSubkey = false; // ... and a subkey the product does not know
    StartUpFolder startUp = StartUpFolder::Elsewhere;
    InstallLog log = InstallLog::Written;
    bool extraVerb = false;      // another verb under the plug-in type keeps its upper keys
    bool hangingLibrary = false; // a library whose unregistration never returns
    bool lockedFile = false;     // a logged file held open without sharing, a theme held in use
    bool links = false;          // a link to a folder outside in every folder the run deletes
    bool themeLibraries = true;  // false: Themes holds no library, and so stays as it is
    LanguageSetup language = {};
    Place place = Place::Own;
    const wchar_t* folderName = L"Veltrane"; // of the program folder, in the run's own folder
    const wchar_t* folder = nullptr;         // a full path for the program folder instead
    // Whatever of the program folder was there before the staging stays there afterwards.
    ParentBatch parent = ParentBatch::None;
    bool readOnlyUninstaller = false; // the batch's loop would never delete it
    // A cmd.exe, regsvr32.exe, uxtheme.dll and comctl32.dll of the tests' own beside the
    // uninstaller and in the current folder, each first shown to be taken by a program without
    // the guards: none may be run or loaded.
    bool plants = false;
    Openness open = Openness::Closed;
};

// What the run was told, which decides what goes and what stays.
struct RunChoices {
    bool finished = true; // false: declined, nothing may change
    bool silent = false;
    bool keepSettings = true;
    bool keepPlugIns = false;
};

class Product {
  public:
    // Stages the uninstaller that VT_UNINSTALLER names, with everything around it; the run's
    // own folder is C:\vt-tests\<name>. Throws std::runtime_error when it cannot.
    Product(const std::wstring& name, const ProductSetup& setup);
    ~Product();
    Product(const Product&) = delete;
    Product& operator=(const Product&) = delete;

    const std::wstring& Root() const noexcept { return root_; }
    const std::wstring& ProgramFolder() const noexcept { return app_; }
    std::wstring Uninstaller() const { return app_ + L"\\unins000.exe"; }
    std::wstring UserDataFolder() const { return AppDataFolder() + L"\\Veltrane"; }
    // Whether the run speaks the German of its registered component, which stays loaded.
    bool SpeaksGerman() const;

    // After the run: what the choices remove is gone, everything else and every sentinel is
    // as staged, each library was unregistered once, and the uninstaller removed itself.
    void Check(const RunChoices& choices) const;

  private:
    void StageFiles();
    void StageOutside();
    void StageRegistry();
    void StagePlants();

    std::wstring root_;
    std::wstring app_;
    ProductSetup setup_;
    std::wstring record_;
    std::vector<std::wstring> outside_; // groups and shortcuts, the product's and others'
    std::vector<BYTE> savedStartUp_;
    UniqueFile locked_;
    UniqueFile lockedTheme_;
    UniqueFile heldLog_;
    std::vector<std::unique_ptr<TestLink>> links_;
    std::unique_ptr<RegisteredComponent> component_;
    bool existed_ = false;             // the program folder was there before the staging
    std::vector<std::wstring> before_; // and held these
    std::vector<std::wstring> plants_;
    std::wstring currentFolder_;
    TreeSnapshot programBefore_;
    TreeSnapshot userDataBefore_;
};

} // namespace vt::test
