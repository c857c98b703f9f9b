#include "remote/recipients.h"

#include <algorithm>
#include <cctype>

#include "mime/mime_walker.h"

namespace {

const char* const kRecipientHeaders[] = {"To:", "Cc:", "Delivered-To:", "X-Original-To:", "Envelope-To:"};

bool IsAddressCharacter(char character)
{
    return std::isalnum(static_cast<unsigned char>(character)) != 0 || character == '.' || character == '_' ||
           character == '%' || character == '+' || character == '-';
}

std::string Lowered(std::string_view text)
{
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](char character) { return static_cast<char>(std::tolower(static_cast<unsigned char>(character))); });
    return lowered;
}

// Every local@domain in a header value.
void CollectAddresses(const std::string& value, std::vector<std::string>& addresses)
{
    for (std::size_t at = value.find('@'); at != std::string::npos; at = value.find('@', at + 1)) {
        std::size_t begin = at;
        while (begin > 0 && IsAddressCharacter(value[begin - 1])) {
            --begin;
        }
        std::size_t end = at + 1;
        while (end < value.size() && IsAddressCharacter(value[end])) {
            ++end;
        }
        if (begin < at && end > at + 1) {
            addresses.push_back(Lowered(std::string_view(value).substr(begin, end - begin)));
        }
    }
}

}  // namespace

std::vector<std::string> RecipientAddresses(const std::string& headerBlock)
{
    std::vector<std::string> addresses;
    for (const char* header : kRecipientHeaders) {
        std::string value;
        GetHeaderValue(headerBlock, header, value);
        CollectAddresses(value, addresses);
    }
    return addresses;
}

bool CarriesRecipient(std::string_view address, const std::vector<std::string>& recipients)
{
    if (recipients.empty()) {
        return false;
    }
    const std::string lowered = Lowered(address);
    for (const std::string& recipient : recipients) {
        std::string encoded = recipient;
        encoded.replace(encoded.find('@'), 1, "%40");
        if (lowered.find(recipient) != std::string::npos || lowered.find(encoded) != std::string::npos) {
            return true;
        }
    }
    return false;
}
