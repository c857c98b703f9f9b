#ifndef TAGSTRIP_REMOTE_RECIPIENTS_H
#define TAGSTRIP_REMOTE_RECIPIENTS_H

#include <string>
#include <string_view>
#include <vector>

// The mail addresses of a message's recipients, lower-cased, from the To, Cc,
// Delivered-To, X-Original-To and Envelope-To headers of its header block.
std::vector<std::string> RecipientAddresses(const std::string& headerBlock);

// Whether address carries one of the recipients, in any letter case, with its "@" as
// written or as "%40".
bool CarriesRecipient(std::string_view address, const std::vector<std::string>& recipients);

#endif
