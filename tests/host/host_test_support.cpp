#include "host_test_support.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

namespace {

std::string ShellQuoted(const std::string& word)
{
    std::string quoted = "'";
    for (char character : word) {
        quoted += character == '\'' ? std::string("'\\''") : std::string(1, character);
    }
    return quoted + "'";
}

}  // namespace

ScratchDirectory::ScratchDirectory()
{
    char pattern[] = "/tmp/tagstrip-host-test-XXXXXX";
    path = mkdtemp(pattern);
}

ScratchDirectory::~ScratchDirectory()
{
    std::system(("rm -rf " + ShellQuoted(path)).c_str());
}

std::string ScratchDirectory::Write(const std::string& name, const std::string& content) const
{
    std::string file = path + "/" + name;
    WriteFileOrFail(file, content);
    return file;
}

std::string ReadFileOrEmpty(const std::string& path)
{
    std::ifstream input(path, std::ios::binary);
    std::ostringstream content;
    content << input.rdbuf();
    return content.str();
}

void WriteFileOrFail(const std::string& path, const std::string& content)
{
    std::ofstream output(path, std::ios::binary);
    output << content;
    ASSERT_TRUE(output.good()) << path;
}

std::string SourcePath(const std::string& relative)
{
    return std::string(TAGSTRIP_SOURCE_DIR) + "/" + relative;
}

RunResult RunTagstrip(const std::vector<std::string>& arguments, const std::string& stdinText)
{
    ScratchDirectory io;
    std::string input = io.Write("stdin", stdinText);
    std::string command = "cd " + ShellQuoted(TAGSTRIP_SOURCE_DIR) + " && " + ShellQuoted(TAGSTRIP_PROGRAM);
    for (const std::string& argument : arguments) {
        command += " " + ShellQuoted(argument);
    }
    command += " <" + ShellQuoted(input) + " >" + ShellQuoted(io.Path() + "/out") + " 2>" +
               ShellQuoted(io.Path() + "/err");
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFileOrEmpty(io.Path() + "/out"),
            ReadFileOrEmpty(io.Path() + "/err")};
}

void ExpectMatchesGolden(const std::string& actual, const std::string& goldenRelativePath)
{
    std::string golden = SourcePath("tests/data/" + goldenRelativePath);
    if (std::getenv("TAGSTRIP_UPDATE_GOLDENS") != nullptr) {
        WriteFileOrFail(golden, actual);
        return;
    }
    EXPECT_EQ(actual, ReadFileOrEmpty(golden)) << "golden file " << golden;
}

std::vector<MboxMessage> ReadMboxMessages(const std::string& path)
{
    MboxReader reader;
    std::string error;
    EXPECT_TRUE(reader.Open(path, error)) << error;
    std::vector<MboxMessage> messages;
    MboxMessage message;
    while (reader.Next(message)) {
        messages.push_back(message);
    }
    EXPECT_EQ(reader.Error(), "");
    return messages;
}
