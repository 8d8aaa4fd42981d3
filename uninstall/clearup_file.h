// The self-removal batch as a file in the program folder.
#pragma once

#include "uninstall/clearup_batch.h"

#include <optional>

namespace vt {

// Writes "clearup.bat" beside the running executable, so that it deletes the executable once
// this process has ended, and takes the executable's read-only mark off so that it can. The
// parent folder's batch is called only where no untrusted account may write. What to start it
// by, or nothing when no batch was written (the folder is read-only, or no form of its path
// can be written into a batch).
std::optional<ClearupBatch> WriteClearupBatch();

// Has the system delete the running executable at the next restart, its read-only mark taken
// off first; true when the system took the deletion on.
bool LeaveUninstallerForRestart();

// Starts the batch in a console window of its own (shown normally) and does not wait for it.
// The command processor is the system's own, named by its full path, and runs in the system
// folder: a cmd.exe beside the program or in the current folder is never run. False when it
// could not be started.
bool StartClearupBatch(const ClearupBatch& batch);

} // namespace vt
