#include "html/tag_table.h"

#include <cstddef>

namespace {

struct TagRow {
    const char* name;
    TagCode code;
};

// Every known element in its start and end form; the comment has no end form.
constexpr TagRow kTagRows[] = {
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
// number. A multiplier chosen for these names sends each to a slot of its own, so a
// lookup reads one slot. The table is a constant, built by the compiler.
constexpr std::size_t kLongestName = 7;
constexpr std::size_t kSlotBits = 7;
constexpr std::size_t kSlotCount = std::size_t(1) << kSlotBits;
constexpr std::uint64_t kMultiplier = 0x1ebe5459ba00f6a3ull;

constexpr std::uint64_t ByteAt(std::string_view name, std::size_t index)
{
    return static_cast<std::uint64_t>(static_cast<unsigned char>(name[index])) << (8 * index);
}

constexpr std::uint64_t FourBytesAt(std::string_view name, std::size_t index)
{
    return ByteAt(name, index) | ByteAt(name, index + 1) | ByteAt(name, index + 2) | ByteAt(name, index + 3);
}

// Byte i of the name goes to bits 8i to 8i+7. Two overlapping reads cover every length
// without a loop: where they overlap they put the same byte in the same place.
constexpr std::uint64_t PackedName(std::string_view name)
{
    const std::size_t size = name.size();
    const std::uint64_t length = static_cast<std::uint64_t>(size) << 56;
    if (size >= 4) {
        return length | FourBytesAt(name, 0) | FourBytesAt(name, size - 4);
    }
    return length | ByteAt(name, 0) | ByteAt(name, size / 2) | ByteAt(name, size - 1);
}

constexpr std::size_t SlotOf(std::uint64_t packed)
{
    return static_cast<std::size_t>((packed * kMultiplier) >> (64 - kSlotBits));
}

struct SlotTable {
    std::uint64_t names[kSlotCount] = {};  // 0: empty, as no packed name is 0
    TagCode codes[kSlotCount] = {};
    bool oneNamePerSlot = true;
};

constexpr SlotTable BuildSlotTable()
{
    SlotTable table;
    for (const TagRow& row : kTagRows) {
        const std::uint64_t packed = PackedName(row.name);
        const std::size_t slot = SlotOf(packed);
        table.oneNamePerSlot = table.oneNamePerSlot && table.names[slot] == 0;
        table.names[slot] = packed;
        table.codes[slot] = row.code;
    }
    return table;
}

constexpr SlotTable kSlotTable = BuildSlotTable();
static_assert(kSlotTable.oneNamePerSlot, "two tag names share a slot: choose another multiplier");

}  // namespace

TagCode LookUpTag(std::string_view name)
{
    if (name.empty() || name.size() > kLongestName) {
        return 0;
    }
    const std::uint64_t packed = PackedName(name);
    const std::size_t slot = SlotOf(packed);
    return kSlotTable.names[slot] == packed ? kSlotTable.codes[slot] : 0;
}
