// How long the uninstaller takes to remove an installed product, against the least that deleting
// its files could cost; how its window answers while it works; what its log costs in memory.
// Prints figures; it passes or fails nothing.
//
//   removal_bench [ROUNDS [SMALL [LARGE [MEGABYTES]]]]        (3, 1000, 20000, 200)
//
// Every run works on the whole product as a user has it (the tests' staging): installed in
// C:\Program Files\Veltrane with its COM libraries, Start-menu groups, shortcuts, registry rows,
// plug-ins and user data, and its German language component registered and chosen; the log
// names N more files of 1 KiB in 50 folders under Bulk. A round stages it and times a silent
// uninstall, started from this process and waited for; then stages it again and times the floor,
// a separate program (delete_floor, beside this one) that deletes the same N files with
// DeleteFileW from a list, started and waited for the same way. Rounds of SMALL and LARGE files
// take turns; the figures are medians. Then ROUNDS interactive uninstalls of LARGE files with
// the window asked with WM_NULL every 50 ms (the median of each run's worst answer), and the
// peak working set of a silent uninstall whose log
// is padded to MEGABYTES with names of missing files, less that of one whose log is not.
//
// Needs VT_UNINSTALLER, VT_COM_PROBE and VT_GERMAN as the end-to-end tests have them
// (bench/removal.sh sets them). VT_UNINSTALLER_BEFORE names an earlier build of the uninstaller to
// time in the same rounds, for a comparison at the same moments of a busy machine.
#include "system/handles.h"
#include "tests/support/fixtures.h"
#include "tests/support/message_box.h"
#include "tests/support/process.h"
#include "tests/support/running.h"
#include "tests/support/product.h"
#include "tests/support/text.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr wchar_t kProgramFolder[] = L"C:\\Program Files\\Veltrane";
constexpr long kBulkFolders = 50;
// Hang protection only.
constexpr DWORD kRunWithinMs = 600000;

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::wstring BesideThisProgram(const wchar_t* file) {
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::path(self).parent_path().wstring() + L"\\" + file;
}

// Whatever an earlier round left in the program folder goes before the product is staged there,
// and whatever this one leaves goes after it.
class ClearedProgramFolder {
  public:
    ClearedProgramFolder() { vt::test::RemoveTree(kProgramFolder); }
    ~ClearedProgramFolder() { vt::test::RemoveTree(kProgramFolder); }
    ClearedProgramFolder(const ClearedProgramFolder&) = delete;
    ClearedProgramFolder& operator=(const ClearedProgramFolder&) = delete;
};

// The whole product installed, with `files` more logged files under Bulk (listed in `list` for
// the floor) and the log padded to `logBytes` with names of files that are not there. Everything
// goes again with it, once the self-removal of a finished run is over.
class Installation {
  public:
    Installation(long files, std::size_t logBytes, const std::wstring& list)
        : product_(L"bench", {.userData = true,
                              .language = {L"German", L"VT_GERMAN", true},
                              .folder = kProgramFolder}) {

        std::string log;
        std::string listed;
        const std::string record("AB\0\0\x05", 5);
        const std::vector<char> content(1024, 'x');
        for (long i = 0; i < files; ++i) {
            const std::wstring folder =
                product_.ProgramFolder() + L"\\Bulk\\Folder" + std::to_wstring(i % kBulkFolders);
            if (i < kBulkFolders) {
                fs::create_directories(folder);
            }
            const std::wstring path = folder + L"\\File" + std::to_wstring(i) + L".dat";
            const vt::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            DWORD written = 0;
            WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                      nullptr);
            log += "\x01\x20" + vt::test::ToUtf8(path) + record;
            listed += vt::test::ToUtf8(path) + "\n";
        }
        const std::wstring installLog = product_.ProgramFolder() + L"\\unins000.dat";
        const std::size_t staged = fs::file_size(installLog);
        const std::string gone = vt::test::ToUtf8(product_.ProgramFolder()) + "\\Gone\\not-there-";
        while (staged + log.size() < logBytes) {
            log += "\x01\x20" + gone + std::to_string(log.size()) + ".txt" + record;
        }
        std::ofstream(fs::path(installLog), std::ios::binary | std::ios::app) << log;
        if (!list.empty()) {
            std::ofstream(fs::path(list), std::ios::binary) << listed;
        }
        WriteBack();
    }

    std::wstring Uninstaller() const { return product_.Uninstaller(); }

    ~Installation() {
        // The batch of a finished run removes the uninstaller (the staging waits for that): its
        // cmd.exe ends before the next round starts.
        vt::test::PollUntil([] { return vt::test::CountProcessesNamed(L"cmd.exe") == 0; },
                            kRunWithinMs);
    }
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

  private:
    // The staged files go to the disk before anything is timed, so that no run pays for
    // writing back another's: the system's sync, which Wine starts as the Unix program it is.
    static void WriteBack() {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        std::wstring command = L"Z:\\bin\\sync";
        if (CreateProcessW(command.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &started)) {
            const vt::UniqueHandle process(started.hProcess);
            const vt::UniqueHandle thread(started.hThread);
            WaitForSingleObject(process.get(), kRunWithinMs);
        }
    }

    ClearedProgramFolder cleared_;
    vt::test::Product product_;
};

