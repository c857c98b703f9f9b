#include <gtest/gtest.h>

#include "remote/link_tracking.h"

namespace {

TEST(LinkTrackingTest, StripsTrackingParametersAndNothingElse)
{
    const struct {
        const char* address;
        bool tracked;
        const char* stripped;
    } rows[] = {
        {"https://shop.test/p?utm_source=news&utm_medium=mail", true, "https://shop.test/p"},
        {"https://shop.test/p?id=7&UTM_Campaign=x&ref=a#top", true, "https://shop.test/p?id=7&ref=a#top"},
        {"https://shop.test/p?fbclid=1&gclid=2&mc_eid=3&q=tulip", true, "https://shop.test/p?q=tulip"},
        {"https://shop.test/utm_source/p?x=utm_source", false, "https://shop.test/utm_source/p?x=utm_source"},
        {"https://shop.test/p#utm_source=x", false, "https://shop.test/p#utm_source=x"},
        {"https://shop.test/p?a=1&&b=2&utm_id=9", true, "https://shop.test/p?a=1&&b=2"},
        {"mailto:ann@example.org?subject=utm_source", false, "mailto:ann@example.org?subject=utm_source"},
        {"https://shop.test/p?butm_source=1", false, "https://shop.test/p?butm_source=1"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(HasTrackingParameters(row.address), row.tracked) << row.address;
        EXPECT_EQ(WithoutTrackingParameters(row.address), row.stripped) << row.address;
    }
}

}  // namespace
