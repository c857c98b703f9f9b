#ifndef TAGSTRIP_REMOTE_CHARACTER_REFERENCES_H
#define TAGSTRIP_REMOTE_CHARACTER_REFERENCES_H

#include <string>
#include <string_view>

// An attribute value as a browser reads it: numeric references (&#117; &#x75;) and the
// named ones that can spell an address or a CSS function (&amp; &colon; &lpar; ...)
// become their characters; any other named reference stays as written.
std::string DecodeCharacterReferences(std::string_view value);

// The reverse for a value that is written back between double quotes: "&" and '"'
// become references again, so that the next reader decodes exactly value.
std::string EncodeForAttribute(std::string_view value);

#endif
