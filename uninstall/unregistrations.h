// The unregistrations of the product's COM libraries, each the system's registration tool run on
// one library. They run side by side: started together, they cost the removal no more than the
// slowest of them, where one after the other each would add its own start and run.
#pragma once

#include "filesystem/write_access.h"
#include "system/handles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace vt {

// A library's unregistration takes moments; a tool still running this long after its start is
// taken to hang.
inline constexpr DWORD kUnregisterLimitMs = 20000;

class Unregistrations {
  public:
    // The tool loads the library and runs its code with the uninstaller's rights: a library is
    // handed to it only from below `programFolder`, only when that folder is `closed` (no writer
    // but the trusted accounts), and only when neither the library nor a folder on the way
    // admits another writer either, read at the moment of the start. The library is held from
    // then until its tool has ended, so that nobody can put another in its place meanwhile.
    // Until this is called, no library is trusted.
    void TrustBelow(std::wstring programFolder, bool closed);

    // Starts the tool on `library`, unless it was started before or is not to be trusted: `<system
    // folder>\regsvr32.exe /u /s "library"`, without its messages. The tool loads the library it is
    // given, so a name that is not a full path (it would be looked for along the search path) is
    // never handed over. Never fails: a tool that cannot be started is tried once more when the
    // library's step finishes it (a start of many side by side may fail where one alone would not),
    // and when that fails too the library stays registered.
    void Start(const std::wstring& library, HWND owner) noexcept;

    // Starts the tool on `library` if need be, then waits until every tool started has ended,
    // dispatching the window's messages meanwhile; a tool that hangs is terminated at its limit.
    // Afterwards no tool holds `library`, nor any other library a tool loaded with it, so that
    // each may be deleted.
    void Finish(const std::wstring& library, HWND owner) noexcept;

  private:
    struct Tool {
        std::wstring library;
        UniqueHandle process; // none once it has ended, or when it could not be started
        HeldFile held;        // the library, until the tool has ended
        bool started = false;
        ULONGLONG deadline = 0;
    };

    std::vector<Tool> tools_;
    std::wstring programFolder_;
    bool closed_ = false;
};

} // namespace vt
