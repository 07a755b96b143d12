// On-line means a default route, read from the kernel's routing tables.
#include "platform/NetworkState.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kHeader =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";

TEST(NetworkState, Ipv4DefaultRoute) {
    struct Case {
        const char* name;
        std::string table;
        bool online;
    } cases[] = {
        {"default via a gateway",
         std::string(kHeader) + "eth0\t00000000\t010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n",
         true},
        {"only the local network",
         std::string(kHeader) + "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n",
         false},
        {"a default route that is down",
         std::string(kHeader) + "wlan0\t00000000\t010200C0\t0002\t0\t0\t0\t00000000\t0\t0\t0\n",
         false},
        {"an unreachable default",
         std::string(kHeader) + "lo\t00000000\t00000000\t0201\t0\t0\t0\t00000000\t0\t0\t0\n",
         false},
        {"no routes at all", kHeader, false},
        {"garbage", "not a table\n\x01\x02\n", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lv::HasIpv4DefaultRoute(c.table), c.online) << c.name;
    }
}

TEST(NetworkState, Ipv6DefaultRouteButNotTheUnreachableOneOfLoopback) {
    const std::string zero(32, '0');
    const std::string via = zero + " 00 " + zero + " 00 fd000000000000000000000000000001 " +
                            "00000400 00000003 00000000 00000003     eth0\n";
    const std::string unreachable =
        zero + " 00 " + zero + " 00 " + zero + " ffffffff 00000001 00000000 00200200       lo\n";
    const std::string local = "fd000000000000000000000000000000 40 " + zero + " 00 " + zero +
                              " 00000100 00000001 00000000 00000001     eth0\n";
    EXPECT_TRUE(lv::HasIpv6DefaultRoute(local + via + unreachable));
    EXPECT_FALSE(lv::HasIpv6DefaultRoute(local + unreachable));
}

TEST(NetworkState, ReadsBothTablesAndKnowsWhenItCannot) {
    lvtest::TempDir dir;
    const lv::LinuxNetworkState state(dir.Path().string());
    EXPECT_EQ(state.Online(), std::nullopt);
    lvtest::WriteBytes(dir.File("route"), kHeader);
    EXPECT_EQ(state.Online(), false);
    const std::string zero(32, '0');
    lvtest::WriteBytes(dir.File("ipv6_route"),
                       zero + " 00 " + zero + " 00 fd000000000000000000000000000001 " +
                           "00000400 00000003 00000000 00000003     eth0\n");
    EXPECT_EQ(state.Online(), true);
}

} // namespace
