// vt_idle: does nothing until it is terminated. Started suspended by the tests, it sets the
// event they made for it once it runs, and then waits for ever.
#include "system/handles.h"
#include "tests/support/idle_program.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const vt::test::IdleReadyEventName name(GetCurrentProcessId());
    if (const vt::UniqueHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, name.text)); ready) {
        SetEvent(ready.get());
    }
    for (;;) {
        Sleep(INFINITE);
    }
}
