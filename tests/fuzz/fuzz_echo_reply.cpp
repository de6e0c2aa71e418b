// Received packets are whatever the network sends. The first 6 bytes choose
// what we wait for (identifier, sequence number, data size up to 255, and
// whether the bytes are a raw socket's IPv4 packet or a datagram socket's
// bare ICMP message); the rest is the packet. Whatever the reader accepts
// must hold up to a plain re-check of every rule.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "probe/icmp_packet.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

std::uint32_t Sum16(std::span<const std::uint8_t> bytes) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        sum += static_cast<std::uint32_t>(bytes[i] << 8);
        if (i + 1 < bytes.size()) sum += bytes[i + 1];
    }
    while (sum > 0xFFFF) sum = (sum & 0xFFFF) + (sum >> 16);
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 6) return 0;
    lumetra::EchoExpectation expected;
    expected.identifier = static_cast<std::uint16_t>((data[0] << 8) | data[1]);
    expected.sequence = static_cast<std::uint16_t>((data[2] << 8) | data[3]);
    expected.dataSize = data[4];
    const bool rawSocket = (data[5] & 1) != 0;
    const std::span<const std::uint8_t> packet(data + 6, size - 6);

    std::span<const std::uint8_t> message = packet;
    std::uint32_t source = 0x0A00000A;
    if (rawSocket) {
        const auto icmp = lumetra::IcmpOfIpv4Packet(packet);
        if (!icmp) return 0;
        Require(icmp->message.data() >= packet.data());
        Require(icmp->message.data() + icmp->message.size() <= packet.data() + packet.size());
        Require(icmp->message.data() - packet.data() >= 20);
        source = icmp->source;
    }
    expected.address = source;
    if (!lumetra::IsReplyToOurEcho(message, source, expected)) return 0;

    Require(message.size() == 8 + static_cast<std::size_t>(expected.dataSize));
    Require(message[0] == 0 && message[1] == 0);
    Require(Sum16(message) == 0xFFFF);
    Require(((message[4] << 8) | message[5]) == expected.identifier);
    Require(((message[6] << 8) | message[7]) == expected.sequence);
    for (std::size_t i = 8; i < message.size(); ++i) Require(message[i] == 0xAA);
    return 0;
}
