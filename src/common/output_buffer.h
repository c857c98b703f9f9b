#ifndef TAGSTRIP_COMMON_OUTPUT_BUFFER_H
#define TAGSTRIP_COMMON_OUTPUT_BUFFER_H

#include <cstddef>
#include <cstring>
#include <string_view>

// One growing block of memory that the filtered text of a message is written into and
// read out of in place. No C++ stream stands in front of it: a stream sets up the C++
// locale the first time one is made and copies it every time, and costs a virtual call
// for every write that does not fit. The block grows with realloc, which moves a large
// block by remapping its pages instead of copying them, so growing never holds the text
// twice.
class OutputBuffer {
public:
    OutputBuffer() = default;
    ~OutputBuffer();
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    // Room for size bytes in all, taken from the system only as it is written.
    void Reserve(std::size_t size);

    void Append(const char* data, std::size_t size)
    {
        if (size > static_cast<std::size_t>(limit - end)) {
            MakeRoom(size);
        }
        if (size != 0) {
            std::memcpy(end, data, size);
            end += size;
        }
    }

    void Append(std::string_view text) { Append(text.data(), text.size()); }

    void Append(char character)
    {
        if (end == limit) {
            MakeRoom(1);
        }
        *end++ = character;
    }

    std::string_view Text() const { return std::string_view(storage, static_cast<std::size_t>(end - storage)); }

    // Gives the memory back; the text is gone.
    void Release();

private:
    void MakeRoom(std::size_t count);
    void Resize(std::size_t capacity);

    char* storage = nullptr;
    char* end = nullptr;
    char* limit = nullptr;
};

#endif
