#include "remote/pixel_rules.h"

#include <cctype>
#include <cstdlib>

namespace {

bool IsBlank(char character)
{
    return std::isspace(static_cast<unsigned char>(character)) != 0;
}

std::string Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    std::string lowered(text);
    for (char& character : lowered) {
        character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
    }
    return lowered;
}

std::string WithoutComments(std::string_view style)
{
    std::string kept;
    std::size_t at = 0;
    while (at < style.size()) {
        const std::size_t open = style.find("/*", at);
        kept.append(style.substr(at, open == std::string_view::npos ? std::string_view::npos : open - at));
        if (open == std::string_view::npos) {
            break;
        }
        const std::size_t close = style.find("*/", open + 2);
        at = close == std::string_view::npos ? style.size() : close + 2;
    }
    return kept;
}

// A length of at most one pixel: a number alone or in px, or zero in any unit. Text
// that is no number at all (auto, 50%) is no pixel.
bool IsAtMostOnePixel(const std::string& value)
{
    const char* text = value.c_str();
    char* end = nullptr;
    const double number = std::strtod(text, &end);
    if (end == text) {
        return false;
    }
    const std::string unit = Trimmed(end);
    if (number == 0) {
        return true;
    }
    return number > 0 && number <= 1 && (unit.empty() || unit == "px");
}

bool IsZero(const std::string& value)
{
    const char* text = value.c_str();
    char* end = nullptr;
    const double number = std::strtod(text, &end);
    return end != text && number <= 0;
}

enum HidingTest {
    TestAtMostOnePixel,
    TestZero,
    TestEquals
};

struct HidingDeclaration {
    const char* property;
    HidingTest test;
    const char* value;  // for TestEquals
};

const HidingDeclaration kHidingDeclarations[] = {
    {"width", TestAtMostOnePixel, nullptr},
    {"height", TestAtMostOnePixel, nullptr},
    {"max-width", TestZero, nullptr},
    {"max-height", TestZero, nullptr},
    {"opacity", TestZero, nullptr},
    {"display", TestEquals, "none"},
    {"visibility", TestEquals, "hidden"},
    {"visibility", TestEquals, "collapse"},
};

bool Hides(const HidingDeclaration& rule, const CssDeclaration& declaration)
{
    if (declaration.first != rule.property) {
        return false;
    }
    switch (rule.test) {
    case TestAtMostOnePixel:
        return IsAtMostOnePixel(declaration.second);
    case TestZero:
        return IsZero(declaration.second);
    case TestEquals:
        return declaration.second == rule.value;
    }
    return false;
}

}  // namespace

std::vector<CssDeclaration> StyleDeclarations(std::string_view style)
{
    const std::string text = WithoutComments(style);
    std::vector<CssDeclaration> declarations;
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t end = text.find(';', at);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string_view declaration = std::string_view(text).substr(at, end - at);
        const std::size_t colon = declaration.find(':');
        if (colon != std::string_view::npos) {
            std::string value = Trimmed(declaration.substr(colon + 1));
            const std::size_t important = value.find("!important");
            if (important != std::string::npos) {
                value = Trimmed(std::string_view(value).substr(0, important));
            }
            declarations.emplace_back(Trimmed(declaration.substr(0, colon)), value);
        }
        at = end + 1;
    }
    return declarations;
}

bool IsHiddenImage(const std::string* width, const std::string* height, std::string_view style)
{
    if ((width != nullptr && IsAtMostOnePixel(Trimmed(*width))) ||
        (height != nullptr && IsAtMostOnePixel(Trimmed(*height)))) {
        return true;
    }
    for (const CssDeclaration& declaration : StyleDeclarations(style)) {
        for (const HidingDeclaration& rule : kHidingDeclarations) {
            if (Hides(rule, declaration)) {
                return true;
            }
        }
    }
    return false;
}
