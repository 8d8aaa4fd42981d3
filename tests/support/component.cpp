#include "tests/support/component.h"

#include "system/handles.h"
#include "tests/support/text.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

namespace vt::test {

namespace {

// The system's regsvr32, silent; true when it ended with success (hang protection only).
bool Regsvr32(const std::wstring& arguments) {
    wchar_t system[MAX_PATH] = L"";
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring program = std::wstring(system) + L"\\regsvr32.exe";
    std::wstring commandLine = L"\"" + program + L"\" /s " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started)) {
        return false;
    }
    const UniqueHandle process(started.hProcess);
    const UniqueHandle thread(started.hThread);
    DWORD code = 1;
    return WaitForSingleObject(process.get(), 60000) == WAIT_OBJECT_0 &&
           GetExitCodeProcess(process.get(), &code) && code == 0;
}

} // namespace

RegisteredComponent::RegisteredComponent(std::wstring library) : library_(std::move(library)) {
    if (!Regsvr32(L"\"" + library_ + L"\"")) {
        throw std::runtime_error("regsvr32 did not register " + ToUtf8(library_));
    }
}

RegisteredComponent::~RegisteredComponent() {
    // A library the uninstaller unregistered and deleted already has nothing left to undo.
    (void)Regsvr32(L"/u \"" + library_ + L"\"");
}

std::wstring BuildOutput(const wchar_t* variable) {
    std::wstring path = Environment(variable);
    if (path.empty()) {
        throw std::runtime_error(ToUtf8(variable) + " names no build output");
    }
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

} // namespace vt::test
