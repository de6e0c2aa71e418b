// echo_responder CONFIG LOG PROBER - answers ICMP echo requests for the test
// hosts of CONFIG, each after its own delay, and logs every request it sees.
// It runs in the hosts' network namespace, where the kernel's own echo
// replies are switched off, so every reply the prober gets comes from here.
//
// CONFIG lines (blank lines and '#' comments are skipped):
//   host NAME ADDRESS BEHAVIOUR   BEHAVIOUR: a delay in ms | never | unreach | decoy:MS
//                                            | decoy-KIND:MS
//   flood SOURCE INTERVAL_MS      unsolicited echo replies from SOURCE to PROBER
//   dns-blackhole ADDRESS         a name server at ADDRESS that reads every
//                                 query and answers none
// "unreach" answers with an ICMP destination-unreachable error instead of an
// echo reply. "decoy:MS" first sends near-miss replies at once, one of every
// KIND, then the real reply after MS; "decoy-KIND:MS" sends only that one.
// The KINDs: id, seq (wrong identifier or sequence number), data (one payload
// byte changed), short, long (one payload byte less or more), sum (a bad
// checksum), source (from another address), error (an ICMP error about the
// request).
//
// LOG gets "ready" once the sockets are open, then one line per request:
//   request DEST from SOURCE id ID seq SEQ data SIZE fill aa|other at MS
// and one per name query:
//   query from SOURCE at MS
//
// This program is only a test peer; it stands alone so that the Windows build
// can compile it with the host's compiler.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <queue>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

std::atomic<bool> g_stop{false};

void OnSignal(int) {
    g_stop = true;
}

enum class Mode { Delay, Never, Unreachable, Decoy };

constexpr std::array<std::string_view, 8> kDecoyKinds = {"id",   "seq", "data",   "short",
                                                         "long", "sum", "source", "error"};

struct Behaviour {
    Mode mode = Mode::Never;
    int delayMs = 0;
    std::vector<std::string> decoys;
};

struct Flood {
    in_addr source{};
    int intervalMs = 0;
};

struct Config {
    std::map<std::uint32_t, Behaviour> hosts;  // by address in network order
    std::vector<Flood> floods;
    std::optional<in_addr> nameServer;  // the dns-blackhole
};

std::optional<Behaviour> ParseBehaviour(const std::string& word) {
    if (word == "never") return Behaviour{Mode::Never, 0, {}};
    if (word == "unreach") return Behaviour{Mode::Unreachable, 0, {}};
    Behaviour behaviour{Mode::Delay, 0, {}};
    std::string number = word;
    if (word.rfind("decoy", 0) == 0) {
        const std::size_t colon = word.find(':');
        if (colon == std::string::npos) return std::nullopt;
        behaviour.mode = Mode::Decoy;
        behaviour.decoys.assign(kDecoyKinds.begin(), kDecoyKinds.end());
        if (colon > 5) {
            const std::string kind = word.substr(6, colon - 6);
            if (word[5] != '-' || std::find(kDecoyKinds.begin(), kDecoyKinds.end(), kind) == kDecoyKinds.end()) {
                return std::nullopt;
            }
            behaviour.decoys = {kind};
        }
        number = word.substr(colon + 1);
    }
    if (number.empty() || number.size() > 6 ||
        !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    behaviour.delayMs = std::stoi(number);
    return behaviour;
}

bool LoadConfig(const char* path, Config& config) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind;
        if (!(words >> kind) || kind[0] == '#') continue;
        if (kind == "host") {
            std::string name, address, behaviour;
            in_addr parsed{};
            if (!(words >> name >> address >> behaviour) || inet_pton(AF_INET, address.c_str(), &parsed) != 1) {
                return false;
            }
            const auto b = ParseBehaviour(behaviour);
            if (!b) return false;
            config.hosts[parsed.s_addr] = *b;
        } else if (kind == "flood") {
            std::string address;
            Flood flood;
            if (!(words >> address >> flood.intervalMs) || inet_pton(AF_INET, address.c_str(), &flood.source) != 1 ||
                flood.intervalMs <= 0) {
                return false;
            }
            config.floods.push_back(flood);
        } else if (kind == "dns-blackhole") {
            std::string address;
            in_addr parsed{};
            if (!(words >> address) || inet_pton(AF_INET, address.c_str(), &parsed) != 1) return false;
            config.nameServer = parsed;
        } else {
            return false;
        }
    }
    return true;
}

std::uint16_t Checksum(const std::uint8_t* bytes, std::size_t size) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2) sum += static_cast<std::uint32_t>((bytes[i] << 8) | bytes[i + 1]);
    if (size % 2 != 0) sum += static_cast<std::uint32_t>(bytes[size - 1] << 8);
    while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum & 0xFFFF);
}

