#include "tests/support/running.h"

#include "tests/support/helpers.h"
#include "tests/support/text.h"

#include <tlhelp32.h>

#include <filesystem>
#include <stdexcept>

namespace vt::test {

namespace fs = std::filesystem;

RunningPrograms::RunningPrograms(const std::wstring& folderName)
    : folder_(L"C:\\vt-tests\\" + folderName) {
    fs::create_directories(folder_);
}

RunningPrograms::~RunningPrograms() {
    for (auto& [name, process] : processes_) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 30000); // hang protection only
    }
    processes_.clear();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

void RunningPrograms::Start(const std::wstring& exeName) {
    const std::wstring exe = folder_ + L"\\" + exeName;
    fs::copy_file(Environment(L"VT_IDLE_PROGRAM"), exe, fs::copy_options::overwrite_existing);
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // Wine now and then fails to create a process among many (error 1359): it is asked again.
    const auto create = [&] {
        return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                              CREATE_SUSPENDED, nullptr, folder_.c_str(), &startup, &started);
    };
    if (!create() && !create()) {
        throw std::runtime_error("cannot start " + ToUtf8(exe));
    }
    UniqueHandle process(started.hProcess);
    const UniqueHandle thread(started.hThread);
    // It tells when it is fully started, so that no test inspects a process still loading.
    const UniqueHandle ready(
        CreateEventW(nullptr, TRUE, FALSE, IdleReadyEvent(started.dwProcessId).c_str()));
    ResumeThread(thread.get());
    HANDLE either[] = {ready.get(), process.get()};
    if (!ready || WaitForMultipleObjects(2, either, FALSE, 60000) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        throw std::runtime_error(ToUtf8(exeName) + " did not start");
    }
    processes_.emplace(exeName, std::move(process));
}

bool RunningPrograms::WaitForEnd(const std::wstring& exeName, DWORD milliseconds) const {
    const auto found = processes_.find(exeName);
    return found != processes_.end() &&
           WaitForSingleObject(found->second.get(), milliseconds) == WAIT_OBJECT_0;
}

std::optional<DWORD> RunningPrograms::ExitCode(const std::wstring& exeName) const {
    DWORD code = 0;
    if (!WaitForEnd(exeName, 0) || !GetExitCodeProcess(processes_.at(exeName).get(), &code)) {
        return std::nullopt;
    }
    return code;
}

int CountProcessesNamed(const std::wstring& exeName) {
    const UniqueSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    int count = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL read = Process32FirstW(snapshot.get(), &entry); read;
         read = Process32NextW(snapshot.get(), &entry)) {
        count += lstrcmpiW(entry.szExeFile, exeName.c_str()) == 0;
    }
    return count;
}

} // namespace vt::test
