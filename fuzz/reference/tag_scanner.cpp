// The scanner's state machine. Conventions of this file:
// - one handler per state, in the order InSpace, InText, InTag, InComment, InContent;
// - a handler is given the characters not yet read and takes as many as belong to the
//   same step (a run of blanks, of word characters, a tag up to its ">"), returning
//   where it stopped; character by character the result would be the same;
// - the characters of the token being collected are held in token.text, the buffer;
// - a handler delivers the finished token first, then resets the buffer, then moves on;
// - the end tests look only at the last few characters of the buffer, so each character
//   costs constant time apart from the buffer's growth.
#include "fuzz/reference/tag_scanner.h"

#include <algorithm>
#include <cstring>
#include <streambuf>

#include "fuzz/reference/string_helpers.h"

namespace reference {

namespace {

bool EndsWord(char character)
{
    return IsHtmlSpace(character) || character == '<';
}

}  // namespace

void TagScanner::Run(std::istream& in, TokenSink* tokenSink)
{
    sink = tokenSink;
    std::streambuf* source = in.rdbuf();
    if (source != nullptr) {
        char chunk[4096];
        std::streamsize count;
        while ((count = source->sgetn(chunk, sizeof chunk)) > 0) {
            for (const char* at = chunk; at < chunk + count;) {
                at = Step(at, chunk + count);
            }
        }
    }
    DeliverHeld();
    sink = nullptr;
}

const char* TagScanner::Step(const char* at, const char* end)
{
    switch (state) {
    case InSpace:
        return StepInSpace(at, end);
    case InText:
        return StepInText(at, end);
    case InTag:
        return StepInTag(at, end);
    case InComment:
        return StepInComment(at, end);
    case InContent:
        return StepInContent(at, end);
    }
    return end;
}

const char* TagScanner::StepInSpace(const char* at, const char* end)
{
    if (IsHtmlSpace(*at)) {
        return Collect(at, std::find_if_not(at, end, IsHtmlSpace));
    }
    if (!token.text.empty()) {
        Deliver(KindSpace);
    }
    return StartToken(at);
}

const char* TagScanner::StepInText(const char* at, const char* end)
{
    if (!EndsWord(*at)) {
        return Collect(at, std::find_if(at, end, EndsWord));
    }
    Deliver(KindText);
    return StartToken(at);
}

// Quotes mean nothing here: the first ">" ends the tag. Only "<!--" opening the tag
// directly makes it a comment, so past four characters only the ">" matters.
const char* TagScanner::StepInTag(const char* at, const char* end)
{
    if (token.text.size() >= 4) {
        return CollectTagThrough(at, end, ">");
    }
    token.text += *at;
    if (*at == '>') {
        DeliverTag();
    } else if (token.text == "<!--") {
        state = InComment;
    }
    return at + 1;
}

// The opener's two dashes count for the closer, so "<!-->" and "<!--->" are complete.
const char* TagScanner::StepInComment(const char* at, const char* end)
{
    return CollectTagThrough(at, end, "-->");
}

// Content ends at the first "</", even one inside a string literal of a script.
const char* TagScanner::StepInContent(const char* at, const char* end)
{
    const char* slash = CollectThrough(at, end, '/');
    if (slash == nullptr) {
        return end;
    }
    if (EndsWith(token.text, "</")) {
        token.text.resize(token.text.size() - 2);
        Deliver(KindContent);
        token.text = "</";
        state = InTag;
    }
    return slash + 1;
}

// Takes characters up to the next ">" and delivers the tag once its text ends in closer.
const char* TagScanner::CollectTagThrough(const char* at, const char* end, const char* closer)
{
    const char* found = CollectThrough(at, end, '>');
    if (found == nullptr) {
        return end;
    }
    if (EndsWith(token.text, closer)) {
        DeliverTag();
    }
    return found + 1;
}

const char* TagScanner::Collect(const char* from, const char* to)
{
    token.text.append(from, to);
    return to;
}

// Appends up to and including the first stop character; without one, everything.
// Returns where the stop character stood, or null.
const char* TagScanner::CollectThrough(const char* at, const char* end, char stop)
{
    const auto* found = static_cast<const char*>(std::memchr(at, stop, static_cast<std::size_t>(end - at)));
    Collect(at, found != nullptr ? found + 1 : end);
    return found;
}

// The buffer is empty here: whatever it held has just been delivered.
const char* TagScanner::StartToken(const char* at)
{
    const char character = *at;
    token.text += character;
    if (character == '<') {
        state = InTag;
    } else if (IsHtmlSpace(character)) {
        state = InSpace;
    } else {
        state = InText;
    }
    return at + 1;
}

// Nothing of the mail is lost at the end: a word, an unclosed tag or comment go on as
// text and script or style content as content. A whitespace run is left out, as the
// caller ends the body with line breaks of its own.
void TagScanner::DeliverHeld()
{
    if (token.text.empty()) {
        return;
    }
    switch (state) {
    case InSpace:
        break;
    case InText:
    case InTag:
    case InComment:
        Deliver(KindText);
        break;
    case InContent:
        Deliver(KindContent);
        break;
    }
    token.text.clear();
}

void TagScanner::Deliver(TokenKind kind)
{
    token.kind = kind;
    if (sink != nullptr) {
        sink->OnToken(token);
    }
    token.text.clear();
}

// Only a tag token carries a parsed tag; the next token gets a fresh one.
void TagScanner::DeliverTag()
{
    token.tag.Parse(token.text);
    Deliver(KindTag);
    state = token.tag.IsScriptOrStyle() ? InContent : InSpace;
    token.tag.Clear();
}

}  // namespace reference
