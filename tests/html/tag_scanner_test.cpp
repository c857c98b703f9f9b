#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "html/tag.h"
#include "token_recorder.h"

namespace {

using namespace std::string_literals;

// One line per token: its kind and text, and for a tag "=> name#code" and its attributes.
std::string Describe(const Token& token)
{
    switch (token.kind) {
    case KindTag: {
        std::string line = "tag " + token.text + " => " + token.tag.name + "#"
            + std::to_string(token.tag.code);
        for (const auto& attribute : token.tag.attributes) {
            line += " [" + attribute.first + "=" + attribute.second + "]";
        }
        return line;
    }
    case KindText:
        return "text " + token.text;
    case KindContent:
        return "content " + token.text;
    case KindSpace:
        return "space " + token.text;
    }
    return "?";
}

std::vector<std::string> DescribeScan(const std::string& html)
{
    std::vector<std::string> lines;
    for (const Token& token : Scan(html)) {
        lines.push_back(Describe(token));
    }
    return lines;
}

struct ScanCase {
    std::string html;
    std::vector<std::string> tokens;
};

void ExpectScans(const std::vector<ScanCase>& cases)
{
    for (const ScanCase& row : cases) {
        EXPECT_EQ(DescribeScan(row.html), row.tokens) << "input: " << row.html;
    }
}

TEST(TagScanner, CutsWordsAndWhitespace)
{
    ExpectScans({
        {"", {}},
        {"one  two three", {"text one", "space   ", "text two", "space  ", "text three"}},
        {" \r\n<p>", {"space  \r\n", "tag <p> => p#14"}},
        {"a\fb\vc", {"text a\fb\vc"}},
        {"x<br>y", {"text x", "tag <br> => br#4", "text y"}},
    });
}

TEST(TagScanner, ParsesTagNamesAndCodes)
{
    ExpectScans({
        {"<P ALIGN=Center>", {"tag <P ALIGN=Center> => p#14 [align=Center]"}},
        {"</TD>", {"tag </TD> => /td#19"}},
        {"<br />", {"tag <br /> => br#4 [/=]"}},
        {"<br/>", {"tag <br/> => br/#0"}},
        {"< br>", {"tag < br> => " " br#0"}},
        {"< a href=x>", {"tag < a href=x> => a#1 [href=x]"}},
        {"<>", {"tag <> => #0"}},
        {"<!DOCTYPE html>", {"tag <!DOCTYPE html> => !doctype#0 [html=]"}},
        {"<\xC9L\tX>", {"tag <\xC9L\tX> => \xC9l#0 [x=]"}},
        {"<p\0Q>\xE9\xFF"s, {"tag <p\0Q> => p\0q#0"s, "text \xE9\xFF"}},
    });
}

TEST(TagScanner, ParsesAttributes)
{
    ExpectScans({
        {"<a href='x' HREF=\"y\" target>", {"tag <a href='x' HREF=\"y\" target> => a#1 [href=y] [target=]"}},
        {"<i b = x>", {"tag <i b = x> => i#0 [b=]"}},
        {"<i a=\"x y\" b='it\"s' c=d'e>",
         {"tag <i a=\"x y\" b='it\"s' c=d'e> => i#0 [a=x y] [b=it\"s] [c=d'e]"}},
        {"<img src=\"x alt=y>", {"tag <img src=\"x alt=y> => img#10 [src=x alt=y]"}},
        {"<i\tA=1\r\nb=''>", {"tag <i\tA=1\r\nb=''> => i#0 [a=1] [b=]"}},
        {"<i =\"v\" ='' =w>", {"tag <i =\"v\" ='' =w> => i#0 [=]"}},
        {"<i \"q\"=1>", {"tag <i \"q\"=1> => i#0 [\"q\"=1]"}},
    });
}

// The first ">" ends a tag, also inside a quoted value; the rest of the value is text.
TEST(TagScanner, EndsTagsAtTheFirstCloser)
{
    ExpectScans({
        {"<a title=\"x>y\">t",
         {"tag <a title=\"x> => a#1 [title=x]", "text y\">t"}},
        {"a < b c>d", {"text a", "space  ", "tag < b c> => b#0 [c=]", "text d"}},
        {"<p <!-- a > b -->",
         {"tag <p <!-- a > => p#14 [<!--=] [a=]", "space  ", "text b", "space  ", "text -->"}},
    });
}

TEST(TagScanner, RecognisesCommentsOnlyAtTheOpener)
{
    ExpectScans({
        {"<!-->", {"tag <!--> => !--#5"}},
        {"<!--->", {"tag <!---> => !---#0"}},
        {"<!---->", {"tag <!----> => !----#0"}},
        {"<!-- a > b <p> -->", {"tag <!-- a > b <p> --> => !--#5"}},
        {"<!--X-->", {"tag <!--X--> => !--x--#0"}},
        {"<!--a B=c-->", {"tag <!--a B=c--> => !--a#0 [b=c--]"}},
        {"<!- x->", {"tag <!- x-> => !-#0 [x-=]"}},
    });
}

TEST(TagScanner, HandsOverScriptAndStyleContentWhole)
{
    ExpectScans({
        {"<script>x</script>", {"tag <script> => script#15", "content x", "tag </script> => /script#15"}},
        {"<STYLE></STYLE>", {"tag <STYLE> => style#17", "content ", "tag </STYLE> => /style#17"}},
        {"<script>if (a<b) s=\"</b>\";</script>",
         {"tag <script> => script#15", "content if (a<b) s=\"", "tag </b> => /b#0", "text \";",
          "tag </script> => /script#15"}},
        {"<style><!-- p {} --></style>",
         {"tag <style> => style#17", "content <!-- p {} -->", "tag </style> => /style#17"}},
        {"<script type=x>a</script> b",
         {"tag <script type=x> => script#15 [type=x]", "content a", "tag </script> => /script#15",
          "space  ", "text b"}},
    });
}

// What is still held when the body ends: nothing is lost but a trailing whitespace run.
TEST(TagScanner, DeliversWhatIsHeldAtTheEnd)
{
    ExpectScans({
        {"word", {"text word"}},
        {"a  \r\n", {"text a"}},
        {"x <a href=y", {"text x", "space  ", "text <a href=y"}},
        {"<!-- a -- >", {"text <!-- a -- >"}},
        {"<script>var a<", {"tag <script> => script#15", "content var a<"}},
        {"<script>", {"tag <script> => script#15"}},
        {"<", {"text <"}},
    });
}

TEST(TagParse, NameIsErrorWhenOnlyWhitespaceFollowsTheOpener)
{
    Tag tag;
    tag.Parse("< \t");
    EXPECT_EQ(tag.name, "ERROR");
    EXPECT_EQ(tag.code, 0);
}

TEST(TagParse, KeepsRawTextOnlyWhereItIsWrittenBack)
{
    const struct {
        const char* raw;
        const char* attributeText;
    } rows[] = {
        {"<!-- Keep  Me -->", "<!-- Keep  Me -->"},
        {"<a  HREF=x  >", "HREF=x  "},
        {"<a   >", ""},
        {"<!--x-->", ""},
    };
    for (const auto& row : rows) {
        Tag tag;
        tag.Parse(row.raw);
        EXPECT_EQ(tag.attributeText, row.attributeText) << row.raw;
    }
}

TEST(TagParse, ParsingAgainReplacesTheEarlierTag)
{
    Tag tag;
    tag.Parse("<img src=x alt=y>");
    tag.Parse("<p>");
    EXPECT_EQ(tag.name, "p");
    EXPECT_TRUE(tag.attributes.empty());
    EXPECT_TRUE(tag.attributeText.empty());
}

}  // namespace
