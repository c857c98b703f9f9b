#include "cli/json_line.h"

#include <cstdio>

std::string JsonQuoted(const std::string& text)
{
    std::string quoted = "\"";
    for (char character : text) {
        unsigned char byte = static_cast<unsigned char>(character);
        if (character == '"' || character == '\\') {
            quoted += '\\';
            quoted += character;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            quoted += escape;
        } else {
            quoted += character;
        }
    }
    return quoted + "\"";
}

JsonObject& JsonObject::AddRaw(const std::string& key, const std::string& json)
{
    members += (members.empty() ? "" : ",") + JsonQuoted(key) + ":" + json;
    return *this;
}

JsonObject& JsonObject::AddString(const std::string& key, const std::string& value)
{
    return AddRaw(key, JsonQuoted(value));
}

JsonObject& JsonObject::AddInteger(const std::string& key, long long value)
{
    return AddRaw(key, std::to_string(value));
}

JsonObject& JsonObject::AddNumber(const std::string& key, double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return AddRaw(key, text);
}

JsonObject& JsonObject::AddBool(const std::string& key, bool value)
{
    return AddRaw(key, value ? "true" : "false");
}

JsonObject& JsonObject::AddStrings(const std::string& key, const std::vector<std::string>& values)
{
    std::string array;
    for (const std::string& value : values) {
        array += (array.empty() ? "" : ",") + JsonQuoted(value);
    }
    return AddRaw(key, "[" + array + "]");
}

JsonObject& JsonObject::AddObject(const std::string& key, const JsonObject& value)
{
    return AddRaw(key, value.Text());
}
