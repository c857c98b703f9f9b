#include <gtest/gtest.h>

#include <vector>

#include "milter/milter_options.h"

namespace {

struct OptionCase {
    std::vector<const char*> words;
    bool accepted;
    const char* socket;
    std::size_t maxSize;
};

TEST(MilterOptions, MilterStyleOptionsAndSocketSpecifications)
{
    const OptionCase cases[] = {
        {{}, true, "unix:/run/tagstrip/milter.sock", 10485760},
        {{"-p", "inet:8895@127.0.0.1"}, true, "inet:8895@127.0.0.1", 10485760},
        {{"--socket=local:/tmp/m.sock", "--max-size", "2000"}, true, "local:/tmp/m.sock", 2000},
        {{"--socket", "inet6:8895@[::1]", "-f"}, true, "inet6:8895@[::1]", 10485760},
        {{"-p", "inet:99999@127.0.0.1"}, false, "", 0},
        {{"-p", "tcp:8895"}, false, "", 0},
        {{"-p", "unix:"}, false, "", 0},
        {{"--max-size", "0"}, false, "", 0},
        {{"--max-size", "12kb"}, false, "", 0},
        {{"--socket"}, false, "", 0},
        {{"--socket-mode", "0600", "--socket-group", "postfix", "--timeout", "30"}, true,
         "unix:/run/tagstrip/milter.sock", 10485760},
        {{"--socket-mode", "0668"}, false, "", 0},
        {{"--socket-mode", "77777"}, false, "", 0},
        {{"--timeout", "0"}, false, "", 0},
        {{"--mode", "score", "--keep-signed"}, true, "unix:/run/tagstrip/milter.sock", 10485760},
        {{"--mode", "fast"}, false, "", 0},
        {{"--no-such-option"}, false, "", 0},
        {{"stray"}, false, "", 0},
    };
    for (const OptionCase& test : cases) {
        std::vector<char*> argv = {const_cast<char*>("tagstrip-milter")};
        std::string words;
        for (const char* word : test.words) {
            argv.push_back(const_cast<char*>(word));
            words += std::string(word) + " ";
        }
        argv.push_back(nullptr);
        MilterOptions options;
        std::string error;
        bool accepted = ParseMilterOptions(static_cast<int>(argv.size()) - 1, argv.data(), options, error);
        EXPECT_EQ(accepted, test.accepted) << words << error;
        if (accepted && test.accepted) {
            EXPECT_EQ(options.socket, test.socket) << words;
            EXPECT_EQ(options.maxSize, test.maxSize) << words;
        } else if (!accepted) {
            EXPECT_FALSE(error.empty()) << words;
        }
    }
}

}  // namespace
