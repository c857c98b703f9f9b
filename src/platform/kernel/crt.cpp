#include <algorithm>

#include "platform/kernel/windows.h"

namespace {

unsigned char FoldAsciiCase(unsigned char character)
{
    return character >= 'A' && character <= 'Z' ? static_cast<unsigned char>(character - 'A' + 'a')
                                                 : character;
}

}  // namespace

// As the runtime does it: a minus sign only in radix 10; other radices show the
// two's-complement bits. An unsupported radix gives an empty string.
char* _itoa(int value, char* buffer, int radix)
{
    if (radix < 2 || radix > 36) {
        buffer[0] = '\0';
        return buffer;
    }
    const bool negative = radix == 10 && value < 0;
    unsigned magnitude = negative ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    char* end = buffer;
    do {
        *end++ = "0123456789abcdefghijklmnopqrstuvwxyz"[magnitude % static_cast<unsigned>(radix)];
        magnitude /= static_cast<unsigned>(radix);
    } while (magnitude != 0);
    if (negative) {
        *end++ = '-';
    }
    *end = '\0';
    std::reverse(buffer, end);
    return buffer;
}

int _strnicmp(const char* left, const char* right, std::size_t count)
{
    for (std::size_t index = 0; index < count; ++index) {
        const int leftFolded = FoldAsciiCase(static_cast<unsigned char>(left[index]));
        const int rightFolded = FoldAsciiCase(static_cast<unsigned char>(right[index]));
        if (leftFolded != rightFolded || leftFolded == '\0') {
            return leftFolded - rightFolded;
        }
    }
    return 0;
}

LPSTR lstrcpynA(LPSTR destination, LPCSTR source, int maxLength)
{
    if (destination == nullptr || source == nullptr || maxLength <= 0) {
        return destination;
    }
    int index = 0;
    for (; index < maxLength - 1 && source[index] != '\0'; ++index) {
        destination[index] = source[index];
    }
    destination[index] = '\0';
    return destination;
}
