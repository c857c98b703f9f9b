#include "milter/network_list.h"

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>

namespace {

std::vector<std::string> Entries(const std::string& text)
{
    std::vector<std::string> entries;
    std::size_t start = 0;
    while ((start = text.find_first_not_of(", \t", start)) != std::string::npos) {
        std::size_t end = text.find_first_of(", \t", start);
        end = end == std::string::npos ? text.size() : end;
        entries.push_back(text.substr(start, end - start));
        start = end;
    }
    return entries;
}

}  // namespace

bool NetworkList::Parse(const std::string& text, std::string& error)
{
    networks.clear();
    for (const std::string& entry : Entries(text)) {
        std::size_t slash = entry.find('/');
        std::string address = entry.substr(0, slash);
        Network network{AF_INET, {}, 32};
        if (inet_pton(AF_INET, address.c_str(), network.bytes.data()) != 1) {
            network = {AF_INET6, {}, 128};
            if (inet_pton(AF_INET6, address.c_str(), network.bytes.data()) != 1) {
                error = "'" + entry + "' is no IPv4 or IPv6 network";
                return false;
            }
        }
        if (slash != std::string::npos) {
            std::string bits = entry.substr(slash + 1);
            int largest = network.prefixBits;
            if (bits.empty() || bits.size() > 3 || bits.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(bits) > largest) {
                error = "'" + entry + "' has a bad prefix length";
                return false;
            }
            network.prefixBits = std::stoi(bits);
        }
        networks.push_back(network);
    }
    return true;
}

bool NetworkList::Contains(const sockaddr* address) const
{
    const std::uint8_t* bytes = nullptr;
    if (address != nullptr && address->sa_family == AF_INET) {
        bytes = reinterpret_cast<const std::uint8_t*>(&reinterpret_cast<const sockaddr_in*>(address)->sin_addr);
    } else if (address != nullptr && address->sa_family == AF_INET6) {
        bytes = reinterpret_cast<const std::uint8_t*>(&reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr);
    }
    for (const Network& network : networks) {
        if (bytes != nullptr && Matches(network, address->sa_family, bytes)) {
            return true;
        }
    }
    return false;
}

bool NetworkList::Matches(const Network& network, int family, const std::uint8_t* bytes) const
{
    if (network.family != family) {
        return false;
    }
    int whole = network.prefixBits / 8;
    int rest = network.prefixBits % 8;
    if (std::memcmp(network.bytes.data(), bytes, static_cast<std::size_t>(whole)) != 0) {
        return false;
    }
    auto mask = static_cast<std::uint8_t>(0xFF << (8 - rest));
    return rest == 0 || ((network.bytes[whole] ^ bytes[whole]) & mask) == 0;
}
