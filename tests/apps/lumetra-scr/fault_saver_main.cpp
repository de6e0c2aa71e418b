// A test build of the saver whose window object faults as it starts:
// LUMETRA_TEST_FAULT=seh raises an access violation, =cpp throws a C++
// exception. Everything else is the real host.
#include <windows.h>

#include <stdexcept>

#include "host/run_modes_windows.h"
#include "host/saver_bases_windows.h"

namespace lumetra {
namespace {

class CFaultingSaverWnd : public CScreenSaverWnd {
public:
    void OnStart() override {
        char kind[8] = {};
        GetEnvironmentVariableA("LUMETRA_TEST_FAULT", kind, sizeof(kind));
        if (kind[0] == 's') RaiseException(EXCEPTION_ACCESS_VIOLATION, 0, 0, nullptr);
        if (kind[0] == 'c') throw std::runtime_error("a fault forced by the test");
    }
};

CFaultingSaverWnd g_saverWnd;
CScreenSaverDlg g_saverDlg;

}  // namespace
}  // namespace lumetra

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
    lumetra::StartFromCommandLine();
}
