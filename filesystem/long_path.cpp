#include "filesystem/long_path.h"

#include "filesystem/path_rules.h"
#include "system/handles.h"
#include "system/reg_rules.h"

#include <windows.h>
#include <shlwapi.h>

namespace vt {

std::wstring LongPathOf(const std::wstring& path) {
    std::wstring result;
    std::wstring current = path;
    for (;;) {
        // The drive ends the walk. Its search is not waited for: not every system finds an
        // entry for a bare "C:".
        if (current.size() <= 2) {
            result = current + L"\\" + result;
            break;
        }
        WIN32_FIND_DATAW entry{};
        const UniqueFind search(FindFirstFileW(current.c_str(), &entry));
        if (!search) {
            break;
        }
        result = TrimNull(entry.cFileName) + L"\\" + result;
        const std::wstring parent = CutBeforeLastBackslash(current);
        // A path without a drive that names an existing entry would never get shorter.
        if (parent == current) {
            break;
        }
        current = parent;
    }
    if (!result.empty()) {
        result.pop_back();
    }
    return result;
}

std::wstring LastComponent(const std::wstring& path) {
    std::wstring stripped = path;
    stripped.push_back(L'\0');
    PathStripPathW(stripped.data());
    return TrimNull(stripped);
}

} // namespace vt
