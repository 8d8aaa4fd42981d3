#include "tests/support/running.h"

#include "tests/support/idle_program.h"
#include "tests/support/text.h"

#include <tlhelp32.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace vt::test {

namespace fs = std::filesystem;

namespace {

// Hang protection only: a program starts or ends long before.
constexpr DWORD kStartWithinMs = 60000;
constexpr DWORD kEndWithinMs = 30000;

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + " (error " + std::to_string(GetLastError()) + ")");
}

} // namespace

RunningPrograms::RunningPrograms(const std::wstring& folderName)
    : folder_(L"C:\\vt-tests\\" + folderName), idleProgram_(Environment(L"VT_IDLE_PROGRAM")) {
    if (idleProgram_.empty()) {
        throw std::runtime_error("VT_IDLE_PROGRAM names no idle program");
    }
    std::error_code error;
    fs::remove_all(folder_, error);
    fs::create_directories(folder_, error);
    if (error) {
        throw std::runtime_error("cannot create " + ToUtf8(folder_) + ": " + error.message());
    }
}

RunningPrograms::~RunningPrograms() {
    for (auto& [name, process] : processes_) {
        if (WaitForSingleObject(process.get(), 0) != WAIT_OBJECT_0) {
            TerminateProcess(process.get(), 1);
            WaitForSingleObject(process.get(), kEndWithinMs);
        }
    }
    processes_.clear();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
    RemoveDirectoryW(L"C:\\vt-tests");
}

void RunningPrograms::Start(const std::wstring& exeName) {
    if (processes_.count(exeName) != 0) {
        throw std::runtime_error(ToUtf8(exeName) + " runs already");
    }
    const std::wstring exe = folder_ + L"\\" + exeName;
    std::error_code error;
    fs::copy_file(idleProgram_, exe, fs::copy_options::overwrite_existing, error);
    if (error) {
        throw std::runtime_error("cannot copy the idle program to " + ToUtf8(exe) + ": " +
                                 error.message());
    }
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, folder_.c_str(), &startup, &started)) {
        Fail("cannot start " + ToUtf8(exe));
    }
    UniqueHandle process(started.hProcess);
    const UniqueHandle thread(started.hThread);
    const IdleReadyEventName name(started.dwProcessId);
    const UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, name.text));
    const bool running = ready && ResumeThread(thread.get()) != static_cast<DWORD>(-1);
    HANDLE either[] = {ready.get(), process.get()};
    if (!running || WaitForMultipleObjects(2, either, FALSE, kStartWithinMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        Fail(ToUtf8(exeName) + " did not start");
    }
    processes_.emplace(exeName, std::move(process));
}

HANDLE RunningPrograms::Process(const std::wstring& exeName) const {
    const auto found = processes_.find(exeName);
    return found == processes_.end() ? nullptr : found->second.get();
}

bool RunningPrograms::IsRunning(const std::wstring& exeName) const {
    HANDLE process = Process(exeName);
    return process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

bool RunningPrograms::WaitForEnd(const std::wstring& exeName, DWORD milliseconds) const {
    HANDLE process = Process(exeName);
    return process && WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0;
}

std::optional<DWORD> RunningPrograms::ExitCode(const std::wstring& exeName) const {
    DWORD code = 0;
    if (IsRunning(exeName) || !Process(exeName) || !GetExitCodeProcess(Process(exeName), &code)) {
        return std::nullopt;
    }
    return code;
}

int CountProcessesNamed(const std::wstring& exeName) {
    const UniqueSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        Fail("cannot take a process snapshot");
    }
    int count = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL read = Process32FirstW(snapshot.get(), &entry); read;
         read = Process32NextW(snapshot.get(), &entry)) {
        if (lstrcmpiW(entry.szExeFile, exeName.c_str()) == 0) {
            ++count;
        }
    }
    return count;
}

} // namespace vt::test
