#include "apps/lumetra-map/process_start.h"

#include "framework/stop_cleanup_linux.h"
#include "probe/echo_prober_linux.h"

namespace lumetra::map_tool {

bool PrepareToRun(bool probing) {
    // While the tool may hold CAP_NET_RAW from its file: the one raw socket
    // that probe needs, then no capability at all.
    if (!KeepIcmpSocketThenDropCapabilities(probing)) return false;
    RemoveTemporaryFilesOnStopSignals();
    return true;
}

}  // namespace lumetra::map_tool
