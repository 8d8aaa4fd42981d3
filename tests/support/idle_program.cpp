// vt_idle: stands in for a program of the product family, under whatever name it is copied to.
// Started suspended by the tests, it says when it runs, and then waits until it is terminated.
#include "tests/support/helpers.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    vt::test::Tell(vt::test::IdleReadyEvent(GetCurrentProcessId()));
    for (;;) {
        Sleep(INFINITE);
    }
}
