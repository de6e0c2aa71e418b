// One ICMP echo per call, to a packed IPv4 address or to a host name. Every
// call stands alone: it starts the socket layer, sends one request, waits for
// its reply for at most the timeout and releases everything before it
// returns. A failure of any step leaves both outputs as they were, so a
// target keeps the -1 that the view set before the call.
#pragma once

#include <cstdint>

namespace lumetra {

// Packed addresses hold the first dotted number in the lowest byte (network
// byte order in memory); 0 means no address.

// 1 when a reply came; both outputs (either may be null) then hold the
// round-trip time in whole milliseconds. Both outputs null, address 0, a
// timeout whose low 16 bits are 0 or a data size outside 0 to
// kMaxEchoDataSize: 0, and nothing is sent.
int PingAddress(std::uint32_t address, int* roundTripMs, int* secondResult, int timeoutMs, int dataSize);

// Resolves the name first and probes its first address; 1 only when both
// steps succeeded. `resolved` (when not null) tells whether the name was
// looked up and resolved, so that a caller can tell a name that does not
// resolve from a host that does not answer.
int PingHostName(const char* host, int* roundTripMs, int* secondResult, int timeoutMs, int dataSize,
                 bool* resolved = nullptr);

// 0 when the output is null or the socket layer does not start, else 1. The
// output is left untouched: every probe of a name resolves it afresh.
int ResolveHostName(const char* host, std::uint32_t* address);

// The largest echo payload both platforms send; above it the reply would
// not fit a 16-bit IP datagram length.
inline constexpr int kMaxEchoDataSize = 65500;

// The two internal steps. They assume the socket layer is started (a
// CSocketLayer is alive); each platform implements them in its own file.

// The whole echo exchange: 1 and both outputs written when a reply came.
int SendOneEcho(std::uint32_t address, int* roundTripMs, int* secondResult, int timeoutMs, int dataSize);

// The name look-up: 1 and the first address stored (when the output is not
// null) when the name resolved.
int LookUpHost(const char* host, std::uint32_t* address);

// The platform's socket layer, started for the life of the object (WS2_32
// version 1.1 on Windows; nothing to start on Linux).
class CSocketLayer {
public:
    CSocketLayer();
    ~CSocketLayer();
    CSocketLayer(const CSocketLayer&) = delete;
    CSocketLayer& operator=(const CSocketLayer&) = delete;

    bool IsStarted() const { return m_bStarted; }

private:
    bool m_bStarted = false;
};

}  // namespace lumetra
