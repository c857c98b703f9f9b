#include "html/tag.h"
#include "html/token.h"

namespace {

void WriteAttribute(std::ostream& out, const Attribute& attribute)
{
    WriteByte(out, ' ');
    WriteBytes(out, attribute.name);
    if (!attribute.value.empty()) {
        WriteByte(out, '=');
        WriteQuotedValue(out, attribute.value);
    }
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const Token& token)
{
    if (token.kind == KindTag) {
        return out << token.tag;
    }
    WriteBytes(out, token.text);
    return out;
}

std::ostream& operator<<(std::ostream& out, const Tag& tag)
{
    if (tag.code == CodeComment) {
        WriteBytes(out, tag.attributeText);
        return out;
    }
    WriteByte(out, '<');
    WriteBytes(out, tag.name);
    for (const Attribute& attribute : tag.Attributes()) {
        WriteAttribute(out, attribute);
    }
    WriteByte(out, '>');
    return out;
}

// A double quote left bare would end the value early for the next reader of the mail.
void WriteQuotedValue(std::ostream& out, std::string_view value)
{
    WriteByte(out, '"');
    std::size_t written = 0;
    for (std::size_t quote = value.find('"'); quote != std::string_view::npos;
         quote = value.find('"', written)) {
        WriteBytes(out, value.data() + written, quote - written);
        WriteBytes(out, "&quot;", 6);
        written = quote + 1;
    }
    WriteBytes(out, value.data() + written, value.size() - written);
    WriteByte(out, '"');
}

// Most names, values and words are short; byte by byte they cost less than one sputn.
void WriteBytes(std::ostream& out, const char* data, std::size_t size)
{
    if (!out.good()) {
        return;
    }
    std::streambuf& buffer = *out.rdbuf();
    const std::streamsize count = static_cast<std::streamsize>(size);
    const std::streamsize kShort = 16;
    std::streamsize written = 0;
    if (count > kShort) {
        written = buffer.sputn(data, count);
    } else {
        while (written < count && buffer.sputc(data[written]) != std::char_traits<char>::eof()) {
            ++written;
        }
    }
    if (written != count) {
        out.setstate(std::ios::badbit);
    }
}
