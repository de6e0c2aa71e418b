// The socket layer on Windows: WS2_32 is started for the life of each
// CSocketLayer and released after it, so a probe leaves the process as it
// found it. (On Linux there is nothing to start.)
#include <winsock2.h>

#include <gtest/gtest.h>

#include "probe/echo_prober.h"

namespace lumetra {
namespace {

// Whether a socket can be made now; WS2_32 refuses one before it is started.
bool CanMakeSocket() {
    const SOCKET s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) return false;
    ::closesocket(s);
    return true;
}

TEST(SocketLayer, StartsWs2ForItsLifeAndReleasesItAfter) {
    ASSERT_FALSE(CanMakeSocket()) << "WS2_32 was already started";
    EXPECT_EQ(::WSAGetLastError(), WSANOTINITIALISED);
    {
        const CSocketLayer outer;
        ASSERT_TRUE(outer.IsStarted());
        EXPECT_TRUE(CanMakeSocket());
        {
            const CSocketLayer inner;
            EXPECT_TRUE(inner.IsStarted());
        }
        EXPECT_TRUE(CanMakeSocket()) << "the inner layer's end released the outer layer's start";
    }
    EXPECT_FALSE(CanMakeSocket()) << "WS2_32 is still started after the last layer";
    EXPECT_EQ(::WSAGetLastError(), WSANOTINITIALISED);
}

TEST(SocketLayer, AProbeLeavesWs2AsItFoundIt) {
    int roundTrip = -1;
    // Refused before anything is sent (a timeout whose low 16 bits are 0),
    // but only after the layer has been started and released again.
    EXPECT_EQ(PingAddress(0x0C0012C6, &roundTrip, nullptr, 0x10000, 32), 0);
    EXPECT_EQ(PingHostName("", &roundTrip, nullptr, 600, 32), 0);
    EXPECT_FALSE(CanMakeSocket()) << "a probe left WS2_32 started";
}

}  // namespace
}  // namespace lumetra
