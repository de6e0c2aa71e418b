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

// The kept-socket mode, for a program that may hold CAP_NET_RAW (setcap on
// its file): called first of all, before the program reads a file or
// connects to X, it opens the one raw ICMP socket that every probe of the
// run will then use, one probe at a time (when `keepSocket` and this user
// may not open ICMP datagram sockets, which need no privilege and stay one
// per probe), then drops every capability of the process at once
// (DropAllCapabilities). False when a capability is left: the program must
// not go on.
bool KeepIcmpSocketThenDropCapabilities(bool keepSocket);

// The kind the next probe will use: a datagram socket where the system allows
// it, else a raw one.
IcmpSocketKind AvailableIcmpSocketKind();

// IcmpSocketsAvailable (echo_permission.h) is true here when either kind can
// be opened; IcmpNotAllowedMessage names the two ways to allow them.

}  // namespace lumetra