struct Timed {
    double seconds = 0;
    std::size_t peakBytes = 0; // only when asked for
    DWORD exitCode = 0;
};

// Starts the program as the shell would and waits for its end, timing it from just before the
// start; `peak` also follows its peak working set (every 10 ms, which costs it a little).
Timed Run(const std::wstring& exe, const std::wstring& arguments, bool peak = false) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    Timed timed;
    const Clock::time_point start = Clock::now();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started)) {
        throw std::runtime_error("cannot start " + vt::test::ToUtf8(exe));
    }
    const vt::UniqueHandle process(started.hProcess);
    const vt::UniqueHandle thread(started.hThread);
    if (!peak) {
        WaitForSingleObject(process.get(), kRunWithinMs);
    }
    while (peak && WaitForSingleObject(process.get(), 10) == WAIT_TIMEOUT) {
        PROCESS_MEMORY_COUNTERS counters{};
        if (GetProcessMemoryInfo(process.get(), &counters, sizeof counters)) {
            timed.peakBytes = std::max<std::size_t>(timed.peakBytes, counters.PeakWorkingSetSize);
        }
    }
    timed.seconds = Since(start);
    GetExitCodeProcess(process.get(), &timed.exitCode);
    return timed;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Seconds per round, for each size: the floor, the uninstaller, and the earlier build when one is
// compared.
struct Times {
    std::vector<double> floor;
    std::vector<double> uninstall;
    std::vector<double> before;
};

// The uninstaller to time, staged as the one under test.
double TimeUninstall(long files, const std::wstring& uninstaller) {
    SetEnvironmentVariableW(L"VT_UNINSTALLER", uninstaller.c_str());
    Installation installation(files, 0, L"");
    return Run(installation.Uninstaller(), L"silent").seconds;
}

// One round at `files`: a silent uninstall (of each build), then the floor over the same files
// staged afresh.
void Round(long files, const std::wstring& uninstaller, const std::wstring& before, Times& times) {
    times.uninstall.push_back(TimeUninstall(files, uninstaller));
    std::printf("%6ld files: uninstall %6.2f s", files, times.uninstall.back());
    if (!before.empty()) {
        times.before.push_back(TimeUninstall(files, before));
        std::printf(", earlier build %6.2f s", times.before.back());
        SetEnvironmentVariableW(L"VT_UNINSTALLER", uninstaller.c_str());
    }
    const std::wstring list = L"C:\\vt-bench-list.txt";
    Timed floor;
    {
        Installation installation(files, 0, list);
        floor = Run(BesideThisProgram(L"delete_floor.exe"), L"\"" + list + L"\"");
    }
    DeleteFileW(list.c_str());
    times.floor.push_back(floor.seconds);
    std::printf(", floor %6.2f s%s\n", floor.seconds,
                floor.exitCode ? " (the floor could not delete some)" : "");
    std::fflush(stdout);
}

// The two targets for one build: the ratios of the medians, and (steadier on a busy machine,
// where each round's runs share its moment) the medians of each round's ratios.
void Summarise(const char* label, long fewer, long more, const std::vector<double>& uFewer,
               const std::vector<double>& uMore, const Times& atFewer, const Times& atMore) {
    std::vector<double> wholeRatios;
    std::vector<double> perFileRatios;
    for (std::size_t i = 0; i < uMore.size(); ++i) {
        wholeRatios.push_back(uMore[i] / atMore.floor[i]);
        perFileRatios.push_back((uMore[i] - uFewer[i]) / (atMore.floor[i] - atFewer.floor[i]));
    }
    const double u1 = Median(uFewer);
    const double f1 = Median(atFewer.floor);
    const double u2 = Median(uMore);
    const double f2 = Median(atMore.floor);
    const double span = static_cast<double>(more - fewer);
    std::printf("%s: medians %ld files %.2f s (floor %.2f s), %ld files %.2f s (floor %.2f s)\n",
                label, fewer, u1, f1, more, u2, f2);
    std::printf("  whole run at %ld files: %.2f times the floor (target at most 1.25); "
                "median of the rounds' ratios %.2f\n",
                more, u2 / f2, Median(wholeRatios));
    std::printf("  per file: %.0f us against the floor's %.0f us, %.2f times (target at most "
                "1.15); median of the rounds' ratios %.2f\n",
                (u2 - u1) * 1e6 / span, (f2 - f1) * 1e6 / span, (u2 - u1) / (f2 - f1),
                Median(perFileRatios));
    std::printf("  fixed cost: %.2f s (the floor's %.2f s)\n",
                u1 - (u2 - u1) * static_cast<double>(fewer) / span,
                f1 - (f2 - f1) * static_cast<double>(fewer) / span);
}

