#include "probe/icmp_packet.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "probe/echo_prober.h"

namespace lumetra {

namespace {

constexpr std::size_t kIpv4MinHeader = 20;
constexpr std::uint8_t kProtocolIcmp = 1;

std::uint16_t ReadBigEndian16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

void WriteBigEndian16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value >> 8);
    bytes[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

// The packed form keeps the address bytes in wire order in memory.
std::uint32_t PackedAddressAt(std::span<const std::uint8_t> bytes, std::size_t at) {
    std::uint32_t packed = 0;
    std::memcpy(&packed, bytes.data() + at, sizeof packed);
    return packed;
}

}  // namespace

std::uint16_t InternetChecksum(std::span<const std::uint8_t> bytes) {
    std::uint32_t sum = 0;
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        sum += ReadBigEndian16(bytes, i);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    if (i < bytes.size()) {  // an odd last byte is padded with a zero byte
        sum += static_cast<std::uint32_t>(bytes[i]) << 8;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return static_cast<std::uint16_t>(~sum & 0xFFFF);
}

std::vector<std::uint8_t> BuildEchoRequest(std::uint16_t identifier, std::uint16_t sequence, int dataSize) {
    std::vector<std::uint8_t> request(kIcmpHeaderSize + static_cast<std::size_t>(std::max(dataSize, 0)), kEchoFill);
    request[0] = kIcmpEchoRequest;
    request[1] = 0;
    WriteBigEndian16(request, 2, 0);
    WriteBigEndian16(request, 4, identifier);
    WriteBigEndian16(request, 6, sequence);
    WriteBigEndian16(request, 2, InternetChecksum(request));
    return request;
}

int EffectiveTimeoutMs(int timeoutMs) {
    return static_cast<int>(static_cast<unsigned>(timeoutMs) & 0xFFFFU);
}

bool IsSendableEcho(std::uint32_t address, int effectiveTimeoutMs, int dataSize) {
    return address != 0 && effectiveTimeoutMs > 0 && dataSize >= 0 && dataSize <= kMaxEchoDataSize;
}

int WholeMilliseconds(std::chrono::steady_clock::duration span) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(span).count();
    if (ms < 0) return 0;
    return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

void StoreRoundTrip(int roundTripMs, int* roundTripOut, int* secondOut) {
    if (roundTripOut != nullptr) *roundTripOut = roundTripMs;
    if (secondOut != nullptr) *secondOut = roundTripMs;
}

std::optional<IcmpInPacket> IcmpOfIpv4Packet(std::span<const std::uint8_t> packet) {
    if (packet.size() < kIpv4MinHeader) return std::nullopt;
    if ((packet[0] >> 4) != 4) return std::nullopt;
    const std::size_t headerSize = static_cast<std::size_t>(packet[0] & 0x0F) * 4;
    const std::size_t totalSize = ReadBigEndian16(packet, 2);
    if (headerSize < kIpv4MinHeader || totalSize < headerSize || totalSize > packet.size()) return std::nullopt;
    const bool moreFragments = (packet[6] & 0x20) != 0;
    const bool laterFragment = (ReadBigEndian16(packet, 6) & 0x1FFF) != 0;
    if (moreFragments || laterFragment || packet[9] != kProtocolIcmp) return std::nullopt;
    return IcmpInPacket{packet.subspan(headerSize, totalSize - headerSize), PackedAddressAt(packet, 12)};
}

bool IsReplyToOurEcho(std::span<const std::uint8_t> message, std::uint32_t source, const EchoExpectation& expected) {
    if (expected.dataSize < 0 || source != expected.address) return false;
    if (message.size() != kIcmpHeaderSize + static_cast<std::size_t>(expected.dataSize)) return false;
    if (message[0] != kIcmpEchoReply || message[1] != 0) return false;
    if (InternetChecksum(message) != 0) return false;
    if (ReadBigEndian16(message, 4) != expected.identifier || ReadBigEndian16(message, 6) != expected.sequence) {
        return false;
    }
    const auto data = message.subspan(kIcmpHeaderSize);
    return std::all_of(data.begin(), data.end(), [](std::uint8_t b) { return b == kEchoFill; });
}

}  // namespace lumetra
