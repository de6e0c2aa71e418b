// Linux: SIGINT, SIGTERM and SIGHUP end the program as they always would,
// but first remove the temporary files of replacements under way
// (RemoveUnfinishedTemporaryFiles), so that an interrupted write leaves no
// file behind.
#pragma once

namespace lumetra {

// Installs the handlers; call it once at the start, before anything writes.
// A signal's action that the program sets later (around a loop that handles
// the signal itself) takes over from it.
void RemoveTemporaryFilesOnStopSignals();

}  // namespace lumetra
