#include "uninstall/unregistrations.h"

#include "filesystem/path_rules.h"
#include "system/myMod.h"
#include "system/system_program.h"

#include <algorithm>

namespace vt {

void Unregistrations::TrustBelow(std::wstring programFolder, bool closed) {
    programFolder_ = std::move(programFolder);
    closed_ = closed;
}

void Unregistrations::Start(const std::wstring& library, HWND owner) noexcept {
    try {
        auto tool = std::find_if(tools_.begin(), tools_.end(),
                                 [&](const Tool& t) { return t.library == library; });
        if ((tool != tools_.end() && tool->started) || !NamesOneExactPlace(library) || !closed_) {
            return;
        }
        HeldFile held = HoldFile(library, programFolder_);
        if (!held.trusted) {
            return;
        }
        if (tool == tools_.end()) {
            tool = tools_.insert(tools_.end(), Tool{library, {}, {}, false, 0});
        }
        // The path goes over in UTF-16, so that a folder name beyond the ANSI code page arrives
        // whole.
        tool->process = StartSystemProgram(L"regsvr32.exe", L"/u /s \"" + library + L"\"", owner,
                                           SW_SHOWNORMAL);
        tool->started = static_cast<bool>(tool->process);
        tool->held = tool->started ? std::move(held) : HeldFile{};
        tool->deadline = GetTickCount64() + kUnregisterLimitMs;
        // Starting a program takes a moment: the window answers between one start and the next.
        DoEvents();
    } catch (...) {
        // Out of memory: the library stays registered, as when the tool cannot be started.
    }
}

void Unregistrations::Finish(const std::wstring& library, HWND owner) noexcept {
    Start(library, owner);
    for (Tool& tool : tools_) {
        if (tool.process) {
            const ULONGLONG now = GetTickCount64();
            const DWORD left = now < tool.deadline ? static_cast<DWORD>(tool.deadline - now) : 0;
            WaitForProgram(tool.process.get(), left);
            tool.process.reset();
        }
        tool.held = {};
    }
}

} // namespace vt
