// Linux only: which kind of ICMP socket the prober can open for this user, so
// a tool can explain a machine on which every probe would fail.
#pragma once

#include "probe/echo_permission.h"

namespace lumetra {

enum class IcmpSocketKind {
    None,      // neither kind is allowed to this user
    Datagram,  // unprivileged ICMP socket (net.ipv4.ping_group_range)
    Raw,       // raw ICMP socket (CAP_NET_RAW)
};

// The kind the next probe will use: a datagram socket where the system allows
// it, else a raw one.
IcmpSocketKind AvailableIcmpSocketKind();

// IcmpSocketsAvailable (echo_permission.h) is true here when either kind can
// be opened; IcmpNotAllowedMessage names the two ways to allow them.

}  // namespace lumetra
