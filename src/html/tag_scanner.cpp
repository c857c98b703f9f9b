// The scanner's state machine over one whole HTML body. Conventions of this file:
// - one handler per state, in the order InText, InTag, InComment, InContent;
// - a handler is given the position of the first character not yet read, finds the end
//   of what belongs to its state (the next "<", the ">" that closes a tag or comment, the
//   "</" that ends script or style content), delivers it and returns where it stopped;
// - text outside tags goes as one token up to the next "<": words and whitespace are
//   written back alike, so cutting them apart would change nothing;
// - tokens are views into the body: nothing is copied on the way to the sink;
// - whatever has no closer when the body ends goes on as it is: an unclosed tag or
//   comment as text, unclosed content as content; only trailing whitespace is left out,
//   as the caller ends the body with line breaks of its own.
#include "html/tag_scanner.h"

#include "common/string_helpers.h"

namespace {

const std::size_t kNone = std::string_view::npos;
const std::string_view kCommentOpener = "<!--";

}  // namespace

void TagScanner::Run(std::string_view body, TokenSink* tokenSink)
{
    sink = tokenSink;
    html = body;
    state = InText;
    std::size_t at = 0;
    while (at < html.size()) {
        switch (state) {
        case InText:
            at = StepInText(at);
            break;
        case InTag:
            at = StepInTag(at);
            break;
        case InComment:
            at = StepInComment(at);
            break;
        case InContent:
            at = StepInContent(at);
            break;
        }
    }
    html = std::string_view();
    sink = nullptr;
}

std::size_t TagScanner::StepInText(std::size_t at)
{
    const std::size_t opener = html.find('<', at);
    if (opener == kNone) {
        std::size_t end = html.size();
        while (end > at && IsHtmlSpace(html[end - 1])) {
            --end;
        }
        if (end > at) {
            Deliver(KindText, at, end);
        }
        return html.size();
    }
    if (opener > at) {
        Deliver(KindText, at, opener);
    }
    state = InTag;
    return opener;
}

// Quotes mean nothing here: the first ">" ends the tag. Only "<!--" opening the tag
// directly makes it a comment.
std::size_t TagScanner::StepInTag(std::size_t at)
{
    if (OpensComment(at)) {
        state = InComment;
        return at;
    }
    const std::size_t closer = html.find('>', at + 1);
    return closer == kNone ? DeliverRest(at, KindText) : DeliverTag(at, closer);
}

// Every tag passes here, so the four characters are compared in place.
bool TagScanner::OpensComment(std::size_t at) const
{
    return html.size() - at >= kCommentOpener.size() && html[at] == '<' && html[at + 1] == '!' &&
           html[at + 2] == '-' && html[at + 3] == '-';
}

// The opener's two dashes count for the closer, so "<!-->" and "<!--->" are complete.
std::size_t TagScanner::StepInComment(std::size_t at)
{
    for (std::size_t closer = html.find('>', at + kCommentOpener.size()); closer != kNone;
         closer = html.find('>', closer + 1)) {
        if (html[closer - 1] == '-' && html[closer - 2] == '-') {
            return DeliverTag(at, closer);
        }
    }
    return DeliverRest(at, KindText);
}

// Content ends at the first "</", even one inside a string literal of a script; it may
// be empty.
std::size_t TagScanner::StepInContent(std::size_t at)
{
    const std::size_t endTag = html.find("</", at);
    if (endTag == kNone) {
        return DeliverRest(at, KindContent);
    }
    Deliver(KindContent, at, endTag);
    state = InTag;
    return endTag;
}

// Only a tag token carries a parsed tag; the next token gets a fresh one.
std::size_t TagScanner::DeliverTag(std::size_t from, std::size_t closer)
{
    token.tag.Parse(html.substr(from, closer + 1 - from));
    Deliver(KindTag, from, closer + 1);
    state = token.tag.IsScriptOrStyle() ? InContent : InText;
    token.tag.Clear();
    return closer + 1;
}

std::size_t TagScanner::DeliverRest(std::size_t from, TokenKind kind)
{
    Deliver(kind, from, html.size());
    return html.size();
}

void TagScanner::Deliver(TokenKind kind, std::size_t from, std::size_t to)
{
    token.kind = kind;
    token.text = html.substr(from, to - from);
    if (sink != nullptr) {
        sink->OnToken(token);
    }
}
