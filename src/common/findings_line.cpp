#include "common/findings_line.h"

namespace {

constexpr std::size_t kNumberWidth = 8;

// Appends to a fixed buffer, keeping room for the NUL and dropping what does not fit.
class LineBuilder {
public:
    LineBuilder(char* line, std::size_t room) : line(line), room(room) {}
    ~LineBuilder()
    {
        if (room > 0) {
            line[used] = '\0';
        }
    }
    LineBuilder(const LineBuilder&) = delete;
    LineBuilder& operator=(const LineBuilder&) = delete;

    void Put(char character)
    {
        if (used + 1 < room) {
            line[used++] = character;
        }
    }

    void Put(const char* text)
    {
        for (; *text != '\0'; ++text) {
            Put(*text);
        }
    }

private:
    char* line;
    std::size_t room;
    std::size_t used = 0;
};

}  // namespace

void FormatFindingsLine(char* line, std::size_t room, int number, const char* analyzerName, const char* text)
{
    char digits[12];
    std::size_t count = 0;
    unsigned int magnitude = number < 0 ? 0u - static_cast<unsigned int>(number) : static_cast<unsigned int>(number);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (number < 0) {
        digits[count++] = '-';
    }
    LineBuilder builder(line, room);
    for (std::size_t padding = count; padding < kNumberWidth; ++padding) {
        builder.Put(' ');
    }
    while (count > 0) {
        builder.Put(digits[--count]);
    }
    builder.Put(' ');
    builder.Put(analyzerName);
    builder.Put(" - '");
    builder.Put(text);
    builder.Put("'\n");
}
