#ifndef TAGSTRIP_CLI_JSON_LINE_H
#define TAGSTRIP_CLI_JSON_LINE_H

#include <string>
#include <vector>

// One JSON object built member by member, for output as a single line. Bytes from 0x80
// up pass through as they are, so UTF-8 names stay readable.
class JsonObject {
public:
    JsonObject& AddString(const std::string& key, const std::string& value);
    JsonObject& AddInteger(const std::string& key, long long value);
    JsonObject& AddNumber(const std::string& key, double value);
    JsonObject& AddBool(const std::string& key, bool value);
    JsonObject& AddStrings(const std::string& key, const std::vector<std::string>& values);
    JsonObject& AddObject(const std::string& key, const JsonObject& value);

    std::string Text() const { return "{" + members + "}"; }

private:
    JsonObject& AddRaw(const std::string& key, const std::string& json);

    std::string members;
};

std::string JsonQuoted(const std::string& text);

#endif