void SetIcmpChecksum(Bytes& icmp) {
    icmp[2] = icmp[3] = 0;
    const std::uint16_t sum = Checksum(icmp.data(), icmp.size());
    icmp[2] = static_cast<std::uint8_t>(sum >> 8);
    icmp[3] = static_cast<std::uint8_t>(sum & 0xFF);
}

// A whole IPv4 datagram around an ICMP message, for the header-including socket.
Bytes Datagram(in_addr source, in_addr destination, const Bytes& icmp) {
    Bytes packet(20, 0);
    packet[0] = 0x45;
    const std::size_t total = packet.size() + icmp.size();
    packet[2] = static_cast<std::uint8_t>(total >> 8);
    packet[3] = static_cast<std::uint8_t>(total & 0xFF);
    packet[8] = 64;
    packet[9] = IPPROTO_ICMP;
    std::memcpy(&packet[12], &source, 4);
    std::memcpy(&packet[16], &destination, 4);
    const std::uint16_t sum = Checksum(packet.data(), 20);
    packet[10] = static_cast<std::uint8_t>(sum >> 8);
    packet[11] = static_cast<std::uint8_t>(sum & 0xFF);
    packet.insert(packet.end(), icmp.begin(), icmp.end());
    return packet;
}

struct Pending {
    Clock::time_point due;
    Bytes packet;
    in_addr destination{};
    bool operator>(const Pending& other) const { return due > other.due; }
};

class Responder {
public:
    Responder(Config config, std::ofstream& log, in_addr prober)
        : m_config(std::move(config)), m_log(log), m_prober(prober), m_random(std::random_device{}()) {}

    bool Open() {
        m_listen = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
        m_send = socket(AF_INET, SOCK_RAW, IPPROTO_RAW);  // the header is ours: any source address
        return m_listen >= 0 && m_send >= 0 && OpenNameServer();
    }

    ~Responder() {
        for (const int fd : {m_listen, m_send, m_names}) {
            if (fd >= 0) close(fd);
        }
    }
    Responder(const Responder&) = delete;
    Responder& operator=(const Responder&) = delete;

    void Run() {
        const Clock::time_point start = Clock::now();
        m_nextFlood.assign(m_config.floods.size(), start);
        m_log << "ready" << std::endl;
        while (!g_stop) {
            SendDue();
            pollfd watch[] = {{m_listen, POLLIN, 0}, {m_names, POLLIN, 0}};
            const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(NextDue() - Clock::now());
            const long long ns = std::max<long long>(wait.count(), 0);
            const timespec timeout{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
            if (ppoll(watch, 2, &timeout, nullptr) <= 0) continue;
            if (watch[0].revents != 0) ReadRequests();
            if (watch[1].revents != 0) DropQueries();
        }
    }

private:
    bool OpenNameServer() {
        if (!m_config.nameServer) return true;
        m_names = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(53);
        at.sin_addr = *m_config.nameServer;
        return m_names >= 0 && bind(m_names, reinterpret_cast<const sockaddr*>(&at), sizeof at) == 0;
    }

    void DropQueries() {
        char query[1500];
        sockaddr_in from{};
        socklen_t size = sizeof from;
        while (recvfrom(m_names, query, sizeof query, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &size) >= 0) {
            char source[INET_ADDRSTRLEN] = {};
            inet_ntop(AF_INET, &from.sin_addr, source, sizeof source);
            m_log << "query from " << source << " at " << WallClockMs() << std::endl;
            size = sizeof from;
        }
    }

    Clock::time_point NextDue() const {
        Clock::time_point next = Clock::now() + std::chrono::milliseconds(200);
        if (!m_pending.empty()) next = std::min(next, m_pending.top().due);
        for (const Clock::time_point& t : m_nextFlood) next = std::min(next, t);
        return next;
    }

    void Send(const Bytes& packet, in_addr destination) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr = destination;
        if (sendto(m_send, packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) < 0) {
            std::perror("echo_responder: sendto");
        }
    }

    void SendDue() {
        const Clock::time_point now = Clock::now();
        while (!m_pending.empty() && m_pending.top().due <= now) {
            Send(m_pending.top().packet, m_pending.top().destination);
            m_pending.pop();
        }
        for (std::size_t i = 0; i < m_config.floods.size(); ++i) {
            if (m_nextFlood[i] > now) continue;
            Bytes stray(8 + 32, 0xAA);
            stray[0] = 0;
            stray[1] = 0;
            const std::uint32_t ids = static_cast<std::uint32_t>(m_random());
            std::memcpy(&stray[4], &ids, 4);
            SetIcmpChecksum(stray);
            Send(Datagram(m_config.floods[i].source, m_prober, stray), m_prober);
            m_nextFlood[i] = now + std::chrono::milliseconds(m_config.floods[i].intervalMs);
        }
    }

