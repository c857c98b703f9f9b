#include "html/tag_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(TagTable, LooksUpExactLowerCaseNames)
{
    const struct {
        std::string name;
        TagCode code;
    } rows[] = {
        {"a", CodeA}, {"/a", CodeA}, {"img", CodeImg}, {"/img", CodeImg}, {"object", CodeObject},
        {"/object", CodeObject}, {"p", CodeP}, {"!--", CodeComment}, {"/script", CodeScript},
        {"/applet", CodeApplet}, {"tr", CodeTr},
        {"/!--", 0}, {"IMG", 0}, {"br/", 0}, {" br", 0}, {"!--x", 0}, {"", 0}, {"b", 0},
        {"a\0"s, 0}, {"\0a"s, 0}, {"scripts", 0}, {"/objects", 0}, {"/object/", 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(LookUpTag(row.name), row.code) << row.name;
    }
}

}  // namespace
