#ifndef TAGSTRIP_CLI_STANDARD_STREAMS_H
#define TAGSTRIP_CLI_STANDARD_STREAMS_H

#include <ostream>
#include <string>
#include <string_view>

// How much of standard input a read took in.
enum class InputRead {
    Whole,      // everything up to the end
    Truncated,  // the limit was reached and more follows
    Failed,     // a read failed; text holds what came before
};

// Reads standard input into text, at most limit + 1 bytes when limit is not 0, so that
// a message over the limit costs no more memory than one at it. Throws std::bad_alloc
// when memory runs out, with every byte read so far in text.
InputRead ReadStandardInput(std::string& text, std::size_t limit);

// Copies what is left of standard input to standard output, a block at a time, adding
// the bytes copied to copied.
bool CopyRestOfInput(std::size_t& copied);

bool WriteStandardOutput(std::string_view text);

// Standard output and standard error as C++ streams, writing through the C library's
// stdout and stderr as std::cout and std::cerr do, and made when first used. The standard
// ones are made with the C++ locale when any file that includes <iostream> starts, which
// costs a filter run that prints nothing about 80 microseconds.
std::ostream& OutputStream();
std::ostream& ErrorStream();

// Where standard input stood when the program began. When it is a file, what was read
// from there can be read again.
class InputStart {
public:
    InputStart();
    bool MayReread() const { return offset >= 0; }
    // Reads the first size bytes of the input into text, replacing what it held; false
    // when they cannot all be read.
    bool Reread(std::size_t size, std::string& text) const;

private:
    long long offset;
};

// Where standard output stood when the program began. When it is a file (the only kind
// of output a file-size limit or a full disk can cut short), a failed write can be
// undone and the message written again from that point.
class OutputStart {
public:
    OutputStart();
    // Truncates standard output back to where it began; false when it is not a file.
    bool Rewind() const;
    // Whether Rewind can work: standard output is a file.
    bool MayRewind() const { return offset >= 0; }

private:
    long long offset;
};

#endif
