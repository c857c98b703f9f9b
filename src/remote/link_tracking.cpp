#include "remote/link_tracking.h"

#include <cctype>
#include <vector>

namespace {

// Parameter names, matched in any letter case; a name ending in "*" is a prefix.
const char* const kTrackingParameters[] = {
    "utm_*",   "fbclid",    "gclid",      "gclsrc",   "dclid",   "gbraid", "wbraid",      "msclkid",
    "yclid",   "twclid",    "ttclid",     "igshid",   "mc_cid",  "mc_eid", "_hsenc",      "_hsmi",
    "__hssc",  "__hstc",    "__hsfp",     "hsctatracking", "mkt_tok", "vero_id", "vero_conv", "oly_anon_id",
    "oly_enc_id", "rb_clickid", "s_cid", "_openstat", "ml_subscriber", "ml_subscriber_hash", "mkcid", "mkrid",
};

bool NameMatches(std::string_view name, std::string_view pattern)
{
    const bool prefix = !pattern.empty() && pattern.back() == '*';
    if (prefix) {
        pattern.remove_suffix(1);
    }
    if (prefix ? name.size() < pattern.size() : name.size() != pattern.size()) {
        return false;
    }
    for (std::size_t index = 0; index < pattern.size(); ++index) {
        if (std::tolower(static_cast<unsigned char>(name[index])) != pattern[index]) {
            return false;
        }
    }
    return true;
}

bool IsTrackingParameter(std::string_view parameter)
{
    const std::string_view name = parameter.substr(0, parameter.find('='));
    for (const char* pattern : kTrackingParameters) {
        if (NameMatches(name, pattern)) {
            return true;
        }
    }
    return false;
}

struct AddressParts {
    std::string_view beforeQuery;
    std::string_view query;  // without its "?"
    std::string_view fragment;  // with its "#"
    bool hasQuery = false;
};

AddressParts SplitAddress(std::string_view address)
{
    AddressParts parts;
    const std::size_t hash = address.find('#');
    parts.fragment = hash == std::string_view::npos ? std::string_view() : address.substr(hash);
    const std::string_view rest = address.substr(0, hash);
    const std::size_t question = rest.find('?');
    parts.hasQuery = question != std::string_view::npos;
    parts.beforeQuery = rest.substr(0, question);
    parts.query = parts.hasQuery ? rest.substr(question + 1) : std::string_view();
    return parts;
}

std::vector<std::string_view> Parameters(std::string_view query)
{
    std::vector<std::string_view> parameters;
    while (true) {
        const std::size_t amp = query.find('&');
        parameters.push_back(query.substr(0, amp));
        if (amp == std::string_view::npos) {
            return parameters;
        }
        query.remove_prefix(amp + 1);
    }
}

}  // namespace

bool HasTrackingParameters(std::string_view address)
{
    const AddressParts parts = SplitAddress(address);
    if (!parts.hasQuery) {
        return false;
    }
    for (std::string_view parameter : Parameters(parts.query)) {
        if (IsTrackingParameter(parameter)) {
            return true;
        }
    }
    return false;
}

std::string WithoutTrackingParameters(std::string_view address)
{
    const AddressParts parts = SplitAddress(address);
    if (!parts.hasQuery) {
        return std::string(address);
    }
    std::string query;
    for (std::string_view parameter : Parameters(parts.query)) {
        if (!IsTrackingParameter(parameter)) {
            query += (query.empty() ? "" : "&") + std::string(parameter);
        }
    }
    std::string result(parts.beforeQuery);
    if (!query.empty()) {
        result += "?" + query;
    }
    result += parts.fragment;
    return result;
}
