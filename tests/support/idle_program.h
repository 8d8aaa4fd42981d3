// What the tests and the idle program agree on. The idle program stands in for a program of
// the product family: the tests run copies of it under the family's names. It tells when it is
// fully started, so that a test never inspects a process that is still loading.
#pragma once

#include <windows.h>

#include <cwchar>

namespace vt::test {

struct IdleReadyEventName {
    explicit IdleReadyEventName(DWORD processId) noexcept {
        std::swprintf(text, sizeof text / sizeof text[0], L"vt-idle-ready-%lu",
                      static_cast<unsigned long>(processId));
    }
    wchar_t text[64];
};

} // namespace vt::test
