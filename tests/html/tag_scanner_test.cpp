#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "html/tag.h"
#include "html/tag_scanner.h"

namespace {

using namespace std::string_literals;

// One line per token: its kind and text, and for a tag "=> name#code" and its attributes.
class DescribingSink : public TokenSink {
public:
    void OnToken(const Token& token) override
    {
        static const char* const kKindNames[] = {"tag ", "text ", "content "};
        std::string line = kKindNames[token.kind - KindTag] + std::string(token.text);
        if (token.kind == KindTag) {
            line += " => " + std::string(token.tag.name) + "#" + std::to_string(token.tag.code);
            for (const Attribute& attribute : token.tag.Attributes()) {
                line += " [" + std::string(attribute.name) + "=" + std::string(attribute.value) + "]";
            }
        }
        lines.push_back(line);
    }

    std::vector<std::string> lines;
};

struct ScanCase {
    std::string html;
    std::vector<std::string> tokens;
};

void ExpectScans(const std::vector<ScanCase>& cases)
{
    for (const ScanCase& row : cases) {
        DescribingSink sink;
        TagScanner().Run(row.html, &sink);
        EXPECT_EQ(sink.lines, row.tokens) << "input: " << row.html;
    }
}

// Words and whitespace are written back alike, so text goes whole up to the next "<".
TEST(TagScanner, TakesTextWholeUpToTheNextTag)
{
    ExpectScans({
        {"one  two<p>", {"text one  two", "tag <p> => p#14"}},
        {" \r\n<p>", {"text  \r\n", "tag <p> => p#14"}},
        {"a\fb\vc", {"text a\fb\vc"}},
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
        {"<i =\"v\" ='' =w>", {"tag <i =\"v\" ='' =w> => i#0 [=]"}},
    });
}

// The first ">" ends a tag, also inside a quoted value; the rest of the value is text.
TEST(TagScanner, EndsTagsAtTheFirstCloser)
{
    ExpectScans({
        {"<a title=\"x>y\">t", {"tag <a title=\"x> => a#1 [title=x]", "text y\">t"}},
        {"a < b c>d", {"text a ", "tag < b c> => b#0 [c=]", "text d"}},
        {"<p <!-- a > b -->", {"tag <p <!-- a > => p#14 [<!--=] [a=]", "text  b -->"}},
    });
}

TEST(TagScanner, RecognisesCommentsOnlyAtTheOpener)
{
    ExpectScans({
        {"<!-->", {"tag <!--> => !--#5"}},
        {"<!--->", {"tag <!---> => !---#0"}},
        {"<!-- a > b <p> -->", {"tag <!-- a > b <p> --> => !--#5"}},
        {"<!--X-->", {"tag <!--X--> => !--x--#0"}},
    });
}

TEST(TagScanner, HandsOverScriptAndStyleContentWhole)
{
    ExpectScans({
        {"<script>x</script>", {"tag <script> => script#15", "content x", "tag </script> => /script#15"}},
        {"<script>if (a<b) s=\"</b>\";</script>",
         {"tag <script> => script#15", "content if (a<b) s=\"", "tag </b> => /b#0", "text \";",
          "tag </script> => /script#15"}},
        {"<style><!-- p {} --></style>",
         {"tag <style> => style#17", "content <!-- p {} -->", "tag </style> => /style#17"}},
    });
}

// What is still held when the body ends: nothing is lost but a trailing whitespace run.
TEST(TagScanner, DeliversWhatIsHeldAtTheEnd)
{
    ExpectScans({
        {"a  \r\n", {"text a"}},
        {"a b \r\n", {"text a b"}},
        {" \t", {}},
        {"x <a href=y", {"text x ", "text <a href=y"}},
        {"<!--", {"text <!--"}},
        {"<script>", {"tag <script> => script#15"}},
        {"<!-- a -- >", {"text <!-- a -- >"}},
        {"<script>var a<", {"tag <script> => script#15", "content var a<"}},
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

// A rule's look for one attribute, before or after the writer's sorted list, and the
// list itself agree on which of several written the same way counts: the last.
TEST(TagParse, LastOfRepeatedAttributeNamesCountsWhetherLookedUpOrListed)
{
    const std::string raw = "<A HREF='x' Target href=\"y\" hREF=z data-X=1 title=\"t\">";
    Tag lookedUpFirst;
    lookedUpFirst.Parse(raw);
    ASSERT_NE(lookedUpFirst.FindAttribute("href"), nullptr);
    EXPECT_EQ(lookedUpFirst.FindAttribute("href")->value, "z");
    EXPECT_EQ(lookedUpFirst.FindAttribute("data-x")->value, "1");
    EXPECT_EQ(lookedUpFirst.FindAttribute("HREF"), nullptr);
    EXPECT_EQ(lookedUpFirst.FindAttribute("alt"), nullptr);

    Tag listedFirst;
    listedFirst.Parse(raw);
    std::string listed;
    for (const Attribute& attribute : listedFirst.Attributes()) {
        listed += std::string(attribute.name) + "=" + std::string(attribute.value) + ";";
    }
    EXPECT_EQ(listed, "data-x=1;href=z;target=;title=t;");
    EXPECT_EQ(listedFirst.FindAttribute("href")->value, "z");
    EXPECT_EQ(lookedUpFirst.Attributes().size(), listedFirst.Attributes().size());
}

TEST(TagParse, ParsingAgainReplacesTheEarlierTag)
{
    Tag tag;
    tag.Parse("<img src=x alt=y>");
    tag.Parse("<p>");
    EXPECT_EQ(tag.name, "p");
    EXPECT_TRUE(tag.Attributes().empty());
    EXPECT_TRUE(tag.attributeText.empty());
}

}  // namespace
