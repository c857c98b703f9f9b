#include "html/tag_table.h"

#include <array>
#include <cstddef>
#include <cstring>

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
// number, which a small open-addressing table, built once, maps to the code.
constexpr std::size_t kLongestName = 7;
constexpr std::size_t kSlotBits = 7;
constexpr std::size_t kSlotCount = std::size_t(1) << kSlotBits;

std::uint64_t PackedName(std::string_view name)
{
    std::uint64_t packed = 0;
    std::memcpy(&packed, name.data(), name.size());
    return packed | (static_cast<std::uint64_t>(name.size()) << 56);
}

std::size_t SlotOf(std::uint64_t packed)
{
    return static_cast<std::size_t>((packed * 0x9E3779B97F4A7C15ull) >> (64 - kSlotBits));
}

struct Slot {
    std::uint64_t name = 0;  // 0: empty, as no packed name is 0
    TagCode code = 0;
};

typedef std::array<Slot, kSlotCount> SlotTable;

const SlotTable& GetSlotTable()
{
    // A function-local static is built exactly once, even when two threads arrive together.
    static const SlotTable table = [] {
        SlotTable slots;
        for (const TagRow& row : kTagRows) {
            const std::uint64_t packed = PackedName(row.name);
            std::size_t slot = SlotOf(packed);
            while (slots[slot].name != 0) {
                slot = (slot + 1) % kSlotCount;
            }
            slots[slot] = {packed, row.code};
        }
        return slots;
    }();
    return table;
}

}  // namespace

TagCode LookUpTag(std::string_view name)
{
    if (name.empty() || name.size() > kLongestName) {
        return 0;
    }
    const SlotTable& slots = GetSlotTable();
    const std::uint64_t packed = PackedName(name);
    for (std::size_t slot = SlotOf(packed); slots[slot].name != 0; slot = (slot + 1) % kSlotCount) {
        if (slots[slot].name == packed) {
            return slots[slot].code;
        }
    }
    return 0;
}
