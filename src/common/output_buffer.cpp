#include "common/output_buffer.h"

#include <cstdlib>
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
    if (size > static_cast<std::size_t>(limit - storage)) {
        Resize(size);
    }
}

void OutputBuffer::Release()
{
    std::free(storage);
    storage = end = limit = nullptr;
}

// Doubles, so that writing a message a few bytes at a time stays linear.
void OutputBuffer::MakeRoom(std::size_t count)
{
    const std::size_t used = static_cast<std::size_t>(end - storage);
    const std::size_t capacity = static_cast<std::size_t>(limit - storage);
    std::size_t grown = capacity < kFirstCapacity ? kFirstCapacity : capacity * 2;
    if (grown < used + count) {
        grown = used + count;
    }
    Resize(grown);
}

void OutputBuffer::Resize(std::size_t capacity)
{
    const std::size_t used = static_cast<std::size_t>(end - storage);
    char* larger = static_cast<char*>(std::realloc(storage, capacity));
    if (larger == nullptr) {
        throw std::bad_alloc();
    }
    storage = larger;
    end = storage + used;
    limit = storage + capacity;
}
