// The echo exchange and the name look-up on Linux: an unprivileged ICMP
// datagram socket where net.ipv4.ping_group_range allows it, else a raw ICMP
// socket. All of the prober's socket code for Linux is in this file.
#include <arpa/inet.h>
#include <linux/icmp.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>

#include <algorithm>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "framework/capabilities_linux.h"
#include "probe/echo_prober.h"
#include "probe/echo_prober_linux.h"
#include "probe/icmp_packet.h"

namespace lumetra {

namespace {

using Clock = std::chrono::steady_clock;

// An ICMP socket for one echo: one of its own, or the kept raw socket of the
// run (not closed here; see KeepIcmpSocketThenDropCapabilities).
class CIcmpSocket {
public:
    CIcmpSocket() = default;
    CIcmpSocket(int fd, IcmpSocketKind kind, bool owned = true) : m_hSocket(fd), m_kind(kind), m_bOwned(owned) {}
    ~CIcmpSocket() {
        if (m_hSocket >= 0 && m_bOwned) ::close(m_hSocket);
    }
    CIcmpSocket(const CIcmpSocket&) = delete;
    CIcmpSocket& operator=(const CIcmpSocket&) = delete;
    CIcmpSocket(CIcmpSocket&& other) noexcept
        : m_hSocket(std::exchange(other.m_hSocket, -1)), m_kind(other.m_kind), m_bOwned(other.m_bOwned) {}
    CIcmpSocket& operator=(CIcmpSocket&& other) noexcept {
        std::swap(m_hSocket, other.m_hSocket);
        std::swap(m_kind, other.m_kind);
        std::swap(m_bOwned, other.m_bOwned);
        return *this;
    }

