#include "uninstall/form1.h"

#include "resources/resource.h"
#include "filesystem/links.h"
#include "filesystem/write_access.h"
#include "system/automation.h"
#include "system/mIcon.h"
#include "system/mProcess.h"
#include "system/modReg.h"
#include "system/myMod.h"
#include "uninstall/clearup_file.h"
#include "uninstall/form1_design.h"
#include "uninstall/form1_layout.h"
#include "uninstall/message_table.h"
#include "uninstall/message_text.h"
#include "uninstall/settings_rules.h"

#include <commctrl.h>
#include <shellapi.h>

namespace vt {

namespace {

constexpr DWORD kFrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// Message box flags the run uses.
constexpr UINT kAskNoDefault = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2; // 0x124
constexpr UINT kAskYesDefault = MB_YESNO | MB_ICONQUESTION;                // 0x24
constexpr UINT kInform = MB_OK | MB_ICONINFORMATION;                       // 0x40
constexpr UINT kStop = MB_OK | MB_ICONHAND;                                // 0x10

} // namespace

Form1::Form1(HINSTANCE instance) : instance_(instance) {
    // Initialisation failures are ignored: the run works without either.
    ResumeNext([&] { Shell32Module.reset(LoadLibraryA("shell32.dll")); });
    ResumeNext([&] { (void)InitCommonControlsLib(); });
}

Form1::~Form1() = default;

void Form1::Create() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kForm1ClassName;
    RegisterClassExW(&windowClass);

