// The prober's rules that need no network: every case here returns before a
// socket is opened, so nothing is ever sent. Exchanges with real hosts are
// tested in the test network (probe_net_test).
#include "probe/echo_prober.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

constexpr std::uint32_t kSomeAddress = 0x0C0012C6;  // 198.18.0.12, only ever inside the test network

TEST(PingAddress, BothOutputsNullGiveZeroAndSendNothing) {
    EXPECT_EQ(PingAddress(kSomeAddress, nullptr, nullptr, 600, 32), 0);
}

TEST(PingAddress, AddressZeroGivesZeroAndLeavesTheOutputs) {
    int first = -1, second = -7;
    EXPECT_EQ(PingAddress(0, &first, &second, 600, 32), 0);
    EXPECT_EQ(first, -1);
    EXPECT_EQ(second, -7);
}

TEST(PingHostName, NullOrEmptyNamesAreNotLookedUp) {
    int first = -1, second = -1;
    EXPECT_EQ(PingHostName(nullptr, &first, &second, 600, 32), 0);
    EXPECT_EQ(PingHostName("", &first, &second, 600, 32), 0);
    EXPECT_EQ(PingHostName("localhost", nullptr, nullptr, 600, 32), 0);
    EXPECT_EQ(first, -1);
    EXPECT_EQ(second, -1);
}

TEST(LookUpHost, NullOrEmptyNamesFail) {
    std::uint32_t address = 5;
    EXPECT_EQ(LookUpHost(nullptr, &address), 0);
    EXPECT_EQ(LookUpHost("", &address), 0);
    EXPECT_EQ(address, 5U);
}

TEST(ResolveHostName, NullOutputGivesZero) {
    EXPECT_EQ(ResolveHostName("localhost", nullptr), 0);
}

TEST(ResolveHostName, LeavesTheAddressForEveryProbeToResolveAfresh) {
    std::uint32_t address = 0;
    EXPECT_EQ(ResolveHostName("localhost", &address), 1);
    EXPECT_EQ(address, 0U);
    std::uint32_t earlier = 0x0100007F;
    EXPECT_EQ(ResolveHostName("localhost", &earlier), 1);
    EXPECT_EQ(earlier, 0x0100007FU);
}

}  // namespace
}  // namespace lumetra