    void ReadRequests() {
        Bytes buffer(70000);
        for (;;) {
            const ssize_t got = recv(m_listen, buffer.data(), buffer.size(), MSG_DONTWAIT);
            if (got <= 0) return;
            const std::size_t size = static_cast<std::size_t>(got);
            if (size < 20 || (buffer[0] >> 4) != 4) continue;
            const std::size_t header = static_cast<std::size_t>(buffer[0] & 0x0F) * 4;
            if (size < header + 8 || buffer[header] != 8 || buffer[header + 1] != 0) continue;
            in_addr source{}, destination{};
            std::memcpy(&source, &buffer[12], 4);
            std::memcpy(&destination, &buffer[16], 4);
            const auto host = m_config.hosts.find(destination.s_addr);
            if (host == m_config.hosts.end()) continue;
            const Bytes request(buffer.begin() + static_cast<std::ptrdiff_t>(header), buffer.begin() + got);
            const Bytes original(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(header + 8));
            Log(request, source, destination);
            Answer(host->second, request, original, destination, source);
        }
    }

    // Wall-clock milliseconds, so that a test in another process can time the requests.
    static long long WallClockMs() {
        using namespace std::chrono;
        return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    }

    void Log(const Bytes& request, in_addr source, in_addr destination) {
        char from[INET_ADDRSTRLEN] = {}, to[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &source, from, sizeof from);
        inet_ntop(AF_INET, &destination, to, sizeof to);
        const bool allAa = std::all_of(request.begin() + 8, request.end(), [](std::uint8_t b) { return b == 0xAA; });
        m_log << "request " << to << " from " << from << " id " << ((request[4] << 8) | request[5]) << " seq "
              << ((request[6] << 8) | request[7]) << " data " << request.size() - 8 << " fill "
              << (allAa ? "aa" : "other") << " at " << WallClockMs() << std::endl;
    }

    void Answer(const Behaviour& behaviour, const Bytes& request, const Bytes& original, in_addr host, in_addr asker) {
        Bytes reply = request;
        reply[0] = 0;
        SetIcmpChecksum(reply);
        switch (behaviour.mode) {
            case Mode::Never: return;
            case Mode::Unreachable: Send(Datagram(host, asker, Unreachable(original)), asker); return;
            case Mode::Decoy: SendDecoys(behaviour.decoys, reply, original, host, asker); break;
            case Mode::Delay: break;
        }
        m_pending.push(
            Pending{Clock::now() + std::chrono::milliseconds(behaviour.delayMs), Datagram(host, asker, reply), asker});
    }

    static Bytes Unreachable(const Bytes& original) {
        Bytes error = {3, 1, 0, 0, 0, 0, 0, 0};  // destination unreachable, host unreachable
        error.insert(error.end(), original.begin(), original.end());
        SetIcmpChecksum(error);
        return error;
    }

    void SendDecoys(const std::vector<std::string>& kinds, const Bytes& reply, const Bytes& original, in_addr host,
                    in_addr asker) {
        for (const std::string& kind : kinds) {
            Bytes decoy = reply;
            in_addr from = host;
            if (kind == "id") decoy[5] ^= 1;
            if (kind == "seq") decoy[7] ^= 1;
            if (kind == "data") decoy.back() = 0xAB;
            if (kind == "short") decoy.pop_back();
            if (kind == "long") decoy.push_back(0xAA);
            if (kind == "source") reinterpret_cast<std::uint8_t*>(&from.s_addr)[3] ^= 0x80;  // another host of the net
            if (kind == "error") decoy = Unreachable(original);
            if (kind != "error") SetIcmpChecksum(decoy);
            if (kind == "sum") decoy[3] ^= 0x5A;
            Send(Datagram(from, asker, decoy), asker);
        }
    }

    Config m_config;
    std::ofstream& m_log;
    in_addr m_prober;
    std::mt19937 m_random;
    int m_listen = -1;
    int m_send = -1;
    int m_names = -1;  // the name server that never answers
    std::priority_queue<Pending, std::vector<Pending>, std::greater<>> m_pending;
    std::vector<Clock::time_point> m_nextFlood;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: echo_responder CONFIG LOG PROBER_ADDRESS\n";
        return 2;
    }
    Config config;
    in_addr prober{};
    if (!LoadConfig(argv[1], config) || inet_pton(AF_INET, argv[3], &prober) != 1) {
        std::cerr << "echo_responder: cannot read " << argv[1] << " or the prober address " << argv[3] << "\n";
        return 2;
    }
    std::ofstream log(argv[2], std::ios::app);
    if (!log) {
        std::cerr << "echo_responder: cannot open " << argv[2] << "\n";
        return 2;
    }
    static_cast<void>(std::signal(SIGTERM, OnSignal));
    static_cast<void>(std::signal(SIGINT, OnSignal));
    Responder responder(std::move(config), log, prober);
    if (!responder.Open()) {
        std::perror("echo_responder: raw sockets (needs root)");
        return 1;
    }
    responder.Run();
    return 0;
}
