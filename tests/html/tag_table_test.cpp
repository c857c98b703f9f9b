#include <gtest/gtest.h>

#include "html/tag.h"
#include "html/tag_table.h"

namespace {

TEST(TagTable, LooksUpExactLowerCaseNamesOnly)
{
    const struct {
        const char* name;
        TagCode code;
    } rows[] = {
        {"img", CodeImg},
        {"/img", CodeImg},
        {"p", 14},
        {"script", 15},
        {"object", 16},
        {"!--", CodeComment},
        {"/!--", 0},
        {"IMG", 0},
        {"br/", 0},
        {" br", 0},
        {"!--x--", 0},
        {"", 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(LookUpTag(row.name), row.code) << '"' << row.name << '"';
    }
}

TEST(TagTable, IsOneTableOfFortyThreeEntries)
{
    const TagTable* first = &GetTagTable();
    EXPECT_EQ(first, &GetTagTable());
    EXPECT_EQ(GetTagTable().size(), 43u);
    for (const auto& entry : GetTagTable()) {
        EXPECT_GE(entry.second, CodeA);
        EXPECT_LE(entry.second, CodeTr);
    }
}

// Capitals miss the table, but the parser lower-cases the name before looking it up.
TEST(TagTable, ParsedCapitalsFindTheirElement)
{
    Tag tag;
    tag.Parse("<OBJECT>");
    EXPECT_EQ(tag.code, CodeObject);
}

}  // namespace
