// Tests of the network client's ping and name resolution, on this machine only: the loopback
// address and names the hosts file answers.
#include "foundation/cNET.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

TEST(cNET_ping, RefusesWhatIsNoDottedAddress)
{
    cNET net;
    for (const char* ip : {"255.255.255.255", "localhost", "", "1.2.3", "127.0.0.1 x"}) {
        net.pingReason = 0;
        net.pingStatus = 7;
        EXPECT_FALSE(net.Ping(ip)) << ip;
        EXPECT_EQ(net.pingReason, 1) << ip;
        EXPECT_EQ(net.pingStatus, 0) << ip;
    }
    EXPECT_EQ(net.ErrorNumber(), 0);
}

TEST(cNET_ping, LoopbackAnswersWheneverAnEchoOrRawSocketMayBeOpened)
{
    bool allowed = false;
    for (const int type : {SOCK_DGRAM, SOCK_RAW}) {
        const int fd = socket(AF_INET, type, IPPROTO_ICMP);
        allowed = allowed || fd >= 0;
        if (fd >= 0) {
            close(fd);
        }
    }
    cNET net;
    net.pingReason = 99;
    net.pingTime = -5;
    const bool answered = net.Ping("127.0.0.1", 1000, "zorv");
    EXPECT_EQ(answered, allowed) << "reason " << net.pingReason << ", status " << net.pingStatus;
    if (answered) {
        EXPECT_EQ(net.pingReason, 99) << "a success leaves the reason as it was";
        EXPECT_GE(net.pingTime, 0);
        EXPECT_LT(net.pingTime, 1000);
        EXPECT_EQ(net.pingStatus, 0);
    } else {
        // Unprivileged echo sockets are a system setting (net.ipv4.ping_group_range).
        EXPECT_EQ(net.pingReason, 2);
        EXPECT_NE(net.pingStatus, 0);
        EXPECT_EQ(net.pingTime, -5);
    }
}

TEST(cNET_resolve, DottedAddressesNeedNoLookUp)
{
    cNET net;
    std::string ip = "unchanged";
    EXPECT_EQ(net.Resolve("  10.1.2.3  ", ip), 0);
    EXPECT_EQ(ip, "10.1.2.3");
    EXPECT_EQ(net.Resolve("127.0.0.1", ip), 0);
    EXPECT_EQ(ip, "127.0.0.1");
}

TEST(cNET_resolve, NamesOfTheHostsFileResolve)
{
    cNET net;
    std::string ip;
    ASSERT_EQ(net.Resolve(" localhost ", ip), 0);
    EXPECT_EQ(ip.rfind("127.", 0), 0u) << ip;
    std::string kept = "kept";
    EXPECT_NE(net.Resolve("", kept), 0);
    EXPECT_EQ(kept, "kept");
    EXPECT_EQ(net.ErrorNumber(), 0);
}

} // namespace
