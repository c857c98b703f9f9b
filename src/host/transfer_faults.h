#ifndef TAGSTRIP_HOST_TRANSFER_FAULTS_H
#define TAGSTRIP_HOST_TRANSFER_FAULTS_H

#include <string>
#include <string_view>
#include <vector>

// What is wrong with an encoded body, one warning text per kind of fault; empty when
// nothing is.

// Base64: characters outside the alphabet, text after the padding, a last group of
// two or three characters without its padding, and a last group of one character, which
// holds no whole byte. missingPadding is what completes the last group ("", "=" or "==").
std::vector<std::string> Base64Faults(std::string_view encoded, std::string& missingPadding);

// Quoted-printable: "=" followed by neither two hex digits nor a line end, and "=" as the
// last character of the body, a soft line break with no line after it.
std::vector<std::string> QuotedPrintableFaults(std::string_view encoded);

#endif
