#include "common/output_buffer.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr std::size_t kFirstCapacity = 64 * 1024;

}  // namespace

OutputBuffer::~OutputBuffer()
{
    std::free(storage);
}

void OutputBuffer::Reserve(std::size_t size)
{
    if (size > static_cast<std::size_t>(epptr() - pbase())) {
        Resize(size);
    }
}

std::string_view OutputBuffer::Text() const
{
    return std::string_view(pbase(), Used());
}

void OutputBuffer::Release()
{
    std::free(storage);
    storage = nullptr;
    setp(nullptr, nullptr);
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

void OutputBuffer::Resize(std::size_t capacity)
{
    const std::size_t used = Used();
    char* larger = static_cast<char*>(std::realloc(storage, capacity));
    if (larger == nullptr) {
        throw std::bad_alloc();
    }
    storage = larger;
    setp(storage, storage + capacity);
    Advance(used);
}

// Doubles, so that writing a message a few bytes at a time stays linear.
void OutputBuffer::MakeRoom(std::size_t count)
{
    const std::size_t used = Used();
    const std::size_t capacity = static_cast<std::size_t>(epptr() - pbase());
    if (capacity - used >= count) {
        return;
    }
    std::size_t grown = capacity < kFirstCapacity ? kFirstCapacity : capacity * 2;
    if (grown < used + count) {
        grown = used + count;
    }
    Resize(grown);
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

std::size_t OutputBuffer::Used() const
{
    return static_cast<std::size_t>(pptr() - pbase());
}
