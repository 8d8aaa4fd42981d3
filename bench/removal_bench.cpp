// How the uninstaller removes a large product, against the least that removing it could cost.
// Prints figures; it passes or fails nothing.
//
//   removal_bench stage MEGABYTES [FILES]
//                                 a product in C:\vt-bench\Veltrane with FILES (0) files, whose
//                                 log names them and is filled up to MEGABYTES with names of
//                                 files that are not there, for bench/removal.sh to
//                                 uninstall and measure from outside
//   removal_bench delete [FILES]  a bare DeleteFileW loop over the files staged (20000)
//   removal_bench respond [FILES] an interactive uninstall of a product with FILES files, its
//                                 window asked with WM_NULL every 50 ms: the worst answer time
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

std::wstring FilePath(long i) {
    return kProgramFolder + L"\\data" + std::to_wstring(i / 1000) + L"\\file" + std::to_wstring(i) +
           L".dat";
}

// The uninstaller, the files in folders of a thousand, each of its own size, and the log.
void Stage(long files, std::size_t logBytes) {
    std::error_code ignored;
    fs::remove_all(kProgramFolder, ignored);
    fs::create_directories(kProgramFolder);
    fs::copy_file(vt::test::Environment(L"VT_UNINSTALLER"), kProgramFolder + L"\\unins000.exe");
    std::string log;
    const std::string record("AB\0\0", 4);
    const std::vector<char> content(4096, 'x');
    for (long i = 0; i < files; ++i) {
        const std::wstring folder = kProgramFolder + L"\\data" + std::to_wstring(i / 1000);
        if (i % 1000 == 0) {
            fs::create_directories(folder);
        }
        const std::wstring path = FilePath(i);
        const vt::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        WriteFile(file.get(), content.data(), static_cast<DWORD>(i * 37 % 4096), &written, nullptr);
        log += "\x01 " + vt::test::ToUtf8(path) + record;
    }
    while (log.size() < logBytes) {
        log += "\x01 C:\\vt-bench\\Veltrane\\gone\\not-there-" + std::to_string(log.size()) +
               ".txt" + record;
    }
    vt::test::WriteTestFile(kProgramFolder + L"\\unins000.dat", log);
}

// The least that deleting the staged files could cost: DeleteFileW on each, in the log's order.
void Delete(long files) {
    const Clock::time_point start = Clock::now();
    long deleted = 0;
    for (long i = 0; i < files; ++i) {
        deleted += DeleteFileW(FilePath(i).c_str()) ? 1 : 0;
    }
    std::printf("DeleteFileW loop: %ld files in %.2f s\n", deleted, Since(start));
}

void Respond(long files) {
    Stage(files, 0);
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
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    const long count = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 20000;
    if (mode == L"delete") {
        Delete(count);
    } else if (mode == L"respond") {
        Respond(count);
    } else if (mode == L"stage") {
        Stage(argc > 3 ? std::wcstol(argv[3], nullptr, 10) : 0, static_cast<std::size_t>(count)
                                                                    << 20);
    } else {
        std::fputs("usage: removal_bench stage MEGABYTES [FILES] | delete|respond [FILES]\n",
                   stderr);
        return 2;
    }
    return 0;
}
