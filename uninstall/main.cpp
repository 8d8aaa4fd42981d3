// unins000: the uninstaller of Veltrane, Brendix and Tessaly.
#include "system/handles.h"
#include "system/system_library.h"
#include "uninstall/form1.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Before anything can load a library: none may come from the program's folder.
    vt::RestrictLibrarySearch();
    // The run reports its own errors; this catches only a failure while reporting one (such
    // as memory running out for the error box), so that the program still ends in order.
    try {
        // The window's pictures are OLE pictures, and COM objects come and go during the
        // run: the thread is an OLE apartment for as long as the window lives.
        const vt::OleApartment ole;
        vt::Form1 form(instance);
        return form.Show();
    } catch (...) {
        return vt::kExitFailed;
    }
}
