#include "fuzz/reference/tag_table.h"

namespace reference {

namespace {

struct TagRow {
    const char* name;
    TagCode code;
};

// Every known element in its start and end form; the comment has no end form.
const TagRow kTagRows[] = {
    {"a", CodeA},
    {"/a", CodeA},
    {"applet", CodeApplet},
    {"/applet", CodeApplet},
    {"body", CodeBody},
    {"/body", CodeBody},
    {"br", CodeBr},
    {"/br", CodeBr},
    {"!--", CodeComment},
    {"frame", CodeFrame},
    {"/frame", CodeFrame},
    {"head", CodeHead},
    {"/head", CodeHead},
    {"html", CodeHtml},
    {"/html", CodeHtml},
    {"iframe", CodeIframe},
    {"/iframe", CodeIframe},
    {"img", CodeImg},
    {"/img", CodeImg},
    {"layer", CodeLayer},
    {"/layer", CodeLayer},
    {"link", CodeLink},
    {"/link", CodeLink},
    {"meta", CodeMeta},
    {"/meta", CodeMeta},
    {"p", CodeP},
    {"/p", CodeP},
    {"script", CodeScript},
    {"/script", CodeScript},
    {"object", CodeObject},
    {"/object", CodeObject},
    {"style", CodeStyle},
    {"/style", CodeStyle},
    {"table", CodeTable},
    {"/table", CodeTable},
    {"td", CodeTd},
    {"/td", CodeTd},
    {"th", CodeTh},
    {"/th", CodeTh},
    {"title", CodeTitle},
    {"/title", CodeTitle},
    {"tr", CodeTr},
    {"/tr", CodeTr},
};

}  // namespace

const TagTable& GetTagTable()
{
    // A function-local static is built exactly once, even when two threads arrive together.
    static const TagTable table = [] {
        TagTable rows;
        for (const TagRow& row : kTagRows) {
            rows.emplace(row.name, row.code);
        }
        return rows;
    }();
    return table;
}

TagCode LookUpTag(const std::string& name)
{
    const TagTable& table = GetTagTable();
    const TagTable::const_iterator entry = table.find(name);
    return entry != table.end() ? entry->second : 0;
}

}  // namespace reference
