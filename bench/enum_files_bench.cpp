// How fast the folder listing walks a large tree, against a bare search walk of the same tree
// in the same run. Prints figures; it passes or fails nothing.
//
//   enum_files_bench [FILES] [FOLDER]
//
// Builds a tree of FILES files (100000 unless given) in FOLDER (C:\vt-bench unless given):
// 100 folders of equal share, every tenth with a subfolder of its own, then lists it with
// enumFiles and with FindFirstFileW/FindNextFileW, each three times (best counts), and removes
// the tree again.
#include "filesystem/clsFolder.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

void MakeTree(const std::wstring& root, long files) {
    constexpr long kFolders = 100;
    long made = 0;
    for (long f = 0; f < kFolders && made < files; ++f) {
        std::wstring folder = root + L"\\folder" + std::to_wstring(f);
        if (f % 10 == 0) {
            folder += L"\\inner";
        }
        std::filesystem::create_directories(folder);
        const long share = (files - made) / (kFolders - f);
        for (long i = 0; i < share; ++i, ++made) {
            const std::wstring path = folder + L"\\file" + std::to_wstring(i) + L".dat";
            HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                CloseHandle(file);
            }
        }
    }
}

// The least a listing can do: one search per folder, every entry read once.
long BareWalk(const std::wstring& folder) {
    long files = 0;
    std::vector<std::wstring> subfolders;
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW((folder + L"\\*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (entry.cFileName[0] != L'.' ||
                (entry.cFileName[1] != 0 && (entry.cFileName[1] != L'.' || entry.cFileName[2]))) {
                subfolders.push_back(folder + L"\\" + entry.cFileName);
            }
        } else {
            ++files;
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    for (const std::wstring& sub : subfolders) {
        files += BareWalk(sub);
    }
    return files;
}

template <class Walk> double BestSeconds(Walk&& walk) {
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        const Clock::time_point start = Clock::now();
        walk();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const long files = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 100000;
    const std::wstring root = argc > 2 ? argv[2] : L"C:\\vt-bench";
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);

    const Clock::time_point start = Clock::now();
    MakeTree(root, files);
    std::printf("tree: %ld files made in %.1f s\n", files,
                std::chrono::duration<double>(Clock::now() - start).count());

    long bareCount = 0;
    std::size_t listed = 0;
    const vt::clsFolder folders;
    BareWalk(root); // the first walk fills the caches for both
    const double bare = BestSeconds([&] { bareCount = BareWalk(root); });
    const double listing = BestSeconds([&] { listed = folders.enumFiles(root, true).size() - 1; });

    std::printf("bare FindFirstFileW/FindNextFileW walk: %ld files in %.3f s, %.0f files/s\n",
                bareCount, bare, bareCount / bare);
    std::printf("enumFiles: %zu files in %.3f s, %.0f files/s\n", listed, listing,
                static_cast<double>(listed) / listing);
    std::printf("enumFiles / bare walk: %.2f\n", listing / bare);

    std::filesystem::remove_all(root, ignored);
    return listed == static_cast<std::size_t>(bareCount) ? 0 : 1;
}
