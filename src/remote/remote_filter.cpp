#include "remote/remote_filter.h"

#include <cctype>
#include <functional>
#include <map>
#include <string_view>

#include "html/token_writer.h"
#include "remote/character_references.h"
#include "remote/css_loads.h"
#include "remote/link_tracking.h"
#include "remote/pixel_rules.h"
#include "remote/recipients.h"

namespace {

enum AddressForm {
    FormSingle,   // one address
    FormSrcSet,   // candidates "address descriptor, ..."
    FormRefresh   // "5; url=address"
};

enum LoadAction {
    DropTag,       // the element means nothing without it; an image leaves its alt text in brackets
    DropAttribute  // the element stays, with its content
};

// What a browser fetches without a click, element by element ("*": any element). Every
// element meets every rule, so the names are compared with their lengths known.
struct FetchRule {
    std::string_view element;
    const char* attribute;
    AddressForm form;
    LoadAction action;
};

const FetchRule kFetchRules[] = {
    {"img", "src", FormSingle, DropTag},          {"img", "srcset", FormSrcSet, DropTag},
    {"img", "lowsrc", FormSingle, DropTag},       {"img", "dynsrc", FormSingle, DropTag},
    {"image", "src", FormSingle, DropTag},        {"image", "href", FormSingle, DropTag},
    {"image", "xlink:href", FormSingle, DropTag}, {"input", "src", FormSingle, DropTag},
    {"source", "src", FormSingle, DropTag},       {"source", "srcset", FormSrcSet, DropTag},
    {"track", "src", FormSingle, DropTag},        {"embed", "src", FormSingle, DropTag},
    {"bgsound", "src", FormSingle, DropTag},      {"link", "href", FormSingle, DropTag},
    {"link", "imagesrcset", FormSrcSet, DropTag}, {"meta", "content", FormRefresh, DropTag},
    {"video", "src", FormSingle, DropAttribute},  {"video", "poster", FormSingle, DropAttribute},
    {"audio", "src", FormSingle, DropAttribute},  {"object", "data", FormSingle, DropAttribute},
    {"iframe", "src", FormSingle, DropAttribute}, {"frame", "src", FormSingle, DropAttribute},
    {"script", "src", FormSingle, DropAttribute}, {"use", "href", FormSingle, DropAttribute},
    {"use", "xlink:href", FormSingle, DropAttribute}, {"feimage", "href", FormSingle, DropAttribute},
    {"feimage", "xlink:href", FormSingle, DropAttribute}, {"*", "background", FormSingle, DropAttribute},
};

const std::string_view kImageElements[] = {"img", "image", "input"};
const std::string_view kLinkElements[] = {"a", "area"};

template <size_t Count>
bool IsOneOf(std::string_view name, const std::string_view (&names)[Count])
{
    for (std::string_view candidate : names) {
        if (name == candidate) {
            return true;
        }
    }
    return false;
}

bool IsBlank(char character)
{
    return character == ' ' || character == '\t' || character == '\n' || character == '\r' || character == '\f';
}

// The addresses of a srcset: each candidate's address runs to a blank; its descriptors
// run to the next comma.
std::vector<std::string> SrcSetAddresses(const std::string& value)
{
    std::vector<std::string> addresses;
    std::size_t at = 0;
    while (at < value.size()) {
        while (at < value.size() && (IsBlank(value[at]) || value[at] == ',')) {
            ++at;
        }
        std::size_t end = at;
        while (end < value.size() && !IsBlank(value[end])) {
            ++end;
        }
        std::size_t addressEnd = end;
        while (addressEnd > at && value[addressEnd - 1] == ',') {
            --addressEnd;
        }
        if (addressEnd > at) {
            addresses.push_back(value.substr(at, addressEnd - at));
        }
        at = addressEnd < end ? end : value.find(',', end);
        if (at == std::string::npos) {
            break;
        }
    }
    return addresses;
}

// A refresh names its address after "url=", in any letter case, perhaps in quotes.
std::vector<std::string> RefreshAddresses(const std::string& value)
{
    std::string lowered = value;
    for (char& character : lowered) {
        character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
    }
    const std::size_t url = lowered.find("url");
    if (url == std::string::npos) {
        return {};
    }
    std::size_t at = lowered.find('=', url);
    if (at == std::string::npos) {
        return {};
    }
    std::string address = value.substr(at + 1);
    while (!address.empty() && (IsBlank(address.front()) || address.front() == '\'' || address.front() == '"')) {
        address.erase(0, 1);
    }
    return {address};
}

std::vector<std::string> AddressesOf(const std::string& decoded, AddressForm form)
{
    switch (form) {
    case FormSingle:
        return {decoded};
    case FormSrcSet:
        return SrcSetAddresses(decoded);
    case FormRefresh:
        return RefreshAddresses(decoded);
    }
    return {};
}

std::vector<std::string> RemoteOnly(const std::vector<std::string>& addresses)
{
    std::vector<std::string> remote;
    for (const std::string& address : addresses) {
        if (IsRemoteAddress(address)) {
            remote.push_back(address);
        }
    }
    return remote;
}

// A "<" that a browser reads as text: not followed by a letter, "/", "!" or "?".
bool OpensTag(std::string_view raw, std::size_t at)
{
    if (at + 1 >= raw.size()) {
        return false;
    }
    const char next = raw[at + 1];
    return std::isalpha(static_cast<unsigned char>(next)) != 0 || next == '/' || next == '!' || next == '?';
}

// A browser ends a tag name at a "/" too: "<img/src=x>" is an img with a source.
std::string WithNameSlashAsBlank(std::string raw)
{
    std::size_t at = 1;
    while (at < raw.size() && !IsBlank(raw[at]) && raw[at] != '>') {
        if (raw[at] == '/' && at > 1) {
            raw[at] = ' ';
            break;
        }
        ++at;
    }
    return raw;
}

// Whether a quoted value is still open at the tag's ">": a browser would read on past
// it, and what follows would be part of the tag for the browser but text for us.
bool QuoteLeftOpen(std::string_view raw)
{
    char quote = 0;
    bool afterEquals = false;
    std::size_t at = 1;
    while (at < raw.size() && !IsBlank(raw[at]) && raw[at] != '/' && raw[at] != '>') {
        ++at;  // a quote in the tag's name is part of the name
    }
    for (; at + 1 < raw.size(); ++at) {
        const char character = raw[at];
        if (quote != 0) {
            quote = character == quote ? 0 : quote;
        } else if (character == '=') {
            afterEquals = true;
        } else if (afterEquals && (character == '"' || character == '\'')) {
            quote = character;
            afterEquals = false;
        } else if (!IsBlank(character)) {
            afterEquals = false;
        }
    }
    return quote != 0;
}

// An element as the filter works on it: its name and its attributes by name, which it
// may change. A "/" between attributes is a separator to a browser, so it is no part of
// the names here.
struct Element {
    std::string name;
    std::map<std::string, std::string, std::less<>> attributes;  // looked up without a copy of the name
    bool repeatsAName = false;  // the parser kept only the last of some name
};

Element ElementOf(const Tag& tag)
{
    Element element{std::string(tag.name), {}, false};
    const std::vector<Attribute>& attributes = tag.Attributes();
    for (const Attribute& attribute : attributes) {
        element.repeatsAName |= attribute.position >= attributes.size();
        const std::size_t letters = attribute.name.find_first_not_of('/');
        if (letters != std::string_view::npos) {
            element.attributes.emplace(attribute.name.substr(letters), attribute.value);
        }
    }
    return element;
}

const std::string* FindAttribute(const Element& element, std::string_view name)
{
    auto found = element.attributes.find(name);
    return found == element.attributes.end() ? nullptr : &found->second;
}

void WriteText(OutputBuffer& out, std::string_view text)
{
    for (char character : text) {
        if (character == '<') {
            out.Append("&lt;", 4);
        } else {
            out.Append(character);
        }
    }
}

// The normalised form, keeping a self-closing "/" that SVG content needs.
void WriteRebuiltTag(OutputBuffer& out, const Element& tag, std::string_view raw)
{
    out.Append('<');
    out.Append(tag.name);
    for (const auto& attribute : tag.attributes) {
        out.Append(' ');
        out.Append(attribute.first);
        if (!attribute.second.empty()) {
            out.Append('=');
            WriteQuotedValue(out, attribute.second);
        }
    }
    out.Append(raw.size() >= 2 && raw[raw.size() - 2] == '/' ? " />" : ">");
}

}  // namespace

