// Windows: the libraries loaded while the program runs (the ICMP library,
// the password verifier, the password changer) come from the system folder
// only. A library of the same name beside the program, as anyone who
// unpacks the zip into a shared folder or a download folder may find one,
// is never loaded.
#pragma once

#include <windows.h>

namespace lumetra {

// Makes the system folder the only folder that the process's later loads
// search, those the system makes on the program's behalf included. Called
// once at the start, before any window or library is made.
void SearchLibrariesInSystemFolderOnly();

// The system library `name` (such as "ICMP.DLL"), loaded from the system
// folder; null when it is not there. FreeLibrary releases it.
HMODULE LoadSystemLibrary(const char* name);

}  // namespace lumetra
