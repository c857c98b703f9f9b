#ifndef TAGSTRIP_REMOTE_PIXEL_RULES_H
#define TAGSTRIP_REMOTE_PIXEL_RULES_H

#include <string>
#include <string_view>
#include <utility>
#include <vector>

typedef std::pair<std::string, std::string> CssDeclaration;

// The declarations of a style attribute: comments left out, names and values lower-cased
// and trimmed, "!important" cut off.
std::vector<CssDeclaration> StyleDeclarations(std::string_view style);

// An image nobody is meant to see: a width or height of at most one pixel (attribute or
// style), display:none, visibility:hidden, opacity:0, or a max-width or max-height of 0.
// width and height are the attribute values, null when absent; style is decoded.
bool IsHiddenImage(const std::string* width, const std::string* height, std::string_view style);

#endif
