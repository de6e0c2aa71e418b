// The run modes of the screen saver and the process entry's work.
#pragma once

#include <windows.h>

namespace lumetra {

// Takes the process command line, strips the program name and ends the
// process with the run mode's result. Never returns.
[[noreturn]] void StartFromCommandLine();
// Runs the one mode that `text` (the command line after the program name)
// names and returns the process exit code.
int SaverMain(HINSTANCE instance, const char* text);
int ShowConfigDialog(HWND owner);
int RunPreview(const char* text);
int RunChangePassword(const char* text);
void ChangePassword(HWND owner);

}  // namespace lumetra
