// The rest of an installed product around a staged uninstaller: the files of the fixed list and
// of the installer's log, COM libraries that write down their unregistration, both Start-menu
// places, both shortcuts, the registry rows and the Run value, each beside sentinels of other
// owners. What it made outside the program folder goes again, and the system setting it
// changed is put back, when it goes.
#pragma once

#include "system/handles.h"
#include "tests/support/fixtures.h"
#include "tests/support/staging.h"

#include <memory>
#include <string>
#include <vector>

namespace vt::test {

// Where the system says the all-users start-up folder is: the group is looked for in the
// folder above it and in the fixed place of newer systems.
enum class StartUpFolder {
    AsInstalled, // the system's own, under the fixed place itself
    Elsewhere,   // a folder of the test's own
    Missing,     // a folder that is not there: the older fixed place is looked in
    DriveRoot,   // "C:\": nothing above it, so the older fixed place too
};

// What the installer's log holds, and whether the uninstaller can read it.
enum class InstallLog {
    Written,  // the installer's records of the files it installed
    HeldOpen, // the same, held open without sharing by another program during the run
    Empty,    // no byte at all
    RandomBytes,
};

struct InstallOptions {
    StartUpFolder startUp = StartUpFolder::Elsewhere;
    InstallLog log = InstallLog::Written;
    bool extraVerb = false;      // another verb under the plug-in type keeps its upper keys
    bool hangingLibrary = false; // a library whose unregistration never returns
    // During the run, a logged file held open without sharing, and a theme library held open
    // as a loaded one is: others may read it, not delete it.
    bool lockedFile = false;
    // A link to a folder outside the product in each folder the run deletes: Themes, Languages,
    // PlugIns and both Start-menu groups.
    bool links = false;
};

// What the run was told, which decides what goes and what stays.
struct RemovalChoices {
    bool silent = false;
    bool keepPlugIns = false;
};

class InstalledProduct {
  public:
    // Throws std::runtime_error when it cannot stage, or VT_COM_PROBE names no library.
    InstalledProduct(const StagedProduct& product, InstallOptions options);
    ~InstalledProduct();
    InstalledProduct(const InstalledProduct&) = delete;
    InstalledProduct& operator=(const InstalledProduct&) = delete;

    std::wstring Log() const { return product_.ProgramFolder() + L"\\unins000.dat"; }

    // After a finished run: every item the run removes is gone, every other one and every
    // sentinel is as staged, and each library was unregistered once, whole path and all. What
    // was held open is left for the restart, and nothing else of the product.
    void ExpectRemoved(const RemovalChoices& choices) const;

  private:
    const StagedProduct& product_;
    InstallOptions options_;
    std::wstring record_;
    std::vector<std::wstring> outside_; // groups and shortcuts, the product's and others'
    std::vector<BYTE> savedStartUp_;
    UniqueFile locked_;
    UniqueFile lockedTheme_;
    UniqueFile heldLog_;
    std::vector<std::unique_ptr<TestLink>> links_;
};

} // namespace vt::test
