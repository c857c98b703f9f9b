#ifndef TAGSTRIP_MILTER_NETWORK_LIST_H
#define TAGSTRIP_MILTER_NETWORK_LIST_H

#include <array>
#include <cstdint>
#include <string>
#include <sys/socket.h>
#include <vector>

// A list of IPv4 and IPv6 networks in CIDR form ("127.0.0.0/8,::1/128"; an address alone
// is a network of one), and whether a client address lies in one of them.
class NetworkList {
public:
    // Commas or blanks between the networks; an empty text is an empty list. False with
    // error naming the bad entry.
    bool Parse(const std::string& text, std::string& error);
    bool Contains(const sockaddr* address) const;

private:
    struct Network {
        int family;
        std::array<std::uint8_t, 16> bytes;
        int prefixBits;
    };

    bool Matches(const Network& network, int family, const std::uint8_t* bytes) const;

    std::vector<Network> networks;
};

#endif
