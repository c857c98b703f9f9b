// The tag rules: what of each HTML token stays in the mail and which categories it
// charges. Tags are sorted by their tag table code through kTagRules; the anchor, image,
// meta and link rows have a rule of their own, which charges its categories itself.
#include <algorithm>
#include <string_view>

#include "analysis/filter_engine.h"
#include "common/string_helpers.h"
#include "html/token_writer.h"

namespace {

enum TagAction {
    ActionKeep,             // written unchanged
    ActionKeepComment,      // written unless script or style content is being suppressed
    ActionDrop,             // dropped under the row's switch
    ActionBare,             // reduced to "<name>" under the row's switch
    ActionScript,           // dropped under the switch, suppressing the content
    ActionStyle,            // likewise, and tracks whether style content follows
    ActionLink,
    ActionImage,
    ActionMeta,
    ActionStyleSheetLink
};

const Category kNoCategory = CategoryCount;

struct TagRule {
    TagAction action;
    Category category;  // charged before the action, and whose switch the action reads
};

// Indexed by tag code; row 0 serves every name the tag table does not hold.
const TagRule kTagRules[] = {
    {ActionDrop, CategoryFormatting},        // any other name
    {ActionLink, kNoCategory},               // a
    {ActionDrop, CategoryScript},            // applet
    {ActionBare, CategoryFormatting},        // body
    {ActionKeep, kNoCategory},               // br
    {ActionKeepComment, kNoCategory},        // !--
    {ActionDrop, CategoryExternalRefs},      // frame
    {ActionKeep, kNoCategory},               // head
    {ActionKeep, kNoCategory},               // html
    {ActionDrop, CategoryExternalRefs},      // iframe
    {ActionImage, kNoCategory},              // img
    {ActionDrop, CategoryExternalRefs},      // layer
    {ActionStyleSheetLink, kNoCategory},     // link
    {ActionMeta, kNoCategory},               // meta
    {ActionKeep, kNoCategory},               // p
    {ActionScript, CategoryScript},          // script
    {ActionDrop, CategoryScript},            // object
    {ActionStyle, CategoryFormatting},       // style
    {ActionDrop, CategoryFormatting},        // table
    {ActionDrop, CategoryFormatting},        // td
    {ActionDrop, CategoryFormatting},        // th
    {ActionKeep, kNoCategory},               // title
    {ActionDrop, CategoryFormatting},        // tr
};

const int kTagRuleCount = sizeof kTagRules / sizeof kTagRules[0];

const TagRule& RuleFor(TagCode code)
{
    return kTagRules[code > 0 && code < kTagRuleCount ? code : 0];
}

bool IsStartTag(const Tag& tag)
{
    return tag.name.empty() || tag.name[0] != '/';
}

const std::string_view* FindAttribute(const Tag& tag, std::string_view name)
{
    const Attribute* attribute = tag.FindAttribute(name);
    return attribute != nullptr ? &attribute->value : nullptr;
}

// Whether text equals lowerCase when A to Z are folded to a to z.
bool EqualsFolded(std::string_view text, std::string_view lowerCase)
{
    if (text.size() != lowerCase.size()) {
        return false;
    }
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (FoldAsciiLetter(text[index]) != lowerCase[index]) {
            return false;
        }
    }
    return true;
}

bool AttributeIs(const Tag& tag, std::string_view name, std::string_view lowerCase)
{
    const std::string_view* value = FindAttribute(tag, name);
    return value != nullptr && EqualsFolded(*value, lowerCase);
}

// An address of an inline part: "cid:" in any letter case and at least one character
// more. The value is searched only up to a NUL in it, as a C string would be.
bool IsContentIdAddress(std::string_view source)
{
    const std::string_view scheme = "cid:";
    const std::size_t length = std::min(source.find('\0'), source.size());
    return length > scheme.size() && EqualsFolded(source.substr(0, scheme.size()), scheme);
}

void WriteBare(OutputBuffer& out, const Tag& tag)
{
    out.Append('<');
    out.Append(tag.name);
    out.Append('>');
}

}  // namespace

void FilterEngine::OnToken(const Token& token)
{
    switch (token.kind) {
    case KindTag:
        FilterTag(token);
        break;
    case KindContent:
        FilterContent(token);
        break;
    case KindText:
        output->Append(token.text);
        break;
    }
}

