#ifndef TAGSTRIP_REMOTE_CSS_LOADS_H
#define TAGSTRIP_REMOTE_CSS_LOADS_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum CssLoadKind {
    CssUrl,       // url(...), in any spelling a browser accepts, escapes included
    CssImageSet,  // image-set(...) or -webkit-image-set(...), with its addresses
    CssImport     // an @import rule, to its ";"
};

// One place in a style sheet that may fetch: the text from begin to end, and the
// addresses it names (escapes decoded, surrounding blanks trimmed).
struct CssLoad {
    CssLoadKind kind;
    std::size_t begin;
    std::size_t end;
    std::vector<std::string> addresses;
};

// Every url(), image-set() and @import of css, in order, outside comments and strings.
// A url() inside an image-set() belongs to the image-set.
std::vector<CssLoad> FindCssLoads(std::string_view css);

// css with the given loads taken out: a url() or image-set() becomes "none", an @import
// rule goes whole. The loads must be in order and must not overlap, as FindCssLoads gives them.
std::string WithoutCssLoads(std::string_view css, const std::vector<CssLoad>& loads);

// Whether an address makes a reader's program fetch something: anything but data:,
// cid:, mid:, about: and javascript: addresses, a fragment alone, or nothing.
bool IsRemoteAddress(std::string_view address);

#endif
