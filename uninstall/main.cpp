// unins000: the uninstaller of Veltrane, Brendix and Tessaly.
#include "system/handles.h"
#include "system/single_copy.h"
#include "system/system_library.h"
#include "uninstall/form1.h"
#include "uninstall/form1_layout.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Before anything can load a library: none may come from the program's folder.
    vt::RestrictLibrarySearch();
    // A second copy asks nothing and touches nothing: the running one does the work. A user who
    // started it again is shown the running one; a deployment tool reads the exit code.
    const vt::SingleCopyLock lock(vt::kSingleCopyName);
    if (!lock.Held()) {
        if (!vt::IsSilentArgument(vt::ArgumentString(GetCommandLineW()))) {
            vt::BringOtherCopyToFront(vt::kForm1ClassName);
        }
        return vt::ExitCodeFor(vt::RunOutcome::AlreadyRunning);
    }
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