// The worst time the window takes to answer while an interactive uninstall works, in ms.
double Respond(long files, const std::wstring& uninstaller) {
    SetEnvironmentVariableW(L"VT_UNINSTALLER", uninstaller.c_str());
    Installation installation(files, 0, L"");
    vt::test::WatchedProcess run(installation.Uninstaller(), L"");
    vt::test::BoxDriver driver(run, kRunWithinMs);
    std::optional<vt::test::SeenBox> box = driver.WaitForNextBox();
    if (!box) {
        return 0;
    }
    driver.Answer(*box, IDYES);
    std::atomic<bool> done = false;
    double worst = 0;
    long probes = 0;
    std::thread probe([&] {
        while (!done) {
            const HWND window = run.MainWindow();
            const Clock::time_point start = Clock::now();
            DWORD_PTR result = 0;
            if (window && IsWindowVisible(window) &&
                SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) {
                worst = std::max(worst, Since(start));
                ++probes;
            }
            Sleep(50);
        }
    });
    while ((box = driver.WaitForNextBox())) {
        driver.Answer(*box, box->SafestAnswer());
    }
    done = true;
    probe.join();
    std::printf("  window asked %ld times: worst answer %.1f ms\n", probes, worst * 1000);
    return worst * 1000;
}

// The window's worst answer in each of `rounds` interactive runs, for each build; the median.
void Responses(long rounds, long files, const std::wstring& uninstaller,
               const std::wstring& before) {
    std::printf("the window asked with WM_NULL every 50 ms while an interactive uninstall of %ld "
                "files works\n",
                files);
    std::vector<double> worst;
    std::vector<double> worstBefore;
    for (long round = 1; round <= rounds; ++round) {
        worst.push_back(Respond(files, uninstaller));
        if (!before.empty()) {
            worstBefore.push_back(Respond(files, before));
        }
    }
    std::printf("  worst answer, median of %ld runs: %.1f ms", rounds, Median(worst));
    if (!before.empty()) {
        std::printf(" (earlier build %.1f ms)", Median(worstBefore));
    }
    std::printf("\n");
    SetEnvironmentVariableW(L"VT_UNINSTALLER", uninstaller.c_str());
}

void Memory(long megabytes) {
    std::size_t plain = 0;
    std::size_t large = 0;
    {
        Installation installation(0, 0, L"");
        plain = Run(installation.Uninstaller(), L"silent", true).peakBytes;
    }
    {
        Installation installation(0, static_cast<std::size_t>(megabytes) << 20, L"");
        large = Run(installation.Uninstaller(), L"silent", true).peakBytes;
    }
    const double mb = 1024.0 * 1024.0;
    std::printf("peak working set of a silent uninstall: log unpadded %.1f MB, log of %ld MB "
                "%.1f MB; the log costs %.1f MB, %.2f times its size\n",
                static_cast<double>(plain) / mb, megabytes, static_cast<double>(large) / mb,
                (static_cast<double>(large) - static_cast<double>(plain)) / mb,
                (static_cast<double>(large) - static_cast<double>(plain)) / mb /
                    static_cast<double>(megabytes));
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const auto argument = [&](int i, long fallback) {
        return argc > i ? std::wcstol(argv[i], nullptr, 10) : fallback;
    };
    const long rounds = argument(1, 3);
    const long fewer = argument(2, 1000);
    const long more = argument(3, 20000);
    const long megabytes = argument(4, 200);
    try {
        const std::wstring uninstaller = vt::test::Environment(L"VT_UNINSTALLER");
        const std::wstring before = vt::test::Environment(L"VT_UNINSTALLER_BEFORE");
        Times atFewer;
        Times atMore;
        for (long round = 1; round <= rounds; ++round) {
            std::printf("round %ld\n", round);
            Round(fewer, uninstaller, before, atFewer);
            Round(more, uninstaller, before, atMore);
        }
        std::printf("medians of %ld rounds\n", rounds);
        Summarise("uninstall", fewer, more, atFewer.uninstall, atMore.uninstall, atFewer, atMore);
        if (!before.empty()) {
            Summarise("earlier build", fewer, more, atFewer.before, atMore.before, atFewer, atMore);
        }
        std::fflush(stdout);
        Responses(rounds, more, uninstaller, before);
        Memory(megabytes);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "removal_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