RemoteFilter::RemoteFilter(const TrackerList& trackers, int flags) : trackers(trackers)
{
    for (int category = 0; category < RemoteCategoryCount; ++category) {
        remove[category] = (flags & kRemoteCategories[category].flagsBit) != 0;
    }
}

void RemoteFilter::OnToken(const Token& token)
{
    if (inStyle && !(token.kind == KindTag && token.tag.name == "/style")) {
        styleSheet += token.text;
    } else if (token.kind == KindTag) {
        FilterTag(token.text);
    } else {
        output->Append(token.text);
    }
}

void RemoteFilter::FinishPart()
{
    if (inStyle) {
        FilterStyleSheet();
    }
}

bool RemoteFilter::Charge(RemoteCategory category)
{
    found[category] = true;
    return remove[category];
}

RemoteCategory RemoteFilter::CategoryOfLoad(const std::vector<std::string>& addresses, bool hiddenImage) const
{
    for (const std::string& address : addresses) {
        if (trackers.Matches(address)) {
            return KnownTrackers;
        }
    }
    return hiddenImage ? TrackingPixels : RemoteLoads;
}

// What a browser reads as text before a real tag goes out as text with that tag.
void RemoteFilter::FilterTag(std::string_view token)
{
    std::size_t start = 0;
    while (!OpensTag(token, start)) {
        start = token.find('<', start + 1);
        if (start == std::string_view::npos) {
            output->Append(token);
            return;
        }
    }
    const std::string_view textBefore = token.substr(0, start);
    const std::string_view raw = token.substr(start);
    const std::string browserView = WithNameSlashAsBlank(std::string(raw));
    Tag tag;
    tag.Parse(browserView);
    if (tag.name.empty() || tag.name[0] == '/' || tag.name[0] == '!' || tag.name[0] == '?') {
        if (tag.name == "/style") {
            output->Append(textBefore);
            FilterStyleSheet();
            output->Append(raw);
        } else {
            output->Append(token);
        }
        return;
    }
    FilterElement(tag, textBefore, raw);
    inStyle = tag.name == "style";
}

