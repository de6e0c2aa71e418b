#include "probe/icmp_packet.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstring>

#include "probe/echo_prober.h"

namespace lumetra {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Packed(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    const std::uint8_t wire[4] = {a, b, c, d};
    std::uint32_t packed = 0;
    std::memcpy(&packed, wire, sizeof packed);
    return packed;
}

void SetChecksum(Bytes& icmp) {
    icmp[2] = icmp[3] = 0;
    const std::uint16_t sum = InternetChecksum(icmp);
    icmp[2] = static_cast<std::uint8_t>(sum >> 8);
    icmp[3] = static_cast<std::uint8_t>(sum & 0xFF);
}

// What a well-behaved peer sends back for a request.
Bytes ReplyTo(const Bytes& request) {
    Bytes reply = request;
    reply[0] = kIcmpEchoReply;
    SetChecksum(reply);
    return reply;
}

// A 20-byte IPv4 header in front of an ICMP message.
Bytes InIpv4(const Bytes& icmp, std::uint32_t source) {
    Bytes packet(20, 0);
    packet[0] = 0x45;
    const std::size_t total = packet.size() + icmp.size();
    packet[2] = static_cast<std::uint8_t>(total >> 8);
    packet[3] = static_cast<std::uint8_t>(total & 0xFF);
    packet[8] = 64;
    packet[9] = 1;
    std::memcpy(&packet[12], &source, 4);
    packet.insert(packet.end(), icmp.begin(), icmp.end());
    return packet;
}

TEST(InternetChecksum, MatchesTheWorkedExampleOfRfc1071) {
    const Bytes bytes = {0x00, 0x01, 0xF2, 0x03, 0xF4, 0xF5, 0xF6, 0xF7};
    EXPECT_EQ(InternetChecksum(bytes), 0x220D);  // the sum is 0xDDF2
}

TEST(InternetChecksum, PadsAnOddLastByteAndFoldsCarries) {
    EXPECT_EQ(InternetChecksum(Bytes{0xAB}), static_cast<std::uint16_t>(~0xAB00 & 0xFFFF));
    EXPECT_EQ(InternetChecksum(Bytes{0xFF, 0xFF, 0x00, 0x01}), 0xFFFE);  // 0xFFFF + 1 folds to 0x0001
    EXPECT_EQ(InternetChecksum(Bytes{}), 0xFFFF);
}

TEST(EchoRequest, CarriesHeaderFieldsAndDataOfOxAa) {
    const Bytes request = BuildEchoRequest(0x1234, 0xBEEF, 32);
    ASSERT_EQ(request.size(), 40U);
    EXPECT_EQ(request[0], 8);
    EXPECT_EQ(request[1], 0);
    EXPECT_EQ(request[4], 0x12);
    EXPECT_EQ(request[5], 0x34);
    EXPECT_EQ(request[6], 0xBE);
    EXPECT_EQ(request[7], 0xEF);
    for (std::size_t i = 8; i < request.size(); ++i) EXPECT_EQ(request[i], 0xAA) << i;
    EXPECT_EQ(InternetChecksum(request), 0) << "a correct checksum field makes the whole message sum to 0";
}

TEST(EchoRequest, OddAndEmptyDataSizesStillCheckOut) {
    for (const int size : {0, 1, 7, 1473}) {
        const Bytes request = BuildEchoRequest(1, 2, size);
        EXPECT_EQ(request.size(), 8U + static_cast<std::size_t>(size));
        EXPECT_EQ(InternetChecksum(request), 0) << size;
    }
}

TEST(Timeout, KeepsItsLow16Bits) {
    EXPECT_EQ(EffectiveTimeoutMs(70000), 4464);
    EXPECT_EQ(EffectiveTimeoutMs(65536 + 300), 300);
    EXPECT_EQ(EffectiveTimeoutMs(65536), 0);
    EXPECT_EQ(EffectiveTimeoutMs(-1), 65535);
    for (int ms = 100; ms <= 5000; ms += 100) EXPECT_EQ(EffectiveTimeoutMs(ms), ms);
}

TEST(Sendable, NeedsAnAddressAWaitAndABoundedDataSize) {
    const std::uint32_t address = Packed(198, 18, 0, 10);
    EXPECT_TRUE(IsSendableEcho(address, 1, 0));
    EXPECT_TRUE(IsSendableEcho(address, 600, kMaxEchoDataSize));
    EXPECT_FALSE(IsSendableEcho(0, 600, 32));
    EXPECT_FALSE(IsSendableEcho(address, 0, 32));
    EXPECT_FALSE(IsSendableEcho(address, 600, -1));
    EXPECT_FALSE(IsSendableEcho(address, 600, kMaxEchoDataSize + 1));
}

TEST(RoundTrip, TruncatesToWholeMilliseconds) {
    using std::chrono::microseconds;
    EXPECT_EQ(WholeMilliseconds(microseconds(999)), 0);
    EXPECT_EQ(WholeMilliseconds(microseconds(1999)), 1);
    EXPECT_EQ(WholeMilliseconds(microseconds(150'400)), 150);
    EXPECT_EQ(WholeMilliseconds(microseconds(-5000)), 0);
}

TEST(RoundTrip, WritesOnlyTheOutputsThatExist) {
    int first = -1, second = -1;
    StoreRoundTrip(17, &first, nullptr);
    EXPECT_EQ(first, 17);
    StoreRoundTrip(23, nullptr, &second);
    EXPECT_EQ(first, 17);
    EXPECT_EQ(second, 23);
    StoreRoundTrip(5, &first, &second);
    EXPECT_EQ(first, 5);
    EXPECT_EQ(second, 5);
}

class Ipv4Packet : public ::testing::Test {
protected:
    const std::uint32_t m_source = Packed(198, 18, 0, 12);
    const Bytes m_icmp = ReplyTo(BuildEchoRequest(7, 9, 32));
    Bytes m_packet = InIpv4(m_icmp, m_source);
};

TEST_F(Ipv4Packet, GivesTheIcmpMessageAndThePackedSource) {
    const auto icmp = IcmpOfIpv4Packet(m_packet);
    ASSERT_TRUE(icmp.has_value());
    EXPECT_EQ(icmp->source, m_source);
    EXPECT_EQ(Bytes(icmp->message.begin(), icmp->message.end()), m_icmp);
}

TEST_F(Ipv4Packet, HonoursHeaderOptionsAndIgnoresTrailingBytes) {
    Bytes withOptions = m_packet;
    withOptions[0] = 0x46;  // 24-byte header
    withOptions.insert(withOptions.begin() + 20, {1, 1, 1, 0});
    withOptions[3] = static_cast<std::uint8_t>(withOptions[3] + 4);
    withOptions.push_back(0x55);  // link-layer padding after the datagram
    const auto icmp = IcmpOfIpv4Packet(withOptions);
    ASSERT_TRUE(icmp.has_value());
    EXPECT_EQ(Bytes(icmp->message.begin(), icmp->message.end()), m_icmp);
}

TEST_F(Ipv4Packet, RejectsTruncatedShortAndForeignPackets) {
    EXPECT_FALSE(IcmpOfIpv4Packet(std::span(m_packet).first(m_packet.size() - 1)).has_value()) << "truncated";
    EXPECT_FALSE(IcmpOfIpv4Packet(std::span(m_packet).first(19)).has_value()) << "shorter than a header";
    Bytes bad = m_packet;
    bad[0] = 0x65;
    EXPECT_FALSE(IcmpOfIpv4Packet(bad).has_value()) << "IPv6 version";
    bad = m_packet;
    bad[0] = 0x44;
    EXPECT_FALSE(IcmpOfIpv4Packet(bad).has_value()) << "header below 20 bytes";
    bad = m_packet;
    bad[9] = 17;
    EXPECT_FALSE(IcmpOfIpv4Packet(bad).has_value()) << "UDP";
    bad = m_packet;
    bad[6] = 0x20;
    EXPECT_FALSE(IcmpOfIpv4Packet(bad).has_value()) << "first fragment";
    bad = m_packet;
    bad[7] = 0x01;
    EXPECT_FALSE(IcmpOfIpv4Packet(bad).has_value()) << "later fragment";
    bad = m_packet;
    bad[2] = 0;
    bad[3] = 10;
    EXPECT_FALSE(IcmpOfIpv4Packet(bad).has_value()) << "total length inside the header";
}

TEST_F(Ipv4Packet, AcceptsTheDontFragmentFlag) {
    m_packet[6] = 0x40;
    EXPECT_TRUE(IcmpOfIpv4Packet(m_packet).has_value());
}

class ReplyMatching : public ::testing::Test {
protected:
    const EchoExpectation m_expected{Packed(198, 18, 0, 12), 0x4242, 0x0101, 32};
    const Bytes m_reply = ReplyTo(BuildEchoRequest(0x4242, 0x0101, 32));

    bool Matches(const Bytes& message, std::uint32_t source) const {
        return IsReplyToOurEcho(message, source, m_expected);
    }
};

TEST_F(ReplyMatching, AcceptsTheFaithfulReply) {
    EXPECT_TRUE(Matches(m_reply, m_expected.address));
}

TEST_F(ReplyMatching, RejectsEveryNearMiss) {
    EXPECT_FALSE(Matches(m_reply, Packed(198, 18, 0, 13))) << "another source";

    Bytes bad = m_reply;
    bad[5] ^= 1;
    SetChecksum(bad);
    EXPECT_FALSE(Matches(bad, m_expected.address)) << "identifier";

    bad = m_reply;
    bad[7] ^= 1;
    SetChecksum(bad);
    EXPECT_FALSE(Matches(bad, m_expected.address)) << "sequence";

    bad = m_reply;
    bad[20] = 0xAB;
    SetChecksum(bad);
    EXPECT_FALSE(Matches(bad, m_expected.address)) << "payload byte";

    bad = m_reply;
    bad[3] ^= 0x10;
    EXPECT_FALSE(Matches(bad, m_expected.address)) << "checksum";

    bad = m_reply;
    bad.pop_back();
    SetChecksum(bad);
    EXPECT_FALSE(Matches(bad, m_expected.address)) << "short payload";

    bad = m_reply;
    bad.push_back(0xAA);
    SetChecksum(bad);
    EXPECT_FALSE(Matches(bad, m_expected.address)) << "long payload";

    bad = BuildEchoRequest(0x4242, 0x0101, 32);
    EXPECT_FALSE(Matches(bad, m_expected.address)) << "our own request, looped back";

    bad = m_reply;
    bad[1] = 1;
    SetChecksum(bad);
    EXPECT_FALSE(Matches(bad, m_expected.address)) << "code";

    EXPECT_FALSE(Matches(Bytes(m_reply.begin(), m_reply.begin() + 4), m_expected.address)) << "shorter than a header";
}

TEST_F(ReplyMatching, RejectsAnIcmpErrorQuotingOurRequest) {
    // Destination unreachable: type 3, then the request's IP header and its first 8 bytes.
    Bytes error = {3, 1, 0, 0, 0, 0, 0, 0};
    const Bytes quoted = InIpv4(BuildEchoRequest(0x4242, 0x0101, 32), Packed(198, 18, 0, 1));
    error.insert(error.end(), quoted.begin(), quoted.begin() + 28);
    SetChecksum(error);
    EXPECT_FALSE(Matches(error, m_expected.address));
}

TEST(ReplyMatchingSizes, AnEmptyEchoMatchesOnlyAnEmptyReply) {
    const std::uint32_t address = Packed(10, 0, 0, 1);
    const Bytes empty = ReplyTo(BuildEchoRequest(1, 1, 0));
    EXPECT_TRUE(IsReplyToOurEcho(empty, address, EchoExpectation{address, 1, 1, 0}));
    EXPECT_FALSE(IsReplyToOurEcho(empty, address, EchoExpectation{address, 1, 1, 32}));
    EXPECT_FALSE(IsReplyToOurEcho(empty, address, EchoExpectation{address, 1, 1, -1}));
}

}  // namespace
}  // namespace lumetra

namespace lumetra {
namespace {

TEST(DrainForReply, EndsAtTheDeadlineHoweverManyStrayMessagesKeepComing) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(50);
    // A flood that would run dry only two seconds after the deadline.
    const auto flood = [&] {
        return Clock::now() < deadline + std::chrono::seconds(2) ? Received::kOther : Received::kNothing;
    };
    EXPECT_FALSE(DrainForReply(flood, deadline));
    EXPECT_LT(Clock::now(), deadline + std::chrono::seconds(1)) << "the strays held the probe past its deadline";
    // Before the deadline our reply still counts behind a thousand strays.
    int strays = 1000;
    const auto replyLast = [&] { return --strays > 0 ? Received::kOther : Received::kOurReply; };
    EXPECT_TRUE(DrainForReply(replyLast, Clock::now() + std::chrono::seconds(5)));
}

}  // namespace
}  // namespace lumetra
