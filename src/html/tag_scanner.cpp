// The scanner's state machine. Conventions of this file:
// - one handler per state, in the order InSpace, InText, InTag, InComment, InContent;
// - the characters of the token being collected are held in token.text, the buffer;
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
        std::streamsize count;
        while ((count = source->sgetn(chunk, sizeof chunk)) > 0) {
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
        token.text += character;
        return;
    }
    if (!token.text.empty()) {
        Deliver(KindSpace);
    }
    StartToken(character);
}

void TagScanner::StepInText(char character)
{
    if (!IsHtmlSpace(character) && character != '<') {
        token.text += character;
        return;
    }
    Deliver(KindText);
    StartToken(character);
}

// Quotes mean nothing here: the first ">" ends the tag. Only "<!--" opening the tag
// directly makes it a comment.
void TagScanner::StepInTag(char character)
{
    token.text += character;
    if (character == '>') {
        DeliverTag();
    } else if (token.text.size() == 4 && token.text == "<!--") {
        state = InComment;
    }
}

// The opener's two dashes count for the closer, so "<!-->" and "<!--->" are complete.
void TagScanner::StepInComment(char character)
{
    token.text += character;
    if (character == '>' && EndsWith(token.text, "-->")) {
        DeliverTag();
    }
}

// Content ends at the first "</", even one inside a string literal of a script.
void TagScanner::StepInContent(char character)
{
    token.text += character;
    if (character == '/' && EndsWith(token.text, "</")) {
        token.text.resize(token.text.size() - 2);
        Deliver(KindContent);
        token.text = "</";
        state = InTag;
    }
}

// The buffer is empty here: whatever it held has just been delivered.
void TagScanner::StartToken(char character)
{
    token.text += character;
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
