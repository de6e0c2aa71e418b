// The three operations, the same on every platform; the platform files
// supply the socket layer and the two steps.
#include "probe/echo_prober.h"

namespace lumetra {

int PingAddress(std::uint32_t address, int* roundTripMs, int* secondResult, int timeoutMs, int dataSize) {
    if (roundTripMs == nullptr && secondResult == nullptr) return 0;
    const CSocketLayer socketLayer;
    if (!socketLayer.IsStarted()) return 0;
    return SendOneEcho(address, roundTripMs, secondResult, timeoutMs, dataSize);
}

int PingHostName(const char* host, int* roundTripMs, int* secondResult, int timeoutMs, int dataSize, bool* resolved) {
    if (resolved != nullptr) *resolved = false;
    if (roundTripMs == nullptr && secondResult == nullptr) return 0;
    const CSocketLayer socketLayer;
    if (!socketLayer.IsStarted()) return 0;
    std::uint32_t address = 0;
    if (LookUpHost(host, &address) == 0) return 0;
    if (resolved != nullptr) *resolved = true;
    return SendOneEcho(address, roundTripMs, secondResult, timeoutMs, dataSize);
}

// Storing the looked-up address would turn a name target into an address
// target for good: the saver runs for hours, a name's address can change
// meanwhile, and the stale address would be probed until the saver ends.
// PingHostName resolves the name on every probe, so nothing is looked up here.
int ResolveHostName(const char* /*host*/, std::uint32_t* address) {
    if (address == nullptr) return 0;
    const CSocketLayer socketLayer;
    return socketLayer.IsStarted() ? 1 : 0;
}

}  // namespace lumetra
