// The portable part of the echo exchange: building a request, reading an
// IPv4 packet, and deciding whether a received message is the reply to our
// request. No OS headers, so it is tested natively on every platform.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lumetra {

inline constexpr std::uint8_t kIcmpEchoReply = 0;
inline constexpr std::uint8_t kIcmpEchoRequest = 8;
inline constexpr std::size_t kIcmpHeaderSize = 8;
inline constexpr std::uint8_t kEchoFill = 0xAA;  // every byte of the request data

// The one's-complement sum of RFC 1071 over the bytes as they stand; a message
// whose checksum field is right sums to 0.
std::uint16_t InternetChecksum(std::span<const std::uint8_t> bytes);

// An echo request: type 8, code 0, identifier and sequence number in network
// order, dataSize bytes of 0xAA, checksum filled in.
std::vector<std::uint8_t> BuildEchoRequest(std::uint16_t identifier, std::uint16_t sequence, int dataSize);

// The wait that the timeout asks for: its low 16 bits, as the ICMP library
// takes it (70000 waits 4464 ms).
int EffectiveTimeoutMs(int timeoutMs);

// Whether a request can be sent at all: an address, a wait of at least 1 ms
// after masking, and a data size from 0 to kMaxEchoDataSize. A wait of 0 ms
// could never see a reply, so nothing is sent for it.
bool IsSendableEcho(std::uint32_t address, int effectiveTimeoutMs, int dataSize);

// Whole milliseconds, truncated; negative spans give 0.
int WholeMilliseconds(std::chrono::steady_clock::duration span);

// Writes the round-trip time into whichever outputs are not null.
void StoreRoundTrip(int roundTripMs, int* roundTripOut, int* secondOut);

// The ICMP message inside a received IPv4 packet and its packed source
// address, or nothing when the packet is not a complete, unfragmented ICMP
// datagram (short, truncated, another protocol, a bad header).
struct IcmpInPacket {
    std::span<const std::uint8_t> message;
    std::uint32_t source = 0;
};
std::optional<IcmpInPacket> IcmpOfIpv4Packet(std::span<const std::uint8_t> packet);

// What the reply to our request must carry. A datagram ICMP socket lets the
// kernel choose the identifier; then it is what the socket was bound to.
struct EchoExpectation {
    std::uint32_t address = 0;  // packed; the reply must come from it
    std::uint16_t identifier = 0;
    std::uint16_t sequence = 0;
    int dataSize = 0;
};

// What one read of a socket that has no more to wait for gave.
enum class Received {
    kNothing,   // nothing is waiting (or the read failed)
    kOther,     // a message that is not our reply
    kOurReply,  // the reply to our request
};

// Reads with `readOne` until our reply comes (true), nothing more is waiting
// or `deadline` passes (false): however many stray replies keep arriving,
// the probe ends at its deadline.
template <class ReadOne>
bool DrainForReply(ReadOne readOne, std::chrono::steady_clock::time_point deadline) {
    while (std::chrono::steady_clock::now() < deadline) {
        switch (readOne()) {
            case Received::kOurReply: return true;
            case Received::kNothing: return false;
            case Received::kOther: break;
        }
    }
    return false;
}

// True only for an echo reply (type 0, code 0) from the expected address
// with a correct checksum, our identifier and sequence number, and exactly
// dataSize bytes of 0xAA.
bool IsReplyToOurEcho(std::span<const std::uint8_t> message, std::uint32_t source, const EchoExpectation& expected);

}  // namespace lumetra