    int Handle() const { return m_hSocket; }
    IcmpSocketKind Kind() const { return m_kind; }
    bool IsOpen() const { return m_hSocket >= 0; }
    bool IsKept() const { return m_hSocket >= 0 && !m_bOwned; }
    // The descriptor, no longer closed by this object.
    int Release() {
        m_bOwned = false;
        return m_hSocket;
    }

private:
    int m_hSocket = -1;
    IcmpSocketKind m_kind = IcmpSocketKind::None;
    bool m_bOwned = true;
};

// The kept-socket mode: the raw socket that a program opened while it held
// CAP_NET_RAW, serving every probe of the run, one at a time.
int g_nKeptRawSocket = -1;
std::mutex g_keptSocketTurn;

struct OpenAttempt {
    CIcmpSocket socket;
    int datagramError = 0;
    int rawError = 0;
};

// A datagram socket where the system allows it, else the kept raw socket,
// else a raw socket of its own.
OpenAttempt OpenIcmpSocket() {
    OpenAttempt attempt;
    const int datagram = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (datagram >= 0) {
        attempt.socket = CIcmpSocket(datagram, IcmpSocketKind::Datagram);
        return attempt;
    }
    attempt.datagramError = errno;
    if (g_nKeptRawSocket >= 0) {
        attempt.socket = CIcmpSocket(g_nKeptRawSocket, IcmpSocketKind::Raw, false);
        return attempt;
    }
    const int raw = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (raw >= 0) {
        attempt.socket = CIcmpSocket(raw, IcmpSocketKind::Raw);
        return attempt;
    }
    attempt.rawError = errno;
    return attempt;
}

// A raw socket gets a copy of every ICMP message for this machine; let the
// kernel drop all but echo replies before they wake us.
void KeepOnlyEchoReplies(const CIcmpSocket& socket) {
    icmp_filter filter{};
    filter.data = ~(1U << ICMP_ECHOREPLY);
    // Without the filter the reply test below still sorts the messages out.
    static_cast<void>(::setsockopt(socket.Handle(), SOL_RAW, ICMP_FILTER, &filter, sizeof filter));
}

// Identifier and sequence number of a raw request: random, so that two
// probes running at once (in any process) tell their replies apart.
void PickRandomIds(std::uint16_t* identifier, std::uint16_t* sequence) {
    std::uint16_t ids[2] = {0, 0};
    if (::getrandom(ids, sizeof ids, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof ids)) {
        const auto ticks = static_cast<std::uint64_t>(Clock::now().time_since_epoch().count());
        ids[0] = static_cast<std::uint16_t>(static_cast<std::uint32_t>(::getpid()) ^ (ticks >> 16));
        ids[1] = static_cast<std::uint16_t>(ticks);
    }
    *identifier = ids[0];
    *sequence = ids[1];
}

// The identifier the kernel put into a datagram socket's requests.
bool BoundIdentifier(const CIcmpSocket& socket, std::uint16_t* identifier) {
    sockaddr_in bound{};
    socklen_t size = sizeof bound;
    if (::getsockname(socket.Handle(), reinterpret_cast<sockaddr*>(&bound), &size) != 0) return false;
    *identifier = ntohs(bound.sin_port);
    return true;
}

// One message that is waiting, sorted: our reply or another.
Received ReadOne(const CIcmpSocket& socket, const EchoExpectation& expected, std::vector<std::uint8_t>& buffer) {
    sockaddr_in from{};
    socklen_t fromSize = sizeof from;
    const ssize_t got = ::recvfrom(socket.Handle(), buffer.data(), buffer.size(), MSG_DONTWAIT | MSG_TRUNC,
                                   reinterpret_cast<sockaddr*>(&from), &fromSize);
    if (got < 0) return Received::kNothing;  // (or an error: keep waiting until the deadline)
    if (static_cast<std::size_t>(got) > buffer.size()) return Received::kOther;  // truncated: cannot be ours
    const std::span<const std::uint8_t> received(buffer.data(), static_cast<std::size_t>(got));
    if (socket.Kind() == IcmpSocketKind::Datagram) {
        if (IsReplyToOurEcho(received, from.sin_addr.s_addr, expected)) return Received::kOurReply;
    } else if (const auto icmp = IcmpOfIpv4Packet(received)) {
        if (IsReplyToOurEcho(icmp->message, icmp->source, expected)) return Received::kOurReply;
    }
    return Received::kOther;
}

// Reads and drops one waiting message.
Received Discard(const CIcmpSocket& socket) {
    std::uint8_t byte = 0;
    return ::recv(socket.Handle(), &byte, sizeof byte, MSG_DONTWAIT | MSG_TRUNC) < 0 ? Received::kNothing
                                                                                     : Received::kOther;
}

// Waits for readable data until the deadline; false when it has passed.
bool WaitUntil(const CIcmpSocket& socket, Clock::time_point deadline) {
    for (;;) {
        const auto remaining = deadline - Clock::now();
        if (remaining <= Clock::duration::zero()) return false;
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(remaining).count();
        const timespec wait{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
        pollfd watch{socket.Handle(), POLLIN, 0};
        const int ready = ::ppoll(&watch, 1, &wait, nullptr);
        if (ready > 0) return true;
        if (ready < 0 && errno != EINTR) return false;
    }
}

std::string ErrorText(int error) {
    return std::string(std::strerror(error));
}

}  // namespace

CSocketLayer::CSocketLayer() : m_bStarted(true) {}  // the Linux socket layer needs no start
// NOLINTNEXTLINE(performance-trivially-destructible): the Windows one cleans up WS2_32
CSocketLayer::~CSocketLayer() = default;

int LookUpHost(const char* host, std::uint32_t* address) {
    if (host == nullptr || *host == '\0') return 0;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;  // one entry per address
    addrinfo* found = nullptr;
    if (::getaddrinfo(host, nullptr, &hints, &found) != 0 || found == nullptr) return 0;
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owner(found, &::freeaddrinfo);
    if (found->ai_family != AF_INET || found->ai_addrlen < sizeof(sockaddr_in)) return 0;
    sockaddr_in first{};
    std::memcpy(&first, found->ai_addr, sizeof first);
    if (address != nullptr) *address = first.sin_addr.s_addr;
    return 1;
}

int SendOneEcho(std::uint32_t address, int* roundTripMs, int* secondResult, int timeoutMs, int dataSize) {
    const int waitMs = EffectiveTimeoutMs(timeoutMs);
    if (!IsSendableEcho(address, waitMs, dataSize)) return 0;
    OpenAttempt attempt = OpenIcmpSocket();
    const CIcmpSocket& socket = attempt.socket;
    if (!socket.IsOpen()) return 0;
    std::unique_lock<std::mutex> turn(g_keptSocketTurn, std::defer_lock);
    if (socket.IsKept()) turn.lock();
    // The whole probe, stray messages and all, ends within the timeout.
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    if (socket.IsKept()) {
        // Stray replies that came in since the last probe are old news.
        DrainForReply([&socket] { return Discard(socket); }, deadline);
    } else if (socket.Kind() == IcmpSocketKind::Raw) {
        KeepOnlyEchoReplies(socket);
    }

    EchoExpectation expected{address, 0, 0, dataSize};
    PickRandomIds(&expected.identifier, &expected.sequence);
    const std::vector<std::uint8_t> request = BuildEchoRequest(expected.identifier, expected.sequence, dataSize);
    // Room for the largest IP header, the echo and one byte to spot a longer reply.
    std::vector<std::uint8_t> buffer(60 + request.size() + 1);

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    const Clock::time_point sent = Clock::now();
    const ssize_t put =
        ::sendto(socket.Handle(), request.data(), request.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    if (put != static_cast<ssize_t>(request.size())) return 0;
    if (socket.Kind() == IcmpSocketKind::Datagram && !BoundIdentifier(socket, &expected.identifier)) return 0;

    const auto readOne = [&] { return ReadOne(socket, expected, buffer); };
    while (WaitUntil(socket, deadline)) {
        if (!DrainForReply(readOne, deadline)) continue;
        const Clock::time_point received = Clock::now();
        if (received > deadline) return 0;  // came too late to count
        StoreRoundTrip(WholeMilliseconds(received - sent), roundTripMs, secondResult);
        return 1;
    }
    return 0;
}

bool KeepIcmpSocketThenDropCapabilities(bool keepSocket) {
    if (keepSocket && g_nKeptRawSocket < 0) {
        OpenAttempt attempt = OpenIcmpSocket();
        if (attempt.socket.Kind() == IcmpSocketKind::Raw) {
            KeepOnlyEchoReplies(attempt.socket);
            g_nKeptRawSocket = attempt.socket.Release();
        }
    }
    return DropAllCapabilities();
}

IcmpSocketKind AvailableIcmpSocketKind() {
    return OpenIcmpSocket().socket.Kind();
}

bool IcmpSocketsAvailable(std::string* why) {
    const OpenAttempt attempt = OpenIcmpSocket();
    if (attempt.socket.IsOpen()) return true;
    if (why != nullptr) {
        *why = "this user may open neither an ICMP datagram socket (" + ErrorText(attempt.datagramError) +
               ": net.ipv4.ping_group_range does not include the user's group) nor a raw ICMP socket (" +
               ErrorText(attempt.rawError) + ": needs CAP_NET_RAW)";
    }
    return false;
}

std::string IcmpNotAllowedMessage(const std::string& why, std::string_view program) {
    const std::string sysctl = "sysctl net.ipv4.ping_group_range=\"0 2147483647\"";
    const std::string setcap = "setcap cap_net_raw+ep " + std::string(program);
    const std::size_t width = std::max(sysctl.size(), setcap.size()) + 3;
    return "cannot send ICMP echoes: " + why + ".\nAllow it with one of:\n  " + sysctl +
           std::string(width - sysctl.size(), ' ') + "(unprivileged ICMP sockets for all groups)\n  " + setcap +
           std::string(width - setcap.size(), ' ') + "(raw sockets for this program)";
}

}  // namespace lumetra