// Should the element go, a "<" just before it in the text is written "&lt;", so that it
// cannot open a new tag with what follows.
void RemoteFilter::FilterElement(const Tag& parsed, std::string_view textBefore, std::string_view raw)
{
    Element tag = ElementOf(parsed);
    const bool image = IsOneOf(tag.name, kImageElements);
    const std::string style = DecodeCharacterReferences(FindAttribute(tag, "style") ? *FindAttribute(tag, "style") : "");
    const bool hidden = image && IsHiddenImage(FindAttribute(tag, "width"), FindAttribute(tag, "height"), style);
    bool changed = false;
    bool dropTag = false;
    // A browser takes the first of repeated attributes, the parser the last: such a tag
    // goes out rebuilt with only what was checked.
    bool fetches = FindAttribute(tag, "style") != nullptr;
    for (const FetchRule& rule : kFetchRules) {
        const bool applies = rule.element == "*" || tag.name == rule.element;
        const std::string* value = applies ? FindAttribute(tag, rule.attribute) : nullptr;
        if (value == nullptr) {
            continue;
        }
        fetches = true;
        const std::vector<std::string> remote = RemoteOnly(AddressesOf(DecodeCharacterReferences(*value), rule.form));
        if (remote.empty()) {
            continue;
        }
        bool carriesRecipient = false;
        for (const std::string& address : remote) {
            carriesRecipient |= CarriesRecipient(address, recipients);
        }
        if (Charge(CategoryOfLoad(remote, hidden || (image && carriesRecipient)))) {
            dropTag |= rule.action == DropTag;
            tag.attributes.erase(rule.attribute);
            changed = true;
        }
    }
    std::vector<CssLoad> removedLoads;
    for (CssLoad& load : FindCssLoads(style)) {
        const std::vector<std::string> remote = RemoteOnly(load.addresses);
        if (!remote.empty() && Charge(CategoryOfLoad(remote, false))) {
            removedLoads.push_back(load);
        }
    }
    if (!removedLoads.empty()) {
        tag.attributes["style"] = EncodeForAttribute(WithoutCssLoads(style, removedLoads));
        changed = true;
    }
    if (IsOneOf(tag.name, kLinkElements)) {
        if (const std::string* href = FindAttribute(tag, "href")) {
            const std::string address = DecodeCharacterReferences(*href);
            if (trackers.Matches(address)) {
                if (Charge(KnownTrackers)) {
                    tag.attributes.erase("href");
                    changed = true;
                }
            } else if (HasTrackingParameters(address) && Charge(LinkTracking)) {
                tag.attributes["href"] = EncodeForAttribute(WithoutTrackingParameters(address));
                changed = true;
            }
        }
    }
    if ((QuoteLeftOpen(raw) || (tag.repeatsAName && fetches)) && Charge(RemoteLoads)) {
        changed = true;
    }
    if (dropTag) {
        WriteText(*output, textBefore);
        const std::string* alt = image ? FindAttribute(tag, "alt") : nullptr;
        if (alt != nullptr && !alt->empty()) {
            output->Append('[');
            WriteText(*output, *alt);
            output->Append(']');
        }
    } else {
        output->Append(textBefore);
        if (changed) {
            WriteRebuiltTag(*output, tag, raw);
        } else {
            output->Append(raw);
        }
    }
}

// A style element's text, held from its start tag to its end tag, as a browser reads it.
void RemoteFilter::FilterStyleSheet()
{
    inStyle = false;
    std::vector<CssLoad> removedLoads;
    for (CssLoad& load : FindCssLoads(styleSheet)) {
        const std::vector<std::string> remote = RemoteOnly(load.addresses);
        if (!remote.empty() && Charge(CategoryOfLoad(remote, false))) {
            removedLoads.push_back(load);
        }
    }
    output->Append(removedLoads.empty() ? styleSheet : WithoutCssLoads(styleSheet, removedLoads));
    styleSheet.clear();
}
