// Linux only: which kind of ICMP socket the prober can open for this user, so
// a tool can explain a machine on which every probe would fail.
#pragma once

#include <string>
#include <string_view>

namespace lumetra {

enum class IcmpSocketKind {
    None,      // neither kind is allowed to this user
    Datagram,  // unprivileged ICMP socket (net.ipv4.ping_group_range)
    Raw,       // raw ICMP socket (CAP_NET_RAW)
};

// The kind the next probe will use: a datagram socket where the system allows
// it, else a raw one.
IcmpSocketKind AvailableIcmpSocketKind();

// True when either kind can be opened; otherwise `why` (when not null) says
// what stopped both.
bool IcmpSocketsAvailable(std::string* why);

// What a program tells its user when IcmpSocketsAvailable said no: the
// reason `why` and the two ways to allow it, the second for `program`.
std::string IcmpNotAllowedMessage(const std::string& why, std::string_view program);

}  // namespace lumetra
