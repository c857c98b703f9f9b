#include <fstream>
#include <sstream>
#include <string>

#include "analysis/filter_engine.h"
#include "analysis/temporary_file.h"
#include "mime/filter_part_handler.h"
#include "mime/mime_walker.h"

namespace {

// Longer messages are filtered through a temporary file rather than in memory.
constexpr int kInMemoryLimit = 20000;
constexpr std::streamsize kReadBackChunk = 2047;

// Points the engine at a stream for one walk, and away from it however the walk ends.
class OutputBinding {
public:
    OutputBinding(FilterEngine& engine, std::ostream& out) : engine(engine) { engine.output = &out; }
    ~OutputBinding() { engine.output = nullptr; }
    OutputBinding(const OutputBinding&) = delete;
    OutputBinding& operator=(const OutputBinding&) = delete;

private:
    FilterEngine& engine;
};

// One walk of the whole message into out. A second walk starts from the same tag-rule
// state as the first and raises the same found flags.
void FilterInto(FilterEngine& engine, const std::string& message, std::ostream& out)
{
    engine.suppressContent = false;
    engine.insideStyle = false;
    const OutputBinding binding(engine, out);
    std::istringstream in(message);
    FilterPartHandler handler(&engine);
    MimeWalker().Walk(in, &handler);
    handler.Finish();
}

// True only when exactly the bytes written came back.
bool ReadBack(const char* fileName, std::streamoff length, std::string& text)
{
    std::ifstream in(fileName, std::ios::in | std::ios::binary);
    char chunk[kReadBackChunk];
    text.clear();
    while (in.good()) {
        in.read(chunk, kReadBackChunk);
        text.append(chunk, in.gcount());
    }
    return in.eof() && !in.bad() && static_cast<std::streamoff>(text.size()) == length;
}

// Where the filtered text of one message goes: memory, or a temporary file for a long
// message. The host must get the complete filtered text or none, so when the file
// cannot be made, written or read back whole, the message is filtered in memory.
class FilteredOutput {
public:
    explicit FilteredOutput(bool longMessage) : throughFile(longMessage && file.Create()) {}

    void Fill(FilterEngine& engine, const std::string& message)
    {
        if (!throughFile) {
            FilterInto(engine, message, memory);
            return;
        }
        std::ofstream out(file.Name(), std::ios::out | std::ios::binary);
        FilterInto(engine, message, out);
        fileLength = out.tellp();
        out.close();
        if (out.fail()) {
            fileLength = -1;
        }
    }

    std::string Text(FilterEngine& engine, const std::string& message)
    {
        std::string text;
        if (throughFile && fileLength >= 0 && ReadBack(file.Name(), fileLength, text)) {
            return text;
        }
        if (throughFile) {
            FilterInto(engine, message, memory);
        }
        return memory.str();
    }

private:
    TemporaryFile file;
    bool throughFile;
    std::streamoff fileLength = -1;
    std::ostringstream memory;
};

}  // namespace

// Score and findings are worked out on copies and handed over at the end, so that an
// analysis cut short leaves the host's record as it was.
bool FilterEngine::Process(CString& messageText, std::int32_t* score, CString* findings)
{
    const std::string message(static_cast<const char*>(messageText));
    FilteredOutput filtered(messageText.GetLength() > kInMemoryLimit);
    filtered.Fill(*this, message);

    std::int32_t newScore = *score;
    CString newFindings(*findings);
    const bool replace = Report(&newScore, &newFindings);
    if (replace) {
        const std::string text = filtered.Text(*this, message);
        messageText = CString(text.data(), static_cast<int>(text.size()));
    }
    *findings = newFindings;
    *score = newScore;
    return replace;
}
