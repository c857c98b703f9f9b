#include "html/tag_table.h"

#include <algorithm>
#include <array>
#include <cstddef>

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

// Every known name is at most seven bytes long: its bytes and its length pack into one
// number, and the packed names are searched in sorted order.
constexpr std::size_t kLongestName = 7;

std::uint64_t PackedName(std::string_view name)
{
    std::uint64_t packed = name.size();
    for (const char character : name) {
        packed = (packed << 8) | static_cast<unsigned char>(character);
    }
    return packed << (8 * (kLongestName - name.size()));
}

struct PackedRow {
    std::uint64_t name;
    TagCode code;

    bool operator<(const PackedRow& other) const { return name < other.name; }
};

constexpr std::size_t kRowCount = sizeof kTagRows / sizeof kTagRows[0];

typedef std::array<PackedRow, kRowCount> PackedTable;

const PackedTable& GetPackedTable()
{
    // A function-local static is built exactly once, even when two threads arrive together.
    static const PackedTable table = [] {
        PackedTable rows;
        for (std::size_t index = 0; index < kRowCount; ++index) {
            rows[index] = {PackedName(kTagRows[index].name), kTagRows[index].code};
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }();
    return table;
}

}  // namespace

TagCode LookUpTag(std::string_view name)
{
    if (name.empty() || name.size() > kLongestName) {
        return 0;
    }
    const PackedTable& table = GetPackedTable();
    const PackedRow wanted{PackedName(name), 0};
    const auto row = std::lower_bound(table.begin(), table.end(), wanted);
    return row != table.end() && row->name == wanted.name ? row->code : 0;
}
