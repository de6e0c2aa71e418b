#include "tests/net/testnet_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace lumetra::testnet {

namespace {

// Paths come from the Linux side; under Wine the Linux root is drive Z:.
std::string LocalPath(const char* linuxPath) {
#ifdef _WIN32
    return std::string("Z:") + linuxPath;
#else
    return linuxPath;
#endif
}

bool ReadWhole(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    *text = all.str();
    return true;
}

// Rewrites in place: the namespace's /etc/hosts is a bind mount of this very file.
bool WriteInPlace(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

std::string Dotted(std::uint32_t packed) {
    unsigned char bytes[4];
    std::memcpy(bytes, &packed, sizeof bytes);
    return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." + std::to_string(bytes[2]) + "." +
           std::to_string(bytes[3]);
}

std::uint32_t Packed(const std::string& dotted) {
    unsigned char bytes[4] = {};
    std::istringstream in(dotted);
    for (int i = 0; i < 4; ++i) {
        int number = -1;
        char dot = '.';
        if (i > 0 && !(in >> dot)) return 0;
        if (dot != '.' || !(in >> number) || number < 0 || number > 255) return 0;
        bytes[i] = static_cast<unsigned char>(number);
    }
    std::uint32_t packed = 0;
    std::memcpy(&packed, bytes, sizeof packed);
    return packed;
}

std::optional<CTestNet> CTestNet::Join(std::string* whyNot) {
    const char* dir = std::getenv("LUMETRA_TESTNET_DIR");
    const char* hosts = std::getenv("LUMETRA_TESTNET_HOSTS");
    const char* nsswitch = std::getenv("LUMETRA_TESTNET_NSSWITCH");
    if (dir == nullptr || hosts == nullptr || nsswitch == nullptr) {
        const char* skip = std::getenv("LUMETRA_TESTNET_SKIP");
        *whyNot = skip != nullptr ? skip : "not inside the test network: run through tests/net/testnet.sh (as root)";
        return std::nullopt;
    }
    CTestNet net;
    net.m_strDir = LocalPath(dir);
    net.m_strHostsFile = LocalPath(hosts);
    net.m_strNsswitchFile = LocalPath(nsswitch);
    std::string config;
    if (!ReadWhole(net.m_strDir + "/hosts.conf", &config) || !ReadWhole(net.m_strHostsFile, &net.m_strOriginalHosts)) {
        *whyNot = "cannot read the test network's files in " + net.m_strDir;
        return std::nullopt;
    }
    std::istringstream lines(config);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string kind, name, address, behaviour;
        if (words >> kind >> name >> address >> behaviour && kind == "host") {
            net.m_hosts.push_back(Host{name, Packed(address), behaviour});
        }
    }
    return net;
}

std::vector<Host> CTestNet::HostsNamed(const std::string& name) const {
    std::vector<Host> found;
    for (const Host& h : m_hosts) {
        if (h.name == name) found.push_back(h);
    }
    return found;
}

Host CTestNet::HostNamed(const std::string& name) const {
    const std::vector<Host> found = HostsNamed(name);
    EXPECT_FALSE(found.empty()) << "the test network has no host " << name;
    return found.empty() ? Host{} : found.front();
}

std::vector<Request> CTestNet::Requests() const {
    std::vector<Request> requests;
    std::ifstream log(m_strDir + "/responder.log");
    std::string line;
    while (std::getline(log, line)) {
        // request DEST from SOURCE id ID seq SEQ data SIZE fill aa|other at MS
        std::istringstream words(line);
        std::string kind, dest, from, source, id, idValue, seq, seqValue, data, fill, fillValue;
        int size = 0;
        if (words >> kind >> dest >> from >> source >> id >> idValue >> seq >> seqValue >> data >> size >> fill >>
                fillValue &&
            kind == "request") {
            requests.push_back(Request{dest, size, fillValue == "aa"});
        }
    }
    return requests;
}

int CTestNet::RequestsTo(std::uint32_t address) const {
    const std::string dotted = Dotted(address);
    int count = 0;
    for (const Request& r : Requests()) count += r.destination == dotted ? 1 : 0;
    return count;
}

bool CTestNet::MoveName(const std::string& name, std::uint32_t address) const {
    std::istringstream lines(m_strOriginalHosts);
    std::ostringstream moved;
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string oldAddress, lineName;
        words >> oldAddress >> lineName;
        moved << (lineName == name ? Dotted(address) + " " + name : line) << "\n";
    }
    return WriteInPlace(m_strHostsFile, moved.str());
}

bool CTestNet::RestoreHostsFile() const {
    return WriteInPlace(m_strHostsFile, m_strOriginalHosts);
}

bool CTestNet::AskNameServer(bool ask) const {
    std::string text;
    if (!ReadWhole(m_strNsswitchFile, &text)) return false;
    const std::size_t line = text.find("hosts:");
    if (line == std::string::npos) return false;
    const std::size_t end = std::min(text.find('\n', line), text.size());
    return WriteInPlace(m_strNsswitchFile, text.replace(line, end - line, ask ? "hosts: files dns" : "hosts: files"));
}

int CTestNet::NameQueries() const {
    std::ifstream log(m_strDir + "/responder.log");
    int count = 0;
    for (std::string line; std::getline(log, line);) count += line.starts_with("query ") ? 1 : 0;
    return count;
}

}  // namespace lumetra::testnet
