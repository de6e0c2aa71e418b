// A test build of the saver whose window object faults as it starts:
// LUMETRA_TEST_FAULT=seh faults in its own code (it writes to a page
// without access), =cpp throws a C++ exception, =handled has system code
// raise a fault and handle it itself (IsBadReadPtr on that page), after
// which the saver runs on. Everything else is the real host.
#include <windows.h>

#include <stdexcept>

#include "host/run_modes_windows.h"
#include "host/saver_bases_windows.h"

namespace lumetra {
namespace {

// A page that every access faults on.
void* PageWithoutAccess() {
    return VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS);
}

class CFaultingSaverWnd : public CScreenSaverWnd {
public:
    void OnStart() override {
        char kind[8] = {};
        GetEnvironmentVariableA("LUMETRA_TEST_FAULT", kind, sizeof(kind));
        if (kind[0] == 's') *static_cast<volatile int*>(PageWithoutAccess()) = 1;
        if (kind[0] == 'c') throw std::runtime_error("a fault forced by the test");
        if (kind[0] == 'h' && IsBadReadPtr(PageWithoutAccess(), sizeof(int)) == FALSE) {
            throw std::runtime_error("IsBadReadPtr read a page without access");
        }
    }
};

CFaultingSaverWnd g_saverWnd;
CScreenSaverDlg g_saverDlg;

}  // namespace
}  // namespace lumetra

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
    lumetra::StartFromCommandLine();
}
