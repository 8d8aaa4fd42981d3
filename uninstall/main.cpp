// unins000: the uninstaller of Veltrane, Brendix and Tessaly.
#include "uninstall/form1.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    vt::Form1 form(instance);
    return form.Show();
}
