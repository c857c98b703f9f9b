#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>

#include "milter/network_list.h"

namespace {

bool Contains(const NetworkList& list, const char* address)
{
    sockaddr_in ipv4{};
    sockaddr_in6 ipv6{};
    if (inet_pton(AF_INET, address, &ipv4.sin_addr) == 1) {
        ipv4.sin_family = AF_INET;
        return list.Contains(reinterpret_cast<sockaddr*>(&ipv4));
    }
    EXPECT_EQ(inet_pton(AF_INET6, address, &ipv6.sin6_addr), 1) << address;
    ipv6.sin6_family = AF_INET6;
    return list.Contains(reinterpret_cast<sockaddr*>(&ipv6));
}

struct MembershipCase {
    const char* address;
    bool inside;
};

TEST(NetworkList, CidrNetworksOfBothFamilies)
{
    NetworkList list;
    std::string error;
    ASSERT_TRUE(list.Parse("127.0.0.0/8, ::1/128 192.168.16.0/20,fd00::/8,198.51.100.7", error)) << error;
    const MembershipCase cases[] = {
        {"127.0.0.1", true},     {"127.255.255.254", true}, {"128.0.0.1", false},   {"192.168.31.255", true},
        {"192.168.32.0", false}, {"192.168.15.255", false}, {"198.51.100.7", true}, {"198.51.100.8", false},
        {"::1", true},           {"::2", false},            {"fdff::1", true},      {"fe00::1", false},
        {"::ffff:127.0.0.1", false},
    };
    for (const MembershipCase& test : cases) {
        EXPECT_EQ(Contains(list, test.address), test.inside) << test.address;
    }
}

TEST(NetworkList, BadEntriesAreNamedAndAnEmptyListHoldsNothing)
{
    NetworkList list;
    std::string error;
    for (const char* bad : {"10.0.0.0/33", "::/129", "10.0.0/8", "example.com", "10.0.0.0/", "10.0.0.0/x"}) {
        error.clear();
        EXPECT_FALSE(list.Parse(bad, error)) << bad;
        EXPECT_NE(error.find(bad), std::string::npos) << error;
    }
    ASSERT_TRUE(list.Parse("", error));
    EXPECT_FALSE(Contains(list, "127.0.0.1"));
    ASSERT_TRUE(list.Parse("0.0.0.0/0", error));
    EXPECT_TRUE(Contains(list, "203.0.113.9"));
    EXPECT_FALSE(Contains(list, "2001:db8::1"));
}

}  // namespace
