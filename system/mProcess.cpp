#include "system/mProcess.h"

#include "system/errors.h"
#include "system/handles.h"
#include "system/myMod.h"

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstring>
#include <optional>
#include <vector>

// Module paths and snapshot entries are read in their 8-bit forms; the UNICODE build would
// otherwise map these names to the wide functions and record.
#undef Process32First
#undef Process32Next
#undef PROCESSENTRY32

namespace vt {

namespace {

constexpr DWORD kInspectAccess = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ; // 0x410
// Full access as the older systems define it; the current constant asks for more than they
// grant.
constexpr DWORD kTerminateAccess = 0x1F0FFF;
constexpr DWORD kModuleSlotsBytes = 200;

std::wstring FromAnsi(const char* text, int length) {
    if (length <= 0) {
        return {};
    }
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, length, wide.data(), wideLength);
    return wide;
}

std::wstring TrimSpaces(const std::wstring& text) {
    const std::size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

std::wstring Upper(std::wstring text) {
    if (!text.empty()) {
        CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    }
    return text;
}

std::wstring Lower(std::wstring text) {
    if (!text.empty()) {
        CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    }
    return text;
}

// The identifiers of the running processes. The buffer doubles from 16 bytes until the system
// leaves part of it unfilled, so that no process is cut off however many there are.
std::vector<DWORD> ProcessIds() {
    DWORD bufferBytes = 8;
    DWORD filledBytes = 96;
    std::vector<DWORD> ids;
    while (bufferBytes <= filledBytes) {
        DoEvents();
        bufferBytes *= 2;
        ids.assign(bufferBytes / sizeof(DWORD), 0);
        if (!EnumProcesses(ids.data(), bufferBytes, &filledBytes)) {
            filledBytes = 0;
        }
    }
    ids.resize(filledBytes / sizeof(DWORD));
    return ids;
}

// The main module's file name of process `id`, trimmed and in upper case; nothing when the
// process cannot be inspected.
std::optional<std::wstring> MainModuleName(DWORD id) {
    const UniqueHandle process(OpenProcess(kInspectAccess, FALSE, id));
    if (!process) {
        return std::nullopt;
    }
    HMODULE modules[kModuleSlotsBytes / sizeof(HMODULE)] = {};
    DWORD neededBytes = 0;
    if (!EnumProcessModules(process.get(), modules, kModuleSlotsBytes, &neededBytes)) {
        return std::nullopt;
    }
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameExA(process.get(), modules[0], path, MAX_PATH);
    const std::wstring trimmed = Upper(TrimSpaces(FromAnsi(path, static_cast<int>(length))));
    const std::size_t last = trimmed.rfind(L'\\');
    return last == std::wstring::npos ? trimmed : trimmed.substr(last + 1);
}

// Every name ends with the empty one: an empty `wanted` must not stand for every process.
bool EndsWith(const std::wstring& name, const std::wstring& wanted) {
    return !wanted.empty() && name.size() >= wanted.size() &&
           name.compare(name.size() - wanted.size(), wanted.size(), wanted) == 0;
}

} // namespace

bool IsProcessRunning(std::wstring ExeName) {
    const std::wstring name = Upper(TrimSpaces(ExeName));
    for (DWORD id : ProcessIds()) {
        DoEvents();
        const std::optional<std::wstring> moduleName = MainModuleName(id);
        if (moduleName && *moduleName == name) {
            return true;
        }
        if (moduleName) {
            DoEvents();
        }
    }
    return false;
}

bool KillProcess(const std::wstring& ExeName) {
    bool result = false;
    return TrapWith(
        [&] {
            const UniqueSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
            const std::wstring wanted = Lower(ExeName);
            tagPROCESSENTRY32 entry{};
            entry.dwSize = sizeof entry;
            BOOL read = snapshot ? Process32First(snapshot.get(), &entry) : FALSE;
            while (read) {
                const std::wstring name = Lower(
                    FromAnsi(entry.szExeFile,
                             static_cast<int>(strnlen(entry.szExeFile, sizeof entry.szExeFile))));
                // The uninstaller never ends itself, whatever it was renamed to.
                if (EndsWith(name, wanted) && entry.th32ProcessID != GetCurrentProcessId()) {
                    const UniqueHandle process(
                        OpenProcess(kTerminateAccess, FALSE, entry.th32ProcessID));
                    result = process && TerminateProcess(process.get(), 0);
                }
                read = Process32Next(snapshot.get(), &entry);
            }
            return result;
        },
        [&](const ErrorInfo& error) {
            HWND owner = nullptr;
            ResumeNext([&] { UnicodeMsgBox(error.description, MB_OK, L"unins000", L"", owner); });
            return result;
        });
}

} // namespace vt
