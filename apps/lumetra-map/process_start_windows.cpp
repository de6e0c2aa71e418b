#include "apps/lumetra-map/process_start.h"

#include <windows.h>

#include "framework/replace_file.h"

namespace lumetra::map_tool {
namespace {

// Called on a thread of the console's own; FALSE lets the stop end the
// process as it always would, once the unfinished files are gone.
BOOL WINAPI RemoveTemporaryFilesOnStop(DWORD /*event*/) {
    RemoveUnfinishedTemporaryFiles();
    return FALSE;
}

}  // namespace

bool PrepareToRun(bool /*probing*/) {
    // A Windows program file grants no privilege of its own to give up.
    return SetConsoleCtrlHandler(RemoveTemporaryFilesOnStop, TRUE) != FALSE;
}

}  // namespace lumetra::map_tool
