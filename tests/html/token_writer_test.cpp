#include <gtest/gtest.h>

#include <string>

#include "html/token_writer.h"

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
        OutputBuffer out;
        WriteTag(out, tag);
        EXPECT_EQ(out.Text(), row.written) << row.raw;
    }
}

}  // namespace
