#ifndef TAGSTRIP_MILTER_ADDRESS_LIST_H
#define TAGSTRIP_MILTER_ADDRESS_LIST_H

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace re2 {
class RE2;
}

// A list of envelope addresses that pass untouched, one entry a line: a whole address
// (any letter case), "@domain" (that domain only, not its subdomains), "/regex/" (found
// anywhere in the address, any letter case) or "<>" (the null sender of bounces).
// Blank lines and lines that start with '#' are skipped.
class AddressList {
public:
    AddressList();
    AddressList(AddressList&&) noexcept;
    AddressList& operator=(AddressList&&) noexcept;
    ~AddressList();

    // Reads the list from a file; each bad line adds "FILE:LINE: problem" to problems, an
    // unreadable file "ORIGIN: problem" (origin: where the file was named).
    bool Load(const std::string& path, const std::string& origin, std::vector<std::string>& problems);
    // The same from text, with name standing for the file in the problems.
    bool Parse(const std::string& text, const std::string& name, std::vector<std::string>& problems);

    bool Empty() const;
    // address as Bare() gives it.
    bool Matches(const std::string& address) const;

    // The address alone of a MAIL FROM or RCPT TO argument: without its angle brackets,
    // a source route or ESMTP parameters; "" for the null sender.
    static std::string Bare(const std::string& argument);

private:
    bool AddEntry(const std::string& entry, std::string& problem);

    std::unordered_set<std::string> addresses;
    std::unordered_set<std::string> domains;
    std::vector<std::unique_ptr<re2::RE2>> patterns;
};

#endif
