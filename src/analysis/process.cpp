#include <cstdio>
#include <cstring>
#include <string_view>

#include "analysis/filter_engine.h"
#include "analysis/temporary_file.h"
#include "common/output_buffer.h"
#include "mime/filter_part_handler.h"
#include "mime/mime_walker.h"

namespace {

// Longer messages go through a temporary file as well.
constexpr int kInMemoryLimit = 20000;

// Points the engine at a buffer for one walk, and away from it however the walk ends.
class OutputBinding {
public:
    OutputBinding(FilterEngine& engine, OutputBuffer& out) : engine(engine) { engine.output = &out; }
    ~OutputBinding() { engine.output = nullptr; }
    OutputBinding(const OutputBinding&) = delete;
    OutputBinding& operator=(const OutputBinding&) = delete;

private:
    FilterEngine& engine;
};

// One walk of the whole message into out.
void FilterInto(FilterEngine& engine, std::string_view message, OutputBuffer& out)
{
    engine.suppressContent = false;
    engine.insideStyle = false;
    const OutputBinding binding(engine, out);
    FilterPartHandler handler(&engine);
    MimeWalker().Walk(message, &handler);
    handler.Finish();
}

// Unbuffered, so that the text goes to the file and back in one system call each way.
class TextFile {
public:
    TextFile(const char* fileName, const char* mode) : file(std::fopen(fileName, mode))
    {
        if (file != nullptr) {
            std::setvbuf(file, nullptr, _IONBF, 0);
        }
    }
    ~TextFile() { Close(); }
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    std::FILE* Get() const { return file; }

    bool Close()
    {
        const bool closed = file != nullptr && std::fclose(file) == 0;
        file = nullptr;
        return closed;
    }

private:
    std::FILE* file;
};

// The file is opened for update, not truncated: GetTempFileNameA made it empty, and on some
// file systems (ext4) truncating a file, even an empty one, has it written out on close,
// which deleting it then waits for.
bool WriteWholeFile(const char* fileName, std::string_view text)
{
    TextFile out(fileName, "r+b");
    const bool written = out.Get() != nullptr && std::fwrite(text.data(), 1, text.size(), out.Get()) == text.size();
    return out.Close() && written;
}

// True only when exactly length bytes came back and the file held no more.
bool ReadWholeFile(const char* fileName, std::size_t length, CString& text)
{
    TextFile in(fileName, "rb");
    if (in.Get() == nullptr) {
        return false;
    }
    char* buffer = text.GetBuffer(static_cast<int>(length));
    const bool whole = std::fread(buffer, 1, length, in.Get()) == length && std::fgetc(in.Get()) == EOF;
    text.ReleaseBuffer(whole ? static_cast<int>(length) : 0);
    return whole;
}

// Where the filtered text of one message goes: one block of memory and, for a long
// message, a temporary file written from it in one piece and read back in one piece. The
// host must get the complete filtered text or none, so when the file cannot be made,
// written or read back whole, the text comes from memory.
class FilteredOutput {
public:
    explicit FilteredOutput(bool longMessage) : throughFile(longMessage && file.Create()) {}

    void Fill(FilterEngine& engine, std::string_view message)
    {
        memory.Reserve(message.size());
        FilterInto(engine, message, memory);
        written = throughFile && WriteWholeFile(file.Name(), memory.Text());
    }

    void CopyInto(CString& text)
    {
        const std::string_view filtered = memory.Text();
        if (!written || !ReadWholeFile(file.Name(), filtered.size(), text)) {
            text = CString(filtered.data(), static_cast<int>(filtered.size()));
        }
    }

private:
    TemporaryFile file;
    bool throughFile;
    bool written = false;
    OutputBuffer memory;
};

}  // namespace

// The message is read in place up to its first NUL; score and findings are worked out on
// copies and handed over at the end, so that an analysis cut short leaves the host's
// record as it was.
bool FilterEngine::Process(CString& messageText, std::int32_t* score, CString* findings)
{
    const char* text = messageText;
    FilteredOutput filtered(messageText.GetLength() > kInMemoryLimit);
    filtered.Fill(*this, std::string_view(text, std::strlen(text)));

    std::int32_t newScore = *score;
    CString newFindings(*findings);
    const bool replace = Report(&newScore, &newFindings);
    if (replace) {
        filtered.CopyInto(messageText);
    }
    *findings = newFindings;
    *score = newScore;
    return replace;
}
