#include <gtest/gtest.h>

#include "remote/pixel_rules.h"
#include "remote/recipients.h"

namespace {

TEST(PixelRulesTest, TellsHiddenImagesFromVisibleOnes)
{
    const std::string one = "1";
    const std::string zero = "0";
    const std::string onePx = " 1px ";
    const std::string wide = "600";
    const std::string percent = "100%";
    const struct {
        const std::string* width;
        const std::string* height;
        const char* style;
        bool hidden;
    } rows[] = {
        {&one, &one, "", true},
        {&wide, &zero, "", true},
        {&onePx, nullptr, "", true},
        {&wide, &wide, "", false},
        {&percent, nullptr, "", false},
        {nullptr, nullptr, "display:none", true},
        {nullptr, nullptr, "DISPLAY : None !important", true},
        {nullptr, nullptr, "visibility:hidden", true},
        {nullptr, nullptr, "opacity:0", true},
        {nullptr, nullptr, "opacity:0.0;", true},
        {nullptr, nullptr, "opacity:0.5", false},
        {nullptr, nullptr, "max-height:0px", true},
        {nullptr, nullptr, "max-width:0", true},
        {nullptr, nullptr, "width:1px;height:1px", true},
        {nullptr, nullptr, "width:2px", false},
        {nullptr, nullptr, "height:0em", true},
        {nullptr, nullptr, "/* display:none */ color:red", false},
        {nullptr, nullptr, "display:block", false},
        {nullptr, nullptr, "width:auto", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(IsHiddenImage(row.width, row.height, row.style), row.hidden)
            << (row.width ? *row.width : "-") << " " << (row.height ? *row.height : "-") << " " << row.style;
    }
}

TEST(PixelRulesTest, FindsTheRecipientInAnImageAddress)
{
    const std::vector<std::string> recipients =
        RecipientAddresses("From: shop@sender.test\r\nTo: \"Ann\" <Ann.Reader@Example.org>, bo@x.test\r\n"
                           "Subject: hi\r\n\r\n");
    EXPECT_EQ(recipients, (std::vector<std::string>{"ann.reader@example.org", "bo@x.test"}));
    EXPECT_TRUE(CarriesRecipient("http://t.test/o.gif?u=ann.reader@example.org", recipients));
    EXPECT_TRUE(CarriesRecipient("http://t.test/o.gif?u=ANN.READER%40EXAMPLE.ORG", recipients));
    EXPECT_FALSE(CarriesRecipient("http://t.test/o.gif?u=someone@example.org", recipients));
    EXPECT_FALSE(CarriesRecipient("http://t.test/o.gif", {}));
}

}  // namespace
