// What a test running inside the test network (tests/net/testnet.sh) can ask
// of it: whether it is there at all, its hosts by name, and the requests the
// echo responder has seen. Portable: the Windows tests under Wine use it too.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumetra::testnet {

struct Host {
    std::string name;
    std::uint32_t address = 0;  // packed: first dotted number in the lowest byte
    std::string behaviour;      // as written: a delay in ms, never, unreach, decoy:MS
};

// One request as the responder logged it.
struct Request {
    std::string destination;  // dotted
    int dataSize = 0;
    bool filledWithAa = false;
};

class CTestNet {
public:
    // The network this process runs in, or nothing (with the reason in
    // *whyNot) when it was not started through testnet.sh.
    static std::optional<CTestNet> Join(std::string* whyNot);

    // Every host line of the configuration with this name, in file order.
    std::vector<Host> HostsNamed(const std::string& name) const;
    // The first host with this name; a test failure when there is none.
    Host HostNamed(const std::string& name) const;

    // Every request the responder has logged so far.
    std::vector<Request> Requests() const;
    // How many of them went to this packed address.
    int RequestsTo(std::uint32_t address) const;

    // The hosts file that names in this network resolve through.
    const std::string& HostsFile() const { return m_strHostsFile; }
    // Replaces the address of every line naming `name` in that file.
    bool MoveName(const std::string& name, std::uint32_t address) const;
    // The hosts file as it was when joined.
    bool RestoreHostsFile() const;

    // Whether names outside the hosts file go to the network's name server
    // (its dns-blackhole, which never answers), and how many queries it got.
    bool AskNameServer(bool ask) const;
    int NameQueries() const;

private:
    std::string m_strDir;
    std::string m_strHostsFile;
    std::string m_strNsswitchFile;
    std::string m_strOriginalHosts;
    std::vector<Host> m_hosts;
};

// While it lives, names outside the hosts file go to the network's name
// server, which never answers: each look-up of one blocks.
class CDeadNameServer {
public:
    explicit CDeadNameServer(const CTestNet& net) : m_net(net) { EXPECT_TRUE(m_net.AskNameServer(true)); }
    ~CDeadNameServer() { m_net.AskNameServer(false); }
    CDeadNameServer(const CDeadNameServer&) = delete;
    CDeadNameServer& operator=(const CDeadNameServer&) = delete;

private:
    const CTestNet& m_net;
};

// Dotted text of a packed address and back (0 when the text is not four numbers).
std::string Dotted(std::uint32_t packed);
std::uint32_t Packed(const std::string& dotted);

}  // namespace lumetra::testnet
