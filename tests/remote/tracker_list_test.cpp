#include <gtest/gtest.h>

#include "remote/tracker_list.h"

namespace {

TEST(TrackerListTest, TheShippedListCompilesWhole)
{
    TrackerList list;
    std::vector<std::string> problems;
    list.AddTable(kBuiltInTrackers, "built-in", problems);
    list.Compile();
    EXPECT_EQ(problems, std::vector<std::string>());
    EXPECT_EQ(list.Size(), 260u);
}

TEST(TrackerListTest, MatchesKnownTrackersAnywhereInAnyCase)
{
    TrackerList list;
    std::vector<std::string> problems;
    list.AddTable(kBuiltInTrackers, "built-in", problems);
    list.Compile();
    const struct {
        const char* address;
        bool tracker;
    } rows[] = {
        {"https://email.airbnb.com/wf/open?upn=abc", true},
        {"HTTPS://EMAIL.AIRBNB.COM/WF/OPEN?upn=abc", true},
        {"https://x.awstrack.me/I0/0101/abc", true},
        {"https://mkt1234.com/open/xyz", true},
        {"https://mkt1.com/open/xyz", false},
        {"https://shop.example.com/products/tulip.jpg", false},
        {"", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(list.Matches(row.address), row.tracker) << row.address;
    }
}

TEST(TrackerListTest, AnAdminTableAddsPatternsAndNamesTheBadLine)
{
    TrackerList list;
    std::vector<std::string> problems;
    list.AddTable("# mine\r\nOwn\tpixel\\.own\\.test\\/p\r\n\r\nbroken(\r\nhits\\.only\\.test\n", "own.tsv", problems);
    list.Compile();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind("own.tsv:4: ", 0), 0u) << problems[0];
    EXPECT_EQ(list.Size(), 2u);
    EXPECT_TRUE(list.Matches("http://pixel.own.test/p?id=1"));
    EXPECT_TRUE(list.Matches("http://hits.only.test/"));
    EXPECT_FALSE(list.Matches("http://pixel.own.test/q"));
}

TEST(TrackerListTest, AnEmptyListMatchesNothing)
{
    TrackerList list;
    list.Compile();
    EXPECT_FALSE(list.Matches("http://anything.test/"));
}

}  // namespace
