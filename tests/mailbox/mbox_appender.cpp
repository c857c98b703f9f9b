// Delivers messages to an mbox the way one kind of delivery agent does, for the mailbox
// safety tests: it opens the mbox first and locks it afterwards, as agents do, then
// appends one message and lets go.
//   mbox_appender STYLE MBOX COUNT TAG [PAUSE_MICROSECONDS]
// STYLE: fcntl (an fcntl lock only), dotlock (the dotlock, then fcntl), flock (flock only).
// Message n carries "Message-ID: <TAG-n@test.invalid>", a script for the analyzer to
// remove and "END TAG-n" as its last body line.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <lockfile.h>
#include <string>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace {

enum class Style { Fcntl, Dotlock, Flock };

const struct {
    const char* name;
    Style style;
} kStyles[] = {{"fcntl", Style::Fcntl}, {"dotlock", Style::Dotlock}, {"flock", Style::Flock}};

std::string Message(const std::string& tag, int number)
{
    std::string id = tag + "-" + std::to_string(number);
    return "From sender@example.com Sat Dec  5 10:00:00 2026\n"
           "From: sender@example.com\n"
           "To: someone@example.com\n"
           "Subject: delivery " + id + "\n"
           "Message-ID: <" + id + "@test.invalid>\n"
           "Content-Type: text/html\n"
           "\n"
           "<html><body><p>Hello " + id + "</p><script>track('" + id + "')</script>\n"
           "<p>END " + id + "</p></body></html>\n"
           "\n";
}

bool FcntlLock(int descriptor, short type)
{
    struct flock region;
    std::memset(&region, 0, sizeof region);
    region.l_type = type;
    region.l_whence = SEEK_SET;
    while (fcntl(descriptor, F_SETLKW, &region) != 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

bool Dotlock(const std::string& lockPath)
{
    while (lockfile_create(lockPath.c_str(), 0, L_PID) != L_SUCCESS) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool Lock(Style style, int descriptor, const std::string& mbox)
{
    switch (style) {
    case Style::Fcntl:
        return FcntlLock(descriptor, F_WRLCK);
    case Style::Dotlock:
        return Dotlock(mbox + ".lock") && FcntlLock(descriptor, F_WRLCK);
    case Style::Flock:
        return flock(descriptor, LOCK_EX) == 0;
    }
    return false;
}

void Unlock(Style style, int descriptor, const std::string& mbox)
{
    switch (style) {
    case Style::Fcntl:
        FcntlLock(descriptor, F_UNLCK);
        break;
    case Style::Dotlock:
        FcntlLock(descriptor, F_UNLCK);
        lockfile_remove((mbox + ".lock").c_str());
        break;
    case Style::Flock:
        flock(descriptor, LOCK_UN);
        break;
    }
}

bool Deliver(Style style, const std::string& mbox, const std::string& text)
{
    int descriptor = open(mbox.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0600);
    if (descriptor < 0 || !Lock(style, descriptor, mbox)) {
        return false;
    }
    bool written = write(descriptor, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
                   fsync(descriptor) == 0;
    Unlock(style, descriptor, mbox);
    close(descriptor);
    return written;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: mbox_appender fcntl|dotlock|flock MBOX COUNT TAG [PAUSE_MICROSECONDS]\n");
        return 2;
    }
    const auto* chosen = std::find_if(std::begin(kStyles), std::end(kStyles),
                                      [&](const auto& known) { return std::strcmp(known.name, argv[1]) == 0; });
    if (chosen == std::end(kStyles)) {
        std::fprintf(stderr, "mbox_appender: unknown style %s\n", argv[1]);
        return 2;
    }
    int count = std::atoi(argv[3]);
    int pause = argc > 5 ? std::atoi(argv[5]) : 0;
    for (int number = 1; number <= count; ++number) {
        if (!Deliver(chosen->style, argv[2], Message(argv[4], number))) {
            std::fprintf(stderr, "mbox_appender: delivery %d failed: %s\n", number, std::strerror(errno));
            return 1;
        }
        if (pause > 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(std::rand() % pause));
        }
    }
    return 0;
}
