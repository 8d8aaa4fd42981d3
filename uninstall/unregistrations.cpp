#include "uninstall/unregistrations.h"

#include "filesystem/path_rules.h"
#include "system/myMod.h"
#include "system/system_program.h"

#include <algorithm>

namespace vt {

void Unregistrations::Start(const std::wstring& library, HWND owner) noexcept {
    try {
        const bool started = std::any_of(tools_.begin(), tools_.end(),
                                         [&](const Tool& tool) { return tool.library == library; });
        if (started || !NamesOneExactPlace(library)) {
            return;
        }
        // The path goes over in UTF-16, so that a folder name beyond the ANSI code page arrives
        // whole.
        Tool tool{library,
                  StartSystemProgram(L"regsvr32.exe", L"/u /s \"" + library + L"\"", owner,
                                     SW_SHOWNORMAL),
                  GetTickCount64() + kUnregisterLimitMs};
        tools_.push_back(std::move(tool));
        // Starting a program takes a moment: the window answers between one start and the next.
        DoEvents();
    } catch (...) {
        // Out of memory: the library stays registered, as when the tool cannot be started.
    }
}

void Unregistrations::Finish(const std::wstring& library, HWND owner) noexcept {
    Start(library, owner);
    for (Tool& tool : tools_) {
        if (!tool.process) {
            continue;
        }
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < tool.deadline ? static_cast<DWORD>(tool.deadline - now) : 0;
        WaitForProgram(tool.process.get(), left);
        tool.process.reset();
    }
}

} // namespace vt
