#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>
#include <string>

#include "html/tag.h"
#include "html/token.h"

namespace {

TEST(TokenWriter, WritesTagsInTheirNormalForm)
{
    const struct {
        const char* raw;
        const char* written;
    } rows[] = {
        {"<td\tWIDTH=1\r\nheight='2'  >", "<td height=\"2\" width=\"1\">"},
        {"<i alt=\"\" b = x>", "<i alt b>"},
        {"<br />", "<br />"},
        {"<br/>", "<br/>"},
        {"< br>", "< br>"},
        {"<!--X-->", "<!--x-->"},
        {"<!-- Keep  THIS\r\n -->", "<!-- Keep  THIS\r\n -->"},
        {"<!-->", ""},
        {"<i title='say \"hi\"' x=a\"b>", "<i title=\"say &quot;hi&quot;\" x=\"a&quot;b\">"},
    };
    for (const auto& row : rows) {
        Tag tag;
        tag.Parse(row.raw);
        std::ostringstream out;
        out << tag;
        EXPECT_EQ(out.str(), row.written) << row.raw;
    }
}

TEST(TokenWriter, IgnoresAFieldWidthLeftOnTheStream)
{
    const Token token{KindText, "ab", Tag()};
    std::ostringstream out;
    out << std::setw(6) << token;
    EXPECT_EQ(out.str(), "ab");
}

}  // namespace
