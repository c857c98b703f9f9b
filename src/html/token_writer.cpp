#include "html/token_writer.h"

namespace {

void WriteAttribute(OutputBuffer& out, const Attribute& attribute)
{
    out.Append(' ');
    out.Append(attribute.name);
    if (!attribute.value.empty()) {
        out.Append('=');
        WriteQuotedValue(out, attribute.value);
    }
}

}  // namespace

void WriteToken(OutputBuffer& out, const Token& token)
{
    if (token.kind == KindTag) {
        WriteTag(out, token.tag);
    } else {
        out.Append(token.text);
    }
}

void WriteTag(OutputBuffer& out, const Tag& tag)
{
    if (tag.code == CodeComment) {
        out.Append(tag.attributeText);
        return;
    }
    out.Append('<');
    out.Append(tag.name);
    for (const Attribute& attribute : tag.Attributes()) {
        WriteAttribute(out, attribute);
    }
    out.Append('>');
}

// A double quote left bare would end the value early for the next reader of the mail.
void WriteQuotedValue(OutputBuffer& out, std::string_view value)
{
    out.Append('"');
    std::size_t written = 0;
    for (std::size_t quote = value.find('"'); quote != std::string_view::npos;
         quote = value.find('"', written)) {
        out.Append(value.data() + written, quote - written);
        out.Append("&quot;", 6);
        written = quote + 1;
    }
    out.Append(value.data() + written, value.size() - written);
    out.Append('"');
}
