// A small reader of CSS, only as far as finding fetches needs: comments, strings, escapes,
// identifiers followed by "(" and at-keywords, as CSS's own tokenizer reads them.
#include "remote/css_loads.h"

#include <cctype>

namespace {

bool IsCssSpace(char character)
{
    return character == ' ' || character == '\t' || character == '\n' || character == '\r' || character == '\f';
}

bool IsNameCharacter(char character)
{
    const unsigned char byte = static_cast<unsigned char>(character);
    return std::isalnum(byte) != 0 || character == '-' || character == '_' || byte >= 0x80;
}

bool IsHex(char character)
{
    return std::isxdigit(static_cast<unsigned char>(character)) != 0;
}

int HexValue(char digit)
{
    return std::isdigit(static_cast<unsigned char>(digit)) != 0 ? digit - '0' : (digit | 0x20) - 'a' + 10;
}

std::string Lowered(std::string text)
{
    for (char& character : text) {
        character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
    }
    return text;
}

class CssReader {
public:
    explicit CssReader(std::string_view css) : css(css) {}

    std::vector<CssLoad> ReadAll();

private:
    bool AtEnd() const { return at >= css.size(); }
    bool StartsEscape(std::size_t position) const
    {
        return position + 1 < css.size() && css[position] == '\\' && css[position + 1] != '\n';
    }
    char ReadEscape();
    std::string ReadName();
    std::string ReadString();
    void SkipComment();
    void SkipSpaces();
    bool AtComment() const { return at + 1 < css.size() && css[at] == '/' && css[at + 1] == '*'; }
    std::string ReadUrlArgument();
    void ReadFunctionBody(CssLoad& load, int depth);
    void ReadImport(std::size_t begin);
    void ReadFunction(const std::string& name, std::size_t begin);

