#include "framework/stop_cleanup_linux.h"

#include <signal.h>

#include "framework/replace_file.h"

namespace lumetra {
namespace {

extern "C" void RemoveThenEnd(int signal) {
    RemoveUnfinishedTemporaryFiles();
    // SA_RESETHAND put the default action back: the signal, delivered again
    // once this handler returns, ends the process as it would have.
    static_cast<void>(::raise(signal));
}

}  // namespace

void RemoveTemporaryFilesOnStopSignals() {
    struct sigaction action {};
    action.sa_handler = RemoveThenEnd;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) static_cast<void>(::sigaction(signal, &action, nullptr));
}

}  // namespace lumetra
