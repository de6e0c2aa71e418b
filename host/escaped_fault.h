// A C++ exception that escaped a window or dialog procedure is kept here
// instead of unwinding through the system's frames, and raised again once
// the run mode has returned, where the fault guard of SaverMain catches it.
#pragma once

namespace lumetra {

// The exit code of a run that ended in a fault. No run mode returns it.
inline constexpr int kExitFault = 70;

// Keeps the exception being handled (the first one wins).
void KeepEscapedFault();
// Raises the kept exception, if any, and forgets it.
void RethrowEscapedFault();

}  // namespace lumetra
