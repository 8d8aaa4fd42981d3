// The main window: the whole uninstaller. Creating it prepares the program; loading it carries
// out the uninstall run from the first question to the final message; closing it runs the
// unload handler.
#pragma once

#include "filesystem/clsFile.h"
#include "filesystem/clsFolder.h"
#include "system/errors.h"
#include "system/handles.h"
#include "uninstall/form1_rules.h"
#include "uninstall/install_log.h"
#include "uninstall/unregistrations.h"
#include "controls/MyProgressBar.h"
#include "controls/MyUniLabel.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vt {

class Form1 {
  public:
    // Window initialisation: loads the shell library and registers the common controls.
    explicit Form1(HINSTANCE instance);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Creates the window, carries out the run, closes the window; returns the exit code.
    int Show();

    // Creates the window and its controls, hidden.
    void Create();

    // Message `id` in the active language, "|" made line breaks, "%N" and "%APP" filled in.
    // Never fails: a text that cannot be had comes back empty.
    std::wstring GetMessageText(int id, const std::wstring& n = {}) const noexcept;

    // Runs `body` as the load handler does: a run-time error it raises shows the error box,
    // after which the run counts as finished (tag "OK") but failed. `line` is the step that
    // was under way, as `body` keeps it.
    RunOutcome RunGuarded(const std::function<void(long& line)>& body);

    HWND hWnd() const noexcept { return window_.get(); }

    // The window's fields, shared by the procedures of the run.
    UniqueModule Shell32Module;
    std::unique_ptr<clsFile> FileOps;
    std::unique_ptr<clsFolder> FolderOps;
    short SettingsAnswer = 0;
    short ProcessAnswer = 0;
    std::wstring SettingsFile;
    std::wstring CookieInfoFile;
    std::wstring StatsFile;
    std::wstring RecentFile;
    std::wstring UninstallInfoFile;
    std::wstring UserDataFolder;
    bool SilentMode = false;
    bool KeepPlugIns = false;
    std::wstring Language;
    // The language component, while its texts are used; released at unload, before the
    // apartment it was made in ends.
    UniqueCom<IDispatch> LanguageObject;
    std::wstring Tag;

    // The controls the run drives.
    MyUniLabel Label1;
    MyUniLabel Label2;
    MyUniLabel Label3;
    MyUniLabel Label4;
    MyProgressBar pb;
    HWND Command1 = nullptr;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void Form_Load(long& line);
    void Form_Unload();
    // Closes the window: the unload handler runs, then the window goes.
    void Unload();

    std::wstring WindowCaption() const;
    void Caption(const std::wstring& text) noexcept;
    void Visible(bool visible) noexcept;
    int Ask(int id, UINT flags, const std::wstring& n = {});

    void LoadLanguage();
    // Every running program of the family is terminated, or, when the user refuses, the window
    // closes and the program ends (the run does not go on).
    void CheckVTProcess();
    void RemoveSettings(long settingsAnswer);
    void RemoveProduct();
    void RemoveStartMenuGroup();
    void RemoveLibraryFolder(const std::wstring& folder, bool keepWithoutLibraries);
    bool RemoveLibrary(const std::wstring& library) noexcept;
    void RemoveProductFilesIn(const std::wstring& folder, std::string_view log, bool plugIns);
    void StartUnregistrations(const std::wstring& appDir, bool shared) noexcept;
    void Unregister(const std::wstring& library) noexcept;
    // Deletes what the log names; `believed` when nobody but the trusted accounts may have
    // written it, so that it may name files beyond the program folder.
    void ScanInstallLog(std::string_view log, bool believed);
    void ScanLoggedFile(const std::optional<std::wstring>& path, std::string_view entry,
                        const LogScanChoices& choices);

    // Moves the bar on by `steps` (it stops at its end); sets the status line to message `id`.
    // A failure of either is passed over.
    void Advance(int steps) noexcept;
    void Status(int id) noexcept;

    // Thrown past the run when it ends the program itself; the window is closed by then.
    struct ProgramEnded {};

    HINSTANCE instance_;
    // The window's design: banner, rules, the controls' fonts; outlives the window.
    std::unique_ptr<class Form1Design> design_;
    UniqueWindow window_;
    bool declined_ = false;
    // Something was left for the system to delete at the next restart.
    bool restartOwed_ = false;
    // No account but the system, the Administrators, the installer service and this run's own
    // may write into the program folder. Decided once, as the run begins: where another may,
    // nothing there steers the elevated run (no library's code is run, the log names nothing
    // beyond the folder, no batch is started from there).
    bool programFolderClosed_ = false;
    // Where the program folder is, as a file opened below it names it; empty when the system
    // cannot tell, and then nothing below it is trusted.
    std::wstring programFolderOpened_;
    // The registration tools the removal started, until each has been waited for.
    Unregistrations unregistrations_;
};

} // namespace vt