    // The design gives the window its size and place, at the scale of its display.
    window_.reset(CreateWindowExW(0, kForm1ClassName, L"Veltrane Uninstall",
                                  kFrameStyle | WS_CLIPCHILDREN, 0, 0, 0, 0, nullptr, nullptr,
                                  instance_, nullptr));
    if (!window_) {
        Raise(kErrInternal, L"The window could not be created.");
    }
    // The run cannot be cut short from the frame: the close box is not offered.
    EnableMenuItem(GetSystemMenu(hWnd(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);

    // The labels, the bar and the button, loaded from their stored properties; the banner and
    // the rules.
    design_ = std::make_unique<Form1Design>(instance_);
    design_->CreateControls(hWnd(), Label1, Label2, Label3, Label4, pb, Command1);
}

int Form1::Show() {
    return ExitCodeFor(RunGuarded([this](long& line) {
        Create();
        Form_Load(line);
    }));
}

RunOutcome Form1::RunGuarded(const std::function<void(long& line)>& body) {
    long line = 0;
    try {
        body(line);
        if (declined_) {
            return RunOutcome::Declined;
        }
        return restartOwed_ ? RunOutcome::FinishedRestartOwed : RunOutcome::Finished;
    } catch (const ProgramEnded&) {
        return RunOutcome::Declined;
    } catch (...) {
        ErrorInfo error = CurrentError();
        error.line = line;
        HWND noOwner = nullptr;
        UnicodeMsgBox(ErrorBoxText(error), kStop, L"", L"", noOwner);
        Tag = L"OK";
        Unload();
        return RunOutcome::Failed;
    }
}

// The uninstall run. `line` names the step under way, for the error box.
void Form1::Form_Load(long& line) {
    line = 1;
    SetIcon(hWnd(), "1", true);
    line = 2;
    Visible(false);
    line = 3;
    Language = kBuiltInLanguage;
    line = 4;
    FileOps = std::make_unique<clsFile>();
    FolderOps = std::make_unique<clsFolder>();
    programFolderClosed_ = OnlyTrustedMayWriteTo(AppPath());
    ResumeNext([&] { programFolderOpened_ = OpenedFolderPath(AppPath()); });
    unregistrations_.TrustBelow(programFolderOpened_, programFolderClosed_);
    line = 5;
    LoadLanguage();
    line = 6;
    Caption(std::wstring(kProductName) + L" " + GetMessageText(IDS_UNINSTALLER));
    line = 7;
    Label3.Caption(GetMessageText(IDS_UNINSTALL_STATUS));
    Label4.Caption(GetMessageText(IDS_PLEASE_WAIT));
    Label2.Caption(GetMessageText(IDS_UNINSTALLING));
    SetWindowTextW(Command1, GetMessageText(IDS_CANCEL).c_str());
    line = 8;
    SilentMode = IsSilentArgument(ArgumentString(GetCommandLineW()));
    line = 9;
    if (!SilentMode && Ask(IDS_CONFIRM_REMOVE, kAskNoDefault, kProductName) != IDYES) {
        declined_ = true;
        Unload();
        return;
    }
    line = 10;
    CheckVTProcess();
    line = 11;
    pb.Max(180);
    pb.Min(0);
    pb.Value(0);
    line = 12;
    if (!SilentMode) {
        Visible(true);
    }
    line = 13;
    pb.Value(pb.Value() + 1);
    const auto userDataPath = [this](const wchar_t* name) {
        return AddBackslash(GetSpecialFolder(kCsidlAppData, hWnd())) + kProductName + L"\\" + name;
    };
    line = 14;
    SettingsFile = userDataPath(L"Settings.ini");
    pb.Value(pb.Value() + 1);
    line = 15;
    CookieInfoFile = userDataPath(L"CookieInfo.ini");
    RecentFile = userDataPath(L"Recent.dat");
    UninstallInfoFile = userDataPath(L"Uninstall.info");
    pb.Value(pb.Value() + 2);
    line = 16;
    StatsFile = userDataPath(L"Stats.ini");
    pb.Value(pb.Value() + 1);
    line = 17;
    UserDataFolder = AddBackslash(GetSpecialFolder(kCsidlAppData, hWnd())) + kProductName;
    pb.Value(pb.Value() + 2);
    line = 18;
    pb.Value(pb.Value() + 6);
    line = 19;
    Label1.Visible(true);
    line = 20;
    if (!SilentMode) {
        line = 21;
        if (FolderOps->Exists(UserDataFolder)) {
            SettingsAnswer = static_cast<short>(Ask(IDS_KEEP_SETTINGS, kAskYesDefault));
            if (SettingsAnswer == IDNO) {
                Label1.Caption(GetMessageText(IDS_REMOVING_SETTINGS));
                struct SettingsFileStep {
                    const std::wstring& file;
                    long advance;
                };
                const SettingsFileStep files[] = {{SettingsFile, 2},
                                                  {CookieInfoFile, 1},
                                                  {StatsFile, 1},
                                                  {RecentFile, 1},
                                                  {UninstallInfoFile, 1}};
                for (const SettingsFileStep& step : files) {
                    if (FileOps->Exists(step.file)) {
                        FileOps->Delete(step.file, false);
                    }
                    pb.Value(pb.Value() + step.advance);
                }
                if (FolderOps->Exists(UserDataFolder)) {
                    FolderOps->Delete(UserDataFolder);
                }
                pb.Value(pb.Value() + 1);
            }
            if (FolderOps->Exists(AddBackslash(AppPath()) + L"PlugIns")) {
                KeepPlugIns = Ask(IDS_KEEP_PLUGINS, kAskNoDefault) != IDNO;
            }
            Label1.Caption(GetMessageText(IDS_REMOVING_REGISTRY));
            DoEvents();
            pb.Value(pb.Value() + 2);
        }
        line = 23;
        RemoveSettings(SettingsAnswer);
    }
    line = 24;
    RemoveProduct();
    line = 25;
    Visible(false);
    line = 26;
    if (!SilentMode) {
        HWND noOwner = nullptr;
        UnicodeMsgBox(GetMessageText(IDS_REMOVED), kInform, WindowCaption(), L"", noOwner);
    }
    line = 27;
    Tag = L"OK";
    line = 28;
    Unload();
}

namespace {
// The maker's page that asks why the product was removed.
constexpr char kFeedbackAddress[] = "https://www.veltrane.example/uninstall/";
} // namespace

// Self-removal and farewell, after a finished or failed run (tag "OK"): the batch deletes the
// executable once this process has ended, and the feedback page opens unless the run was
// silent. Every step is independent of the others' failures; nothing is reported. In a program
// folder that another account may write to, that account could rewrite the batch between its
// writing and its start, and so have it run with the uninstaller's rights: there the system
// deletes the executable at the next restart instead, which the exit code then owes.
void Form1::Form_Unload() {
    if (Tag == L"OK") {
        std::optional<ClearupBatch> batch;
        if (programFolderClosed_) {
            ResumeNext([&] { batch = WriteClearupBatch(); });
        } else {
            ResumeNext([&] { restartOwed_ = LeaveUninstallerForRestart() || restartOwed_; });
        }
        if (!SilentMode) {
            ResumeNext([&] {
                ShellExecuteA(hWnd(), "Open", kFeedbackAddress, nullptr, nullptr, SW_SHOWMAXIMIZED);
            });
        }
        if (batch) {
            ResumeNext([&] { StartClearupBatch(*batch); });
        }
    }
    LanguageObject.reset();
    FileOps.reset();
    FolderOps.reset();
    Shell32Module.reset();
}

void Form1::Unload() {
    Form_Unload();
    window_.reset();
}

std::wstring Form1::GetMessageText(int id, const std::wstring& n) const noexcept {
    std::wstring raw;
    ResumeNext([&] {
        if (Language == kBuiltInLanguage) {
            raw = BuiltInMessage(instance_, static_cast<unsigned>(id)).value_or(L"");
        } else {
            std::int32_t number = id;
            raw = CallTextMethod(LanguageObject.get(), L"GetText", number);
        }
    });
    std::wstring text;
    ResumeNext([&] { text = FinishMessageText(raw, n); });
    return text;
}

// The language the product itself uses, when its component is there, made for this
// uninstaller and registered; the built-in texts otherwise. Any failure on the way ends in the
// built-in texts.
void Form1::LoadLanguage() {
    try {
        std::wstring chosen =
            ReadRegValue(kHkeyCurrentUser, std::wstring(L"Software\\") + kProductName, L"Language");
        CharLowerBuffW(chosen.data(), static_cast<DWORD>(chosen.size()));
        Language = chosen;
        if (Language == L"english_uk") {
            Language = kBuiltInLanguage;
            return;
        }
        const std::wstring component =
            AddBackslash(AppPath()) + L"Languages\\" + Language + L".dll";
        if (!FileOps->Exists(component)) {
            Language = kBuiltInLanguage;
            return;
        }
        // Components are made for a major version of the uninstaller: 1 for this one's 3.
        if (ComponentVersionNumber(FileOps->GetVersion(component)) != VT_MAJOR_VERSION - 2) {
            Language = kBuiltInLanguage;
            return;
        }
        // The component's code runs inside this elevated program: only a file that nobody else
        // may have written is loaded, held meanwhile so that no other can take its place.
        const HeldFile held = HoldFile(component, programFolderOpened_);
        if (!programFolderClosed_ || !held.trusted) {
            Language = kBuiltInLanguage;
            return;
        }
        LanguageObject = CreateObject(kLanguageProgIdPrefix + Language + kLanguageProgIdSuffix);
    } catch (...) {
        Language = kBuiltInLanguage;
        LanguageObject.reset();
    }
}

namespace {
constexpr UINT kAskStop = MB_YESNO | MB_ICONHAND; // 0x14

// The programs of the product family, in the order they are looked for.
struct FamilyProgram {
    const wchar_t* exeName;
    const wchar_t* displayName;
};
constexpr FamilyProgram kFamilyPrograms[] = {
    {L"Veltrane.exe", L"Veltrane"}, {L"Brendix.exe", L"Brendix"}, {L"Tessaly.exe", L"Tessaly"}};
} // namespace

void Form1::CheckVTProcess() {
    for (const FamilyProgram& program : kFamilyPrograms) {
        bool running = false;
        ResumeNext([&] { running = IsProcessRunning(program.exeName); });
        if (!running) {
            continue;
        }
        if (!SilentMode) {
            ResumeNext([&] {
                ProcessAnswer =
                    static_cast<short>(Ask(IDS_PRODUCT_RUNNING, kAskStop, program.displayName));
            });
            if (ProcessAnswer != IDYES) {
                // Nothing has been removed: the window closes with its tag empty, so the
                // uninstaller stays, and the program ends here.
                declined_ = true;
                Unload();
                throw ProgramEnded{};
            }
        }
        // The result is not needed: a program that survives only makes its files stay.
        ResumeNext([&] { (void)KillProcess(program.exeName); });
    }
}

// When the settings go (the keep-settings question answered No), the start-up entries the
// product set aside go back into the start-up lists their tags name, and the product's key
// goes, leaf first. Each operation's failure is passed over; the bar moves 3 steps when the
// settings stay, 4 when they go without a product key, 7 with one.
void Form1::RemoveSettings(long settingsAnswer) {
    const std::wstring productKey = std::wstring(L"Software\\") + kProductName;
    const std::wstring startUpKey = productKey + L"\\StartUp";
    const std::wstring underSoftware = std::wstring(kProductName) + L"\\";
    Advance(1);
    Advance(1);
    if (settingsAnswer == IDNO) {
        bool productKeyThere = false;
        ResumeNext([&] { productKeyThere = RegKeyExists(kHkeyCurrentUser, productKey); });
        if (productKeyThere) {
            ResumeNext([&] {
                DeleteRegKey(kHkeyCurrentUser, L"Software\\", underSoftware + L"Settings");
            });
            ResumeNext([&] {
                DeleteRegKey(kHkeyCurrentUser, L"Software\\", underSoftware + L"Schedule");
            });
            Advance(1);
            Advance(1);
            Advance(1);
        }
        std::vector<std::wstring> kept;
        ResumeNext([&] {
            if (RegKeyExists(kHkeyCurrentUser, startUpKey)) {
                kept = EnumRegValues(kHkeyCurrentUser, startUpKey);
            }
        });
        for (std::size_t i = 1; i < kept.size(); ++i) {
            ResumeNext([&] {
                const std::optional<StartUpList> list = StartUpListFor(kept[i]);
                if (list) {
                    WriteRegValue(list->root, list->key, StartUpEntryName(kept[i]),
                                  ReadRegValue(kHkeyCurrentUser, startUpKey, kept[i]));
                }
            });
        }
        Advance(1);
        ResumeNext(
            [&] { DeleteRegKey(kHkeyCurrentUser, L"Software\\", underSoftware + L"StartUp"); });
        ResumeNext([&] { DeleteRegKey(kHkeyCurrentUser, L"Software\\", kProductName); });
    }
    Advance(1);
}

std::wstring Form1::WindowCaption() const {
    return WindowText(hWnd());
}

void Form1::Caption(const std::wstring& text) noexcept {
    SetWindowTextW(hWnd(), text.c_str());
}

void Form1::Visible(bool visible) noexcept {
    ShowWindow(hWnd(), visible ? SW_SHOW : SW_HIDE);
    if (visible) {
        UpdateWindow(hWnd());
    }
}

// Asks message `id` with the window's caption as title; the answer is the button code.
int Form1::Ask(int id, UINT flags, const std::wstring& n) {
    HWND noOwner = nullptr;
    return UnicodeMsgBox(GetMessageText(id, n), flags, WindowCaption(), L"", noOwner);
}

LRESULT CALLBACK Form1::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto handled = Form1Design::HandleMessage(window, message, wParam, lParam)) {
        return *handled;
    }
    switch (message) {
    case WM_CLOSE:
        // The run closes the window itself when it is done; nothing else may.
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace vt
