// The floor of the removal benchmark: the least that deleting the files of an installation could
// cost. Deletes each file that a list names (UTF-8, one full path a line) with DeleteFileW and
// does nothing else; started and timed from outside, as the uninstaller is.
//
//   delete_floor LIST
//
// Exits with the number of files it could not delete (-1 when it cannot read the list).
#include "system/handles.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        return -1;
    }
    const vt::UniqueFile list(CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!list || !GetFileSizeEx(list.get(), &size) || size.QuadPart > 0x7fffffff) {
        return -1;
    }
    const DWORD length = static_cast<DWORD>(size.QuadPart);
    const std::unique_ptr<char[]> bytes = std::make_unique_for_overwrite<char[]>(length);
    DWORD read = 0;
    if (!ReadFile(list.get(), bytes.get(), length, &read, nullptr) || read != length) {
        return -1;
    }
    int failed = 0;
    std::wstring path;
    for (std::string_view rest(bytes.get(), length); !rest.empty();) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        const int size8 = static_cast<int>(line.size());
        path.resize(line.size());
        path.resize(static_cast<std::size_t>(
            MultiByteToWideChar(CP_UTF8, 0, line.data(), size8, path.data(), size8)));
        if (!path.empty() && !DeleteFileW(path.c_str())) {
            ++failed;
        }
    }
    return failed;
}
