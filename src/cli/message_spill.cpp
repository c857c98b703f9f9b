#include "cli/message_spill.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

namespace {

std::string TemporaryDirectory()
{
    const char* directory = getenv("TMPDIR");
    return directory != nullptr && *directory != '\0' ? directory : "/tmp";
}

// A file that never had a name; where the file system cannot make one, a named file
// that loses its name at once.
int OpenUnnamedFile(const std::string& directory)
{
    int descriptor = open(directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (descriptor >= 0 || (errno != EOPNOTSUPP && errno != EISDIR)) {
        return descriptor;
    }
    std::string path = directory + "/tagstrip-spill-XXXXXX";
    descriptor = mkostemp(&path[0], O_CLOEXEC);
    if (descriptor >= 0 && unlink(path.c_str()) != 0) {
        close(descriptor);
        return -1;
    }
    return descriptor;
}

bool WriteAll(int descriptor, std::string_view text)
{
    std::size_t written = 0;
    while (written < text.size()) {
        ssize_t count = write(descriptor, text.data() + written, text.size() - written);
        if (count < 0 && errno != EINTR) {
            return false;
        }
        written += count > 0 ? static_cast<std::size_t>(count) : 0;
    }
    return true;
}

}  // namespace

MessageSpill::~MessageSpill()
{
    Close();
}

bool MessageSpill::Write(std::string_view text)
{
    Close();
    descriptor = OpenUnnamedFile(TemporaryDirectory());
    if (descriptor >= 0 && !WriteAll(descriptor, text)) {
        Close();
    }
    size = Holds() ? text.size() : 0;
    return Holds();
}

bool MessageSpill::Read(std::string& text) const
{
    text.resize(Holds() ? size : 0);
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t count = pread(descriptor, &text[done], text.size() - done, static_cast<off_t>(done));
        if (count == 0 || (count < 0 && errno != EINTR)) {
            text.clear();
            return false;
        }
        done += count > 0 ? static_cast<std::size_t>(count) : 0;
    }
    return Holds();
}

void MessageSpill::Close()
{
    if (descriptor >= 0) {
        close(descriptor);
    }
    descriptor = -1;
}
