// Whether this user may send ICMP echoes at all, so that a program can
// explain a machine on which every probe would fail instead of reporting a
// timeout for every host. Each platform answers in its own prober file.
#pragma once

#include <string>
#include <string_view>

namespace lumetra {

// True when the prober can send echoes; otherwise `why` (when not null) says
// what stopped it.
bool IcmpSocketsAvailable(std::string* why);

// What a program tells its user when IcmpSocketsAvailable said no: the
// reason `why` and how to allow it, for `program`.
std::string IcmpNotAllowedMessage(const std::string& why, std::string_view program);

}  // namespace lumetra