    std::string_view css;
    std::size_t at = 0;
    std::vector<CssLoad> loads;
};

// "\" then up to six hex digits and one blank, or any one character.
char ReadEscapeAt(std::string_view css, std::size_t& at)
{
    ++at;
    if (at >= css.size()) {
        return '\\';
    }
    if (!IsHex(css[at])) {
        return css[at++];
    }
    long code = 0;
    const std::size_t start = at;
    while (at < css.size() && at - start < 6 && IsHex(css[at])) {
        code = code * 16 + HexValue(css[at]);
        ++at;
    }
    if (at < css.size() && IsCssSpace(css[at])) {
        ++at;
    }
    return code > 0 && code <= 0xFF ? static_cast<char>(code) : '?';
}

char CssReader::ReadEscape()
{
    return ReadEscapeAt(css, at);
}

std::string CssReader::ReadName()
{
    std::string name;
    while (!AtEnd()) {
        if (StartsEscape(at)) {
            name += ReadEscape();
        } else if (IsNameCharacter(css[at])) {
            name += css[at++];
        } else {
            break;
        }
    }
    return name;
}

// At the opening quote; a string also ends unclosed at a line end, as CSS has it.
std::string CssReader::ReadString()
{
    const char quote = css[at++];
    std::string text;
    while (!AtEnd() && css[at] != quote && css[at] != '\n') {
        if (css[at] == '\\' && at + 1 < css.size() && css[at + 1] == '\n') {
            at += 2;
        } else if (StartsEscape(at)) {
            text += ReadEscape();
        } else {
            text += css[at++];
        }
    }
    if (!AtEnd() && css[at] == quote) {
        ++at;
    }
    return text;
}

void CssReader::SkipComment()
{
    const std::size_t close = css.find("*/", at + 2);
    at = close == std::string_view::npos ? css.size() : close + 2;
}

void CssReader::SkipSpaces()
{
    while (!AtEnd() && (IsCssSpace(css[at]) || AtComment())) {
        if (AtComment()) {
            SkipComment();
        } else {
            ++at;
        }
    }
}

// After "url(": a quoted string, or everything up to ")" with escapes, trimmed; stops
// at the ")".
std::string CssReader::ReadUrlArgument()
{
    SkipSpaces();
    if (!AtEnd() && (css[at] == '"' || css[at] == '\'')) {
        std::string address = ReadString();
        while (!AtEnd() && css[at] != ')') {
            ++at;
        }
        return address;
    }
    std::string address;
    while (!AtEnd() && css[at] != ')') {
        address += StartsEscape(at) ? ReadEscape() : css[at++];
    }
    while (!address.empty() && IsCssSpace(address.back())) {
        address.pop_back();
    }
    return address;
}

// Reads to the ")" that closes a function, taking its strings and url()s as addresses.
void CssReader::ReadFunctionBody(CssLoad& load, int depth)
{
    while (!AtEnd()) {
        const char character = css[at];
        if (AtComment()) {
            SkipComment();
        } else if (character == '"' || character == '\'') {
            load.addresses.push_back(ReadString());
        } else if (character == ')') {
            ++at;
            if (--depth == 0) {
                return;
            }
        } else if (character == '(') {
            ++depth;
            ++at;
        } else if (IsNameCharacter(character) || StartsEscape(at)) {
            const std::string name = Lowered(ReadName());
            if (name == "url" && !AtEnd() && css[at] == '(') {
                ++at;
                load.addresses.push_back(ReadUrlArgument());
                if (!AtEnd()) {
                    ++at;
                }
            }
        } else {
            ++at;
        }
    }
}

void CssReader::ReadFunction(const std::string& name, std::size_t begin)
{
    ++at;  // the "("
    if (name == "url") {
        CssLoad load{CssUrl, begin, 0, {ReadUrlArgument()}};
        if (!AtEnd()) {
            ++at;
        }
        load.end = at;
        loads.push_back(load);
    } else if (name == "image-set" || name == "-webkit-image-set") {
        CssLoad load{CssImageSet, begin, 0, {}};
        ReadFunctionBody(load, 1);
        load.end = at;
        loads.push_back(load);
    }
}

// From "@import" to its ";" (outside strings and brackets) or the end of the text.
void CssReader::ReadImport(std::size_t begin)
{
    CssLoad load{CssImport, begin, 0, {}};
    int depth = 0;
    while (!AtEnd()) {
        const char character = css[at];
        if (AtComment()) {
            SkipComment();
        } else if (character == '"' || character == '\'') {
            load.addresses.push_back(ReadString());
        } else if (character == ';' && depth == 0) {
            ++at;
            break;
        } else if (IsNameCharacter(character) || StartsEscape(at)) {
            const std::string name = Lowered(ReadName());
            if (name == "url" && !AtEnd() && css[at] == '(') {
                ++at;
                load.addresses.push_back(ReadUrlArgument());
                if (!AtEnd()) {
                    ++at;
                }
            }
        } else {
            depth += character == '(' ? 1 : character == ')' && depth > 0 ? -1 : 0;
            ++at;
        }
    }
    load.end = at;
    loads.push_back(load);
}

std::vector<CssLoad> CssReader::ReadAll()
{
    while (!AtEnd()) {
        const char character = css[at];
        const std::size_t begin = at;
        if (AtComment()) {
            SkipComment();
        } else if (character == '"' || character == '\'') {
            ReadString();
        } else if (character == '@') {
            ++at;
            if (Lowered(ReadName()) == "import") {
                ReadImport(begin);
            }
        } else if (IsNameCharacter(character) || StartsEscape(at)) {
            const std::string name = Lowered(ReadName());
            if (!AtEnd() && css[at] == '(') {
                ReadFunction(name, begin);
            }
        } else {
            ++at;
        }
    }
    return std::move(loads);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t index = 0; index < prefix.size(); ++index) {
        if (std::tolower(static_cast<unsigned char>(text[index])) != prefix[index]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::vector<CssLoad> FindCssLoads(std::string_view css)
{
    return CssReader(css).ReadAll();
}

std::string WithoutCssLoads(std::string_view css, const std::vector<CssLoad>& loads)
{
    std::string result;
    std::size_t copied = 0;
    for (const CssLoad& load : loads) {
        result.append(css.substr(copied, load.begin - copied));
        if (load.kind != CssImport) {
            result += "none";
        }
        copied = load.end;
    }
    result.append(css.substr(copied));
    return result;
}

bool IsRemoteAddress(std::string_view address)
{
    while (!address.empty() && (IsCssSpace(address.front()) || static_cast<unsigned char>(address.front()) <= ' ')) {
        address.remove_prefix(1);
    }
    static const std::string_view kLocalSchemes[] = {"data:", "cid:", "mid:", "about:", "javascript:", "#"};
    if (address.empty()) {
        return false;
    }
    for (std::string_view scheme : kLocalSchemes) {
        if (StartsWithNoCase(address, scheme)) {
            return false;
        }
    }
    return true;
}
