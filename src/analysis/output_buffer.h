#ifndef TAGSTRIP_ANALYSIS_OUTPUT_BUFFER_H
#define TAGSTRIP_ANALYSIS_OUTPUT_BUFFER_H

#include <cstddef>
#include <memory>
#include <streambuf>
#include <string_view>

// One growing block of memory behind an output stream: the filtered text of a message is
// written into it and read out of it in place, without the copy a string stream makes.
class OutputBuffer : public std::streambuf {
public:
    std::string_view Text() const;

protected:
    int_type overflow(int_type character) override;
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;

private:
    void MakeRoom(std::size_t count);
    void Advance(std::size_t count);

    std::unique_ptr<char[]> storage;
};

#endif
