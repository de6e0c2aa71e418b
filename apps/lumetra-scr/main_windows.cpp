// Process entry of lumetra.scr. Static construction makes the one window
// object and then the one dialog object before the entry runs; every mode
// finds them through g_pSaverWnd and g_pSaverDlg.
#include <windows.h>

#include "config/latency_map_dlg_windows.h"
#include "host/run_modes_windows.h"
#include "view/latency_map_wnd_windows.h"

namespace lumetra {
namespace {

CLatencyMapWnd g_saverWnd;
CLatencyMapDlg g_saverDlg;

}  // namespace
}  // namespace lumetra

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
    lumetra::StartFromCommandLine();
}
