// The scanner's state machine. Conventions of this file:
// - one handler per state, in the order InSpace, InText, InTag, InComment, InContent;
// - a handler delivers the finished token first, then resets the buffer, then moves on;
// - the end tests look only at the last few characters of the buffer, so each character
//   costs constant time apart from the buffer's growth.
#include "html/tag_scanner.h"

#include <streambuf>

#include "common/string_helpers.h"

void TagScanner::Run(std::istream& in, TokenSink* tokenSink)
{
    sink = tokenSink;
    std::streambuf* source = in.rdbuf();
    if (source != nullptr) {
        char chunk[4096];
        for (std::streamsize count; (count = source->sgetn(chunk, sizeof chunk)) > 0;) {
            for (std::streamsize index = 0; index < count; ++index) {
                Step(chunk[index]);
            }
        }
    }
    DeliverHeld();
    sink = nullptr;
}

void TagScanner::Step(char character)
{
    switch (state) {
    case InSpace:
        StepInSpace(character);
        break;
    case InText:
        StepInText(character);
        break;
    case InTag:
        StepInTag(character);
        break;
    case InComment:
        StepInComment(character);
        break;
    case InContent:
        StepInContent(character);
        break;
    }
}

void TagScanner::StepInSpace(char character)
{
    if (IsHtmlSpace(character)) {
        buffer += character;
        return;
    }
    if (!buffer.empty()) {
        Deliver(KindSpace);
    }
    StartToken(character);
}

void TagScanner::StepInText(char character)
{
    if (!IsHtmlSpace(character) && character != '<') {
        buffer += character;
        return;
    }
    Deliver(KindText);
    StartToken(character);
}

// Quotes mean nothing here: the first ">" ends the tag. Only "<!--" opening the tag
// directly makes it a comment.
void TagScanner::StepInTag(char character)
{
    buffer += character;
    if (character == '>') {
        DeliverTag();
    } else if (buffer.size() == 4 && buffer == "<!--") {
        state = InComment;
    }
}

// The opener's two dashes count for the closer, so "<!-->" and "<!--->" are complete.
void TagScanner::StepInComment(char character)
{
    buffer += character;
    if (character == '>' && EndsWith(buffer, "-->")) {
        DeliverTag();
    }
}

// Content ends at the first "</", even one inside a string literal of a script.
void TagScanner::StepInContent(char character)
{
    buffer += character;
    if (character == '/' && EndsWith(buffer, "</")) {
        buffer.resize(buffer.size() - 2);
        Deliver(KindContent);
        buffer = "</";
        state = InTag;
    }
}

void TagScanner::StartToken(char character)
{
    buffer.assign(1, character);
    if (character == '<') {
        state = InTag;
    } else if (IsHtmlSpace(character)) {
        state = InSpace;
    } else {
        state = InText;
    }
}

// Nothing of the mail is lost at the end: a word, an unclosed tag or comment go on as
// text and script or style content as content. A whitespace run is left out, as the
// caller ends the body with line breaks of its own.
void TagScanner::DeliverHeld()
{
    if (buffer.empty()) {
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
    buffer.clear();
}

// The buffer's text moves into the token and the token's old storage becomes the next
// buffer, so no text is copied and no string is allocated once capacities have settled.
void TagScanner::Deliver(TokenKind kind)
{
    plainToken.kind = kind;
    plainToken.text.swap(buffer);
    if (sink != nullptr) {
        sink->OnToken(plainToken);
    }
    buffer.clear();
}

void TagScanner::DeliverTag()
{
    tagToken.text.swap(buffer);
    tagToken.tag.Parse(tagToken.text);
    if (sink != nullptr) {
        sink->OnToken(tagToken);
    }
    buffer.clear();
    state = tagToken.tag.IsScriptOrStyle() ? InContent : InSpace;
}
