#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/filter_engine.h"
#include "html/tag_scanner.h"

namespace {

typedef std::vector<Category> Categories;

const Categories kNone;

struct RuleCase {
    const char* html;
    Categories removed;
    const char* written;
    Categories found;
};

std::string FilterBody(FilterEngine& engine, const std::string& html)
{
    OutputBuffer out;
    engine.output = &out;
    TagScanner().Run(html, &engine);
    engine.output = nullptr;
    return std::string(out.Text());
}

Categories FoundIn(const FilterEngine& engine)
{
    Categories found;
    for (int category = 0; category < CategoryCount; ++category) {
        if (engine.found[category]) {
            found.push_back(static_cast<Category>(category));
        }
    }
    return found;
}

void ExpectRules(const std::vector<RuleCase>& cases)
{
    for (const RuleCase& row : cases) {
        FilterEngine engine;
        for (const Category category : row.removed) {
            engine.remove[category] = true;
        }
        SCOPED_TRACE(std::string("input: ") + row.html + ", removing "
            + std::to_string(row.removed.size()) + " categories");
        EXPECT_EQ(FilterBody(engine, row.html), row.written);
        EXPECT_EQ(FoundIn(engine), row.found);
    }
}

const Categories kAllSwitches = {CategoryScript, CategoryFormatting, CategoryImagesExt,
    CategoryImagesInt, CategoryLinks, CategoryExternalRefs, CategoryWebBugs};

TEST(TagRules, AnchorsKeepOnlyTheirAddress)
{
    ExpectRules({
        {"<A HREF='u' target=t>x</A>", kNone, "<a href=\"u\">x</a>", {CategoryLinks}},
        {"<a name=top>", kNone, "<a>", {CategoryLinks}},
        {"<a href=\"\">", kNone, "<a href=\"\">", {CategoryLinks}},
        {"<a href=u>x</a>", {CategoryLinks}, "x", {CategoryLinks}},
    });
}

TEST(TagRules, KeepOrDropEachCategoryTag)
{
    ExpectRules({
        {"<object data=x><param name=p></object>", kNone,
         "<object data=\"x\"><param name=\"p\"></object>", {CategoryScript, CategoryFormatting}},
        {"<object data=x><param name=p></object>", {CategoryScript}, "<param name=\"p\">",
         {CategoryScript, CategoryFormatting}},
        {"<APPLET code=x></applet>", {CategoryScript}, "", {CategoryScript}},
        {"<iframe src=x></iframe><frame src=y><layer>", kNone,
         "<iframe src=\"x\"></iframe><frame src=\"y\"><layer>", {CategoryExternalRefs}},
        {"<iframe src=x></iframe><frame src=y><layer>", {CategoryExternalRefs}, "",
         {CategoryExternalRefs}},
        {"<table><tr><th>h</th><td>d</td></tr></table>", kNone,
         "<table><tr><th>h</th><td>d</td></tr></table>", {CategoryFormatting}},
        {"<table><tr><th>h</th><td>d</td></tr></table>", {CategoryFormatting}, "hd",
         {CategoryFormatting}},
        {"<font color=red>x</font><div>", kNone, "<font color=\"red\">x</font><div>",
         {CategoryFormatting}},
        {"<font color=red>x</font><br/>", {CategoryFormatting}, "x", {CategoryFormatting}},
    });
}

TEST(TagRules, BodyLosesItsAttributesUnderFormatting)
{
    ExpectRules({
        {"<body bgcolor=white>t</body>", kNone, "<body bgcolor=\"white\">t</body>",
         {CategoryFormatting}},
        {"<BODY bgcolor=white>t</BODY x>", {CategoryFormatting}, "<body>t</body>",
         {CategoryFormatting}},
    });
}

TEST(TagRules, StructureTagsAndCommentsStayWhateverTheSwitches)
{
    ExpectRules({
        {"<html><head><title>T</title></head><P Class=x>a<br></p><!-- c --></html>",
         kAllSwitches,
         "<html><head><title>T</title></head><p class=\"x\">a<br></p><!-- c --></html>", kNone},
    });
}

TEST(TagRules, ScriptAndStyleTakeTheirContentWithThem)
{
    ExpectRules({
        {"<script>x()</script> after", kNone, "<script>x()</script> after", {CategoryScript}},
        {"<script>x()</script> after", {CategoryScript}, " after", {CategoryScript}},
        {"<style>p{}</style>t", kNone, "<style>p{}</style>t", {CategoryFormatting}},
        {"<style>p{}</style>t", {CategoryFormatting}, "t", {CategoryFormatting}},
        {"<script>a</b>c<!-- k -->d</script>e", {CategoryScript}, "</b>cde",
         {CategoryScript, CategoryFormatting}},
        {"<script>a</style>b<style>c</style>d", {CategoryScript, CategoryFormatting}, "bd",
         {CategoryScript, CategoryFormatting}},
    });
}

TEST(TagRules, ImagesAreInternalExternalOrWebBugs)
{
    ExpectRules({
        {"<img src=\"cid:part1\">", kNone, "<img src=\"cid:part1\">", {CategoryImagesInt}},
        {"<img src=\"CID:part1\" alt=a>", {CategoryImagesInt}, "[a]", {CategoryImagesInt}},
        {"<img src=\"cid:\">", {CategoryImagesExt}, "", {CategoryImagesExt}},
        {"<img src=\"cid:x?y\">", {CategoryWebBugs, CategoryImagesExt}, "<img src=\"cid:x?y\">",
         {CategoryImagesInt}},
        {"<img src=\"http://h/t.gif?u=1\" alt=pixel>", {CategoryWebBugs}, "[pixel]",
         {CategoryImagesExt, CategoryWebBugs}},
        {"<img src=\"http://h/t.gif\" alt=pic>", {CategoryWebBugs},
         "<img alt=\"pic\" src=\"http://h/t.gif\">", {CategoryImagesExt}},
        {"<img src=\"http://h/t.gif\" alt=pic>", {CategoryImagesExt}, "[pic]", {CategoryImagesExt}},
        {"<img src=\"http://h/t.gif?u=1\">", {CategoryImagesExt}, "", {CategoryImagesExt, CategoryWebBugs}},
        {"<img src=x alt=\"\">", {CategoryImagesExt}, "[]", {CategoryImagesExt}},
        {"<img alt=x></img>", kNone, "", kNone},
        {"<img src=x></img>", kNone, "<img src=\"x\">", {CategoryImagesExt}},
    });
}

TEST(TagRules, RefreshMetaCountsAsScript)
{
    ExpectRules({
        {"<meta http-equiv=Refresh content=0>", kNone, "<meta content=\"0\" http-equiv=\"Refresh\">",
         {CategoryScript}},
        {"<meta http-equiv=REFRESH content=0>", {CategoryScript}, "", {CategoryScript}},
        {"<meta http-equiv=refresh content=0>", {CategoryFormatting}, "", {CategoryScript}},
        {"<meta name=x>", {CategoryFormatting}, "", kNone},
        {"<meta http-equiv=\"refresh2\">", {CategoryScript}, "<meta http-equiv=\"refresh2\">", kNone},
    });
}

TEST(TagRules, OnlyStyleSheetLinksAreExternalRefs)
{
    ExpectRules({
        {"<link rel=stylesheet type=TEXT/CSS href=x>", kNone,
         "<link href=\"x\" rel=\"stylesheet\" type=\"TEXT/CSS\">", {CategoryExternalRefs}},
        {"<link rel=stylesheet type=text/css href=x>", {CategoryExternalRefs}, "",
         {CategoryExternalRefs}},
        {"<link rel=icon href=x>", {CategoryExternalRefs}, "<link href=\"x\" rel=\"icon\">", kNone},
    });
}

TEST(TagRules, StyleImportIsCutUpToItsSemicolon)
{
    const Categories styleAndImport = {CategoryFormatting, CategoryExternalRefs};
    ExpectRules({
        {"<style>@import url(x.css); p{}</style>", {CategoryExternalRefs}, "<style> p{}</style>",
         styleAndImport},
        {"<style>a{} @import url(x.css)</style>", {CategoryExternalRefs}, "<style>a{} </style>",
         styleAndImport},
        {"<style>@import a; @import b; p{}</style>", {CategoryExternalRefs},
         "<style> @import b; p{}</style>", styleAndImport},
        {"<style>@import a; p{}</style>", kNone, "<style>@import a; p{}</style>", styleAndImport},
        {"<style>@IMPORT a; p{}</style>", {CategoryExternalRefs}, "<style>@IMPORT a; p{}</style>",
         {CategoryFormatting}},
        {"<script>\"@import a;\"</script>", {CategoryExternalRefs},
         "<script>\"@import a;\"</script>", {CategoryScript}},
    });
}

// The two rule flags belong to the message: a script left open in one HTML part keeps
// suppressing content in the next.
TEST(TagRules, SuppressionCarriesAcrossBodiesOfOneMessage)
{
    FilterEngine engine;
    engine.remove[CategoryScript] = true;
    EXPECT_EQ(FilterBody(engine, "a<script>var x"), "a");
    EXPECT_TRUE(engine.suppressContent);
    EXPECT_EQ(FilterBody(engine, "<style>p{}</style>b<!-- c --><script>"), "<style></style>b");
    EXPECT_EQ(FilterBody(engine, "</script><style>p{}</style>"), "<style>p{}</style>");
    EXPECT_FALSE(engine.suppressContent);
}

TEST(TagRules, StyleStateCarriesAcrossBodiesOfOneMessage)
{
    FilterEngine engine;
    engine.remove[CategoryExternalRefs] = true;
    EXPECT_EQ(FilterBody(engine, "<style>"), "<style>");
    EXPECT_EQ(FilterBody(engine, "<script>@import a; b</script>"), "<script> b</script>");
    EXPECT_TRUE(engine.found[CategoryExternalRefs]);
}

}  // namespace
