#include <gtest/gtest.h>

#include <cstring>

#include "html/tag_scanner.h"
#include "remote/remote_filter.h"

namespace {

constexpr int kRemoveAll = 0x0F;

const TrackerList& ShippedTrackers()
{
    static const TrackerList list = [] {
        TrackerList built;
        std::vector<std::string> problems;
        built.AddTable(kBuiltInTrackers, "built-in", problems);
        built.Compile();
        return built;
    }();
    return list;
}

struct Filtered {
    std::string html;
    bool found[RemoteCategoryCount];
};

Filtered Filter(const std::string& body, int flags = kRemoveAll)
{
    RemoteFilter filter(ShippedTrackers(), flags);
    filter.SetRecipients({"ann@example.org"});
    OutputBuffer out;
    filter.SetOutput(&out);
    TagScanner().Run(body, &filter);
    filter.FinishPart();
    Filtered result{std::string(out.Text()), {}};
    std::copy(std::begin(filter.found), std::end(filter.found), std::begin(result.found));
    return result;
}

struct FilterCase {
    const char* html;
    const char* filtered;
    RemoteCategory category;
};

const FilterCase kLoads[] = {
    {"<p style=\"background:url(http://a.test/p)\">Hi</p>", "<p style=\"background:none\">Hi</p>", RemoteLoads},
    {"<link rel=stylesheet href=http://a.test/s.css>x", "x", RemoteLoads},
    {"<link rel=\"preload\" href=\"//a.test/f\" as=font>x", "x", RemoteLoads},
    {"<link rel=dns-prefetch href=http://a.test>x", "x", RemoteLoads},
    {"<img srcset=\"http://a.test/1.png 1x, http://a.test/2.png 2x\" alt=Logo>", "[Logo]", RemoteLoads},
    {"<picture><source srcset=http://a.test/w.webp><img src=cid:logo></picture>",
     "<picture><img src=cid:logo></picture>", RemoteLoads},
    {"<table background=\"http://a.test/bg.jpg\"><tr><td>T</td></tr></table>",
     "<table><tr><td>T</td></tr></table>", RemoteLoads},
    {"<input type=image src=http://a.test/b.png alt=Go>", "[Go]", RemoteLoads},
    {"<video poster=http://a.test/p.jpg src=http://a.test/v.mp4>Film</video>", "<video>Film</video>", RemoteLoads},
    {"<audio><source src=http://a.test/a.mp3><track src=http://a.test/t.vtt></audio>", "<audio></audio>",
     RemoteLoads},
    {"<embed src=http://a.test/e.swf>x", "x", RemoteLoads},
    {"<object data=http://a.test/o.svg>Fallback</object>", "<object>Fallback</object>", RemoteLoads},
    {"<svg><image xlink:href=\"http://a.test/i.png\"/><text>T</text></svg>", "<svg><text>T</text></svg>",
     RemoteLoads},
    {"<style>@import url(http://a.test/i.css);p{color:red}</style>", "<style>p{color:red}</style>", RemoteLoads},
    {"<style>/* </x> */ body{background:url(http://a.test/b)}</style>",
     "<style>/* </x> */ body{background:none}</style>", RemoteLoads},
    {"<img/src=http://a.test/slash.png alt=S>", "[S]", RemoteLoads},
    {"<img alt=\"\"/src=http://a.test/s2.png>", "", RemoteLoads},
    {"1 < 2 and <img src=http://a.test/lt.png alt=L>", "1 &lt; 2 and [L]", RemoteLoads},
    {"<<img src=http://a.test/x.png>img src=http://a.test/y.png>", "&lt;img src=http://a.test/y.png>", RemoteLoads},
    {"<img src=\"&#104;ttp://a.test/ent.png\" alt=E>", "[E]", RemoteLoads},
    {"<img src=\"http://a.test/first.png\" src=\"cid:x\">", "<img src=\"cid:x\">", RemoteLoads},
    {"<p style=\"background:&#117;rl(http://a.test/e)\">x</p>", "<p style=\"background:none\">x</p>", RemoteLoads},
    {"<meta http-equiv=refresh content=\"0; url=http://a.test/r\">x", "x", RemoteLoads},
    {"<img src=http://a.test/pixel.gif width=1 height=1 alt=\"\">x", "x", TrackingPixels},
    {"<img src=http://a.test/h.gif style=\"display:none\">x", "x", TrackingPixels},
    {"<img src=\"http://a.test/o.gif?r=ann%40example.org\" width=600>x", "x", TrackingPixels},
    {"<img src=\"https://email.airbnb.com/wf/open?upn=1\" width=600>x", "x", KnownTrackers},
    {"<a href=\"https://email.airbnb.com/wf/open?upn=1\">Read</a>", "<a>Read</a>", KnownTrackers},
    {"<a href=\"https://shop.test/p?id=1&amp;utm_source=n\">Buy</a>", "<a href=\"https://shop.test/p?id=1\">Buy</a>",
     LinkTracking},
};

TEST(RemoteFilterTest, RemovesEveryKindOfLoadAndSaysWhich)
{
    for (const FilterCase& row : kLoads) {
        const Filtered result = Filter(row.html);
        EXPECT_EQ(result.html, row.filtered) << row.html;
        EXPECT_TRUE(result.found[row.category]) << row.html;
    }
}

TEST(RemoteFilterTest, LeavesLocalAndClickOnlyAddressesAlone)
{
    const char* const kept[] = {
        "<img src=\"cid:logo@shop\" alt=Logo>",
        "<img src=\"data:image/png;base64,iVBORw0KGgo=\" width=1 height=1>",
        "<a href=\"https://shop.test/tulips\">Tulips</a>",
        "<p style=\"color:red;background:url(data:image/gif;base64,R0lG)\">Red</p>",
        "<svg><use href=\"#shape\"/></svg>",
        "<!-- <img src=http://a.test/in-comment.png> -->",
        "<p>The word url(http://a.test/) in text</p>",
    };
    for (const char* html : kept) {
        const Filtered result = Filter(html);
        EXPECT_EQ(result.html, html);
        for (bool found : result.found) {
            EXPECT_FALSE(found) << html;
        }
    }
}

TEST(RemoteFilterTest, ASwitchedOffCategoryIsFoundButKept)
{
    const std::string html = "<a href=\"https://shop.test/p?utm_source=n\">Buy</a><img src=http://a.test/x.png>";
    const Filtered result = Filter(html, 0);
    EXPECT_EQ(result.html, html);
    EXPECT_TRUE(result.found[RemoteLoads]);
    EXPECT_TRUE(result.found[LinkTracking]);
}

// A quote left open past ">" hides the rest of the tag from the scanner; the filter
// closes it, so that what a browser would have read as attributes comes out as text.
TEST(RemoteFilterTest, ClosesAQuoteLeftOpenAtTheTagEnd)
{
    const Filtered result = Filter("<img alt=\"a>b\" src=\"http://a.test/q.png\">");
    EXPECT_TRUE(result.found[RemoteLoads]);
    EXPECT_EQ(result.html, "<img alt=\"a\">b\" src=\"http://a.test/q.png\">");
}

// Every word of text a reader sees survives, also when the body is cut anywhere.
TEST(RemoteFilterTest, NoTextIsLostEvenInCutTags)
{
    const std::string body =
        "<html><head><title>T</title><style>p{background:url(http://a.test/s)}</style></head>"
        "<body><p style=\"background:url('http://a.test/p')\">First words</p>"
        "<img src=http://a.test/i.png alt=\"Picture\"> middle <a href=\"https://shop.test/?utm_source=x\">link</a>"
        "<table background=http://a.test/b><tr><td>cell text</td></tr></table> last words</body></html>";
    for (std::size_t cut = 0; cut <= body.size(); ++cut) {
        const std::string html = Filter(body.substr(0, cut)).html;
        for (const char* word : {"First words", "middle", "link", "cell text", "last words"}) {
            const std::size_t at = body.find(word);
            if (at + std::strlen(word) <= cut && body.rfind('<', at) < body.rfind('>', at)) {
                EXPECT_NE(html.find(word), std::string::npos) << "cut at " << cut << ": " << word;
            }
        }
    }
}

}  // namespace
