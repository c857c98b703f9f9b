#ifndef TAGSTRIP_COMMON_OUTPUT_BUFFER_H
#define TAGSTRIP_COMMON_OUTPUT_BUFFER_H

#include <cstddef>
#include <streambuf>
#include <string_view>

// One growing block of memory behind an output stream: the filtered text of a message is
// written into it and read out of it in place, without the copy a string stream makes.
// The block grows with realloc, which moves a large block by remapping its pages instead
// of copying them, so growing never holds the text twice.
class OutputBuffer : public std::streambuf {
public:
    OutputBuffer() = default;
    ~OutputBuffer() override;
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    // Room for size bytes in all, taken from the system only as it is written.
    void Reserve(std::size_t size);
    std::string_view Text() const;
    // Gives the memory back; the text is gone.
    void Release();

protected:
    int_type overflow(int_type character) override;
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;

private:
    void Resize(std::size_t capacity);
    void MakeRoom(std::size_t count);
    void Advance(std::size_t count);
    std::size_t Used() const;

    char* storage = nullptr;
};

#endif
