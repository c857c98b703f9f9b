#include "html/tag.h"
#include "html/token.h"

namespace {

void Write(std::ostream& out, const std::string& text)
{
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void WriteAttribute(std::ostream& out, const std::string& name, const std::string& value)
{
    out.put(' ');
    Write(out, name);
    if (!value.empty()) {
        out.put('=');
        WriteQuotedValue(out, value);
    }
}

}  // namespace

// Unformatted writes throughout: a field width left on the stream must not pad the mail.
std::ostream& operator<<(std::ostream& out, const Token& token)
{
    if (token.kind == KindTag) {
        return out << token.tag;
    }
    Write(out, token.text);
    return out;
}

std::ostream& operator<<(std::ostream& out, const Tag& tag)
{
    if (tag.name == "!--") {
        Write(out, tag.attributeText);
        return out;
    }
    out.put('<');
    Write(out, tag.name);
    for (const auto& attribute : tag.attributes) {
        WriteAttribute(out, attribute.first, attribute.second);
    }
    out.put('>');
    return out;
}

// A double quote left bare would end the value early for the next reader of the mail.
void WriteQuotedValue(std::ostream& out, const std::string& value)
{
    out.put('"');
    std::size_t written = 0;
    for (std::size_t quote = value.find('"'); quote != std::string::npos;
         quote = value.find('"', written)) {
        out.write(value.data() + written, static_cast<std::streamsize>(quote - written));
        out.write("&quot;", 6);
        written = quote + 1;
    }
    out.write(value.data() + written, static_cast<std::streamsize>(value.size() - written));
    out.put('"');
}
