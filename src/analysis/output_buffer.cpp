#include "analysis/output_buffer.h"

#include <climits>
#include <cstring>

namespace {

constexpr std::size_t kFirstCapacity = 64 * 1024;

}  // namespace

std::string_view OutputBuffer::Text() const
{
    return std::string_view(pbase(), static_cast<std::size_t>(pptr() - pbase()));
}

OutputBuffer::int_type OutputBuffer::overflow(int_type character)
{
    if (traits_type::eq_int_type(character, traits_type::eof())) {
        return traits_type::not_eof(character);
    }
    MakeRoom(1);
    *pptr() = traits_type::to_char_type(character);
    Advance(1);
    return character;
}

std::streamsize OutputBuffer::xsputn(const char* bytes, std::streamsize count)
{
    if (count <= 0) {
        return 0;
    }
    const std::size_t size = static_cast<std::size_t>(count);
    MakeRoom(size);
    std::memcpy(pptr(), bytes, size);
    Advance(size);
    return count;
}

// Doubles, so that writing a message a few bytes at a time stays linear.
void OutputBuffer::MakeRoom(std::size_t count)
{
    const std::size_t used = static_cast<std::size_t>(pptr() - pbase());
    const std::size_t capacity = static_cast<std::size_t>(epptr() - pbase());
    if (capacity - used >= count) {
        return;
    }
    std::size_t grown = capacity < kFirstCapacity ? kFirstCapacity : capacity * 2;
    if (grown < used + count) {
        grown = used + count;
    }
    std::unique_ptr<char[]> larger(new char[grown]);
    if (used > 0) {
        std::memcpy(larger.get(), pbase(), used);
    }
    storage = std::move(larger);
    setp(storage.get(), storage.get() + grown);
    Advance(used);
}

// pbump takes an int; a message may come near that.
void OutputBuffer::Advance(std::size_t count)
{
    while (count > 0) {
        const int step = count > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(count);
        pbump(step);
        count -= static_cast<std::size_t>(step);
    }
}