void FilterEngine::FilterTag(const Token& token)
{
    const TagRule& rule = RuleFor(token.tag.code);
    if (rule.category != kNoCategory) {
        found[rule.category] = true;
    }
    const bool removing = rule.category != kNoCategory && remove[rule.category];
    switch (rule.action) {
    case ActionKeep:
        WriteToken(*output, token);
        break;
    case ActionKeepComment:
        if (!suppressContent) {
            WriteToken(*output, token);
        }
        break;
    case ActionDrop:
        if (!removing) {
            WriteToken(*output, token);
        }
        break;
    case ActionBare:
        if (removing) {
            WriteBare(*output, token.tag);
        } else {
            WriteToken(*output, token);
        }
        break;
    case ActionScript:
        if (removing) {
            suppressContent = IsStartTag(token.tag);
        } else {
            WriteToken(*output, token);
        }
        break;
    case ActionStyle:
        FilterStyleTag(token, removing);
        break;
    case ActionLink:
        FilterLink(token);
        break;
    case ActionImage:
        FilterImage(token);
        break;
    case ActionMeta:
        FilterMeta(token);
        break;
    case ActionStyleSheetLink:
        FilterStyleSheetLink(token);
        break;
    }
}

void FilterEngine::FilterStyleTag(const Token& token, bool removing)
{
    if (removing) {
        suppressContent = IsStartTag(token.tag);
        return;
    }
    insideStyle = IsStartTag(token.tag);
    WriteToken(*output, token);
}

// An anchor keeps its address and nothing else.
void FilterEngine::FilterLink(const Token& token)
{
    found[CategoryLinks] = true;
    if (remove[CategoryLinks]) {
        return;
    }
    output->Append('<');
    output->Append(token.tag.name);
    if (const std::string_view* href = FindAttribute(token.tag, "href")) {
        output->Append(" href=", 6);
        WriteQuotedValue(*output, *href);
    }
    output->Append('>');
}

// An image without a source counts for nothing and is dropped, end tags included. A
// replaced image leaves its alternative text in brackets, or nothing.
void FilterEngine::FilterImage(const Token& token)
{
    const std::string_view* source = FindAttribute(token.tag, "src");
    if (source == nullptr) {
        return;
    }
    const bool internal = IsContentIdAddress(*source);
    const bool query = source->find('?') != std::string_view::npos;
    bool replace;
    if (internal) {
        found[CategoryImagesInt] = true;
        replace = remove[CategoryImagesInt];
    } else {
        found[CategoryImagesExt] = true;
        if (query) {
            found[CategoryWebBugs] = true;
        }
        replace = remove[CategoryImagesExt] || (query && remove[CategoryWebBugs]);
    }
    if (!replace) {
        WriteToken(*output, token);
    } else if (const std::string_view* alt = FindAttribute(token.tag, "alt")) {
        output->Append('[');
        output->Append(*alt);
        output->Append(']');
    }
}

// A refresh is charged as script; removing formatting drops every meta tag uncharged.
void FilterEngine::FilterMeta(const Token& token)
{
    if (AttributeIs(token.tag, "http-equiv", "refresh")) {
        found[CategoryScript] = true;
        if (remove[CategoryScript]) {
            return;
        }
    }
    if (!remove[CategoryFormatting]) {
        WriteToken(*output, token);
    }
}

void FilterEngine::FilterStyleSheetLink(const Token& token)
{
    if (AttributeIs(token.tag, "type", "text/css")) {
        found[CategoryExternalRefs] = true;
        if (remove[CategoryExternalRefs]) {
            return;
        }
    }
    WriteToken(*output, token);
}

// Only the first "@import" statement of a style is cut, up to and including its ";".
// Without a ";" it takes the rest of the style with it.
void FilterEngine::FilterContent(const Token& token)
{
    if (suppressContent) {
        return;
    }
    const std::string_view text = token.text;
    const std::size_t import = insideStyle ? text.find("@import") : std::string_view::npos;
    if (import == std::string_view::npos) {
        output->Append(text);
        return;
    }
    found[CategoryExternalRefs] = true;
    if (!remove[CategoryExternalRefs]) {
        output->Append(text);
        return;
    }
    output->Append(text.data(), import);
    const std::size_t semicolon = text.find(';', import);
    if (semicolon != std::string_view::npos) {
        output->Append(text.data() + semicolon + 1, text.size() - semicolon - 1);
    }
}
