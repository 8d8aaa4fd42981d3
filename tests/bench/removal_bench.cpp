// How the uninstaller removes a large product, against the least that removing it could cost.
// Prints figures; it passes or fails nothing.
//
//   removal_bench speed [FILES]   a silent uninstall of a product whose log names FILES (20000)
//                                 existing files, against a bare DeleteFileW loop over the same
//                                 files made afresh, twice each in turn
//   removal_bench respond [FILES] an interactive uninstall of such a product, its window asked
//                                 with WM_NULL every 50 ms: the worst answer time
//   removal_bench stage MEGABYTES a product in C:\vt-bench\Veltrane whose log of MEGABYTES
//                                 names files that are not there, for a measure from outside
#include "system/handles.h"
#include "tests/support/message_box.h"
#include "tests/support/process.h"
#include "tests/support/running.h"
#include "tests/support/staging.h"
#include "tests/support/text.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

const std::wstring kProgramFolder = L"C:\\vt-bench\\Veltrane";

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The uninstaller, the files in folders of a thousand, each of its own size, and the log.
std::vector<std::wstring> Stage(long files, std::size_t logBytes = 0) {
    std::error_code ignored;
    fs::remove_all(kProgramFolder, ignored);
    fs::create_directories(kProgramFolder);
    fs::copy_file(vt::test::Environment(L"VT_UNINSTALLER"), kProgramFolder + L"\\unins000.exe");
    std::vector<std::wstring> paths;
    std::string log;
    const std::string record("AB\0\0", 4);
    const std::vector<char> content(4096, 'x');
    for (long i = 0; i < files; ++i) {
        const std::wstring folder = kProgramFolder + L"\\data" + std::to_wstring(i / 1000);
        if (i % 1000 == 0) {
            fs::create_directories(folder);
        }
        paths.push_back(folder + L"\\file" + std::to_wstring(i) + L".dat");
        const vt::UniqueFile file(CreateFileW(paths.back().c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        WriteFile(file.get(), content.data(), static_cast<DWORD>(i * 37 % 4096), &written, nullptr);
        log += "\x01 " + vt::test::ToUtf8(paths.back()) + record;
    }
    while (log.size() < logBytes) {
        log += "\x01 C:\\vt-bench\\Veltrane\\gone\\not-there-" + std::to_string(log.size()) +
               ".txt" + record;
    }
    vt::test::WriteTestFile(kProgramFolder + L"\\unins000.dat", log);
    return paths;
}

void Speed(long files) {
    for (int round = 1; round <= 2; ++round) {
        Stage(files);
        Clock::time_point start = Clock::now();
        vt::test::WatchedProcess run(kProgramFolder + L"\\unins000.exe", L"silent");
        run.WaitForExit(600000);
        const double uninstall = Since(start);
        // The self-removal batch finishes before the folder is made afresh.
        vt::test::PollUntil([] { return !fs::exists(kProgramFolder + L"\\clearup.bat"); }, 60000);

        const std::vector<std::wstring> paths = Stage(files);
        start = Clock::now();
        long deleted = 0;
        for (const std::wstring& path : paths) {
            deleted += DeleteFileW(path.c_str()) ? 1 : 0;
        }
        const double bare = Since(start);
        std::printf("round %d: silent uninstall %.2f s, DeleteFileW loop %.2f s (%ld files), "
                    "ratio %.2f\n",
                    round, uninstall, bare, deleted, uninstall / bare);
    }
}

void Respond(long files) {
    Stage(files);
    vt::test::WatchedProcess run(kProgramFolder + L"\\unins000.exe", L"");
    vt::test::BoxDriver driver(run, 600000);
    std::optional<vt::test::SeenBox> box = driver.WaitForNextBox();
    if (!box) {
        return;
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
        done = true;
        driver.Answer(*box, IDOK);
    }
    done = true;
    probe.join();
    std::printf("window asked %ld times while it worked: worst answer %.1f ms\n", probes,
                worst * 1000);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"speed";
    const long count = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 20000;
    if (mode == L"speed") {
        Speed(count);
    } else if (mode == L"respond") {
        Respond(count);
    } else if (mode == L"stage") {
        Stage(0, static_cast<std::size_t>(count) << 20);
    } else {
        std::fputs("usage: removal_bench speed|respond [FILES] | stage MEGABYTES\n", stderr);
        return 2;
    }
    return 0;
}
