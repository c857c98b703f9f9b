#include <gtest/gtest.h>

#include "remote/css_loads.h"

namespace {

struct FinderCase {
    const char* css;
    std::vector<std::vector<std::string>> addresses;  // per load, in order
    const char* withoutLoads;
};

// Escapes, comments, quotes, blanks and image-set, as a browser's CSS reader takes them.
const FinderCase kFinderCases[] = {
    {"background:url(http://a.test/x.png)", {{"http://a.test/x.png"}}, "background:none"},
    {"background: URL( 'http://a.test/q' )", {{"http://a.test/q"}}, "background: none"},
    {"background:url(\"http://a.test/d\") no-repeat", {{"http://a.test/d"}}, "background:none no-repeat"},
    {"background:\\75\\72\\6C(http://a.test/e)", {{"http://a.test/e"}}, "background:none"},
    {"background:\\75 \\72 \\6c (http://a.test/s)", {{"http://a.test/s"}}, "background:none"},
    {"background:u\\rl(http://a.test/r)", {{"http://a.test/r"}}, "background:none"},
    {"background:url(http://a.test/\\29 x)", {{"http://a.test/)x"}}, "background:none"},
    {"/* url(http://a.test/c) */ color:red", {}, "/* url(http://a.test/c) */ color:red"},
    {"content:'url(http://a.test/s)'", {}, "content:'url(http://a.test/s)'"},
    {"background:url/**/(http://a.test/x)", {}, "background:url/**/(http://a.test/x)"},
    {"background-image:image-set('http://a.test/1.png' 1x, url(http://a.test/2.png) 2x)",
     {{"http://a.test/1.png", "http://a.test/2.png"}}, "background-image:none"},
    {"b:-webkit-image-set(\"http://a.test/w\" 1x)", {{"http://a.test/w"}}, "b:none"},
    {"@import 'http://a.test/i.css'; p{color:red}", {{"http://a.test/i.css"}}, " p{color:red}"},
    {"@IMPORT url(http://a.test/u.css) screen;p{}", {{"http://a.test/u.css"}}, "p{}"},
    {"@\\69mport \"http://a.test/e.css\";", {{"http://a.test/e.css"}}, ""},
    {"@font-face{font-family:x;src:url(http://a.test/f.woff) format('woff')}",
     {{"http://a.test/f.woff"}}, "@font-face{font-family:x;src:none format('woff')}"},
    {"background:url(http://a.test/cut", {{"http://a.test/cut"}}, "background:none"},
};

TEST(CssLoadsTest, FindsEveryFetchAndTakesItOut)
{
    for (const FinderCase& row : kFinderCases) {
        const std::vector<CssLoad> loads = FindCssLoads(row.css);
        std::vector<std::vector<std::string>> addresses;
        for (const CssLoad& load : loads) {
            addresses.push_back(load.addresses);
        }
        std::vector<std::vector<std::string>> expected = row.addresses;
        if (expected.size() == 1 && expected[0].empty()) {
            expected.clear();
        }
        EXPECT_EQ(addresses, expected) << row.css;
        EXPECT_EQ(WithoutCssLoads(row.css, loads), row.withoutLoads) << row.css;
    }
}

TEST(CssLoadsTest, TellsRemoteAddressesFromLocalOnes)
{
    const struct {
        const char* address;
        bool remote;
    } rows[] = {
        {"http://a.test/x", true},   {"//a.test/x", true},   {"x.png", true},       {" HTTPS://a.test", true},
        {"data:image/png;base64,AA", false}, {"CID:part1", false}, {"#shape", false}, {"", false},
        {"  ", false},               {"about:blank", false}, {"javascript:void(0)", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(IsRemoteAddress(row.address), row.remote) << "'" << row.address << "'";
    }
}

}  // namespace
