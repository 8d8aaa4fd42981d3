// What a change of the progress bar's Value costs with the window on the screen, next to the
// cheapest visible change a window can make: SetWindowTextW on a static control. Prints the
// figures; asserts nothing.
//
//   tests/wine/with-wine.sh tests/wine/wine-exec build/win64/bench/progress_bench.exe
#include "controls/MyProgressBar.h"
#include "system/myMod.h"
#include "uninstall/form1_design.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

namespace {

constexpr int kChanges = 10000;

double Seconds(const std::function<void(int)>& step) {
    LARGE_INTEGER frequency{}, start{}, end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 1; i <= kChanges; ++i) {
        step(i);
    }
    QueryPerformanceCounter(&end);
    vt::DoEvents();
    return static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int wmain() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = BenchWindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"VT_ProgressBench";
    RegisterClassExW(&windowClass);
    vt::UniqueWindow window(CreateWindowExW(0, L"VT_ProgressBench", L"bench",
                                            WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 520, 200,
                                            nullptr, nullptr, instance, nullptr));
    if (!window) {
        std::fprintf(stderr, "no window\n");
        return 1;
    }
    vt::MyProgressBar bar;
    bar.Create(window.get(), 1, RECT{56, 40, 441, 64}, vt::ProgressBarDesign(instance));
    HWND label = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 56, 100, 385,
                                 16, window.get(), nullptr, instance, nullptr);
    vt::DoEvents();

    // A long install log: one change per entry over a range as long as the log.
    bar.Max(kChanges);
    bar.Value(0);
    const double longLog = Seconds([&](int i) { bar.Value(i); });
    // The uninstaller's own range: 180 steps, so most changes move the fill.
    bar.Max(180);
    bar.Value(0);
    const double shortRange = Seconds([&](int i) { bar.Value(i % 181); });
    // Every change redraws the whole bar: the worst case.
    const double everyRepaint = Seconds([&](int i) { bar.Value(i % 2 == 0 ? 0 : 180); });
    const double staticText = Seconds([&](int i) {
        const std::wstring text = L"Deleting file " + std::to_wstring(i);
        SetWindowTextW(label, text.c_str());
    });

    const auto micro = [](double seconds) { return seconds * 1e6 / kChanges; };
    std::printf("%d changes each, window visible\n", kChanges);
    std::printf("SetWindowTextW on a static control: %8.2f us per change\n", micro(staticText));
    std::printf("Value, range 0..%d (long log):    %8.2f us per change, %5.2f x static\n", kChanges,
                micro(longLog), longLog / staticText);
    std::printf("Value, range 0..180:                %8.2f us per change, %5.2f x static\n",
                micro(shortRange), shortRange / staticText);
    std::printf("Value, full repaint every change:   %8.2f us per change, %5.2f x static\n",
                micro(everyRepaint), everyRepaint / staticText);
    return 0;
}
