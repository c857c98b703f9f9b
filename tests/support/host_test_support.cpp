#include "tests/support/host_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
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

std::string SourcePath(const std::string& relative)
{
    return std::string(TAGSTRIP_SOURCE_DIR) + "/" + relative;
}

namespace {

std::string TagstripCommand(const std::vector<std::string>& arguments)
{
    std::string command = ShellQuoted(TAGSTRIP_PROGRAM);
    for (const std::string& argument : arguments) {
        command += " " + ShellQuoted(argument);
    }
    return command;
}

}  // namespace

RunResult RunTagstrip(const std::vector<std::string>& arguments, const std::string& stdinText)
{
    TempDirectory io;
    std::string command = "cd " + ShellQuoted(TAGSTRIP_SOURCE_DIR) + " && " + TagstripCommand(arguments) + " <" +
                          ShellQuoted(io.Write("stdin", stdinText)) + " >" + ShellQuoted(io.File("out")) + " 2>" +
                          ShellQuoted(io.File("err"));
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadTextFile(io.File("out")), ReadTextFile(io.File("err"))};
}

RunResult RunTagstripIntoPipe(const std::vector<std::string>& arguments, const std::string& stdinText)
{
    TempDirectory io;
    std::string command = "cd " + ShellQuoted(TAGSTRIP_SOURCE_DIR) + " && { " + TagstripCommand(arguments) + " <" +
                          ShellQuoted(io.Write("stdin", stdinText)) + " 2>" + ShellQuoted(io.File("err")) +
                          "; echo $? >" + ShellQuoted(io.File("status")) + "; } | cat >" + ShellQuoted(io.File("out"));
    int status = std::system(command.c_str());
    const std::string exitStatus = ReadTextFile(io.File("status"));
    return {WIFEXITED(status) && !exitStatus.empty() ? std::stoi(exitStatus) : -1, ReadTextFile(io.File("out")),
            ReadTextFile(io.File("err"))};
}

RunResult RunTagstripMergedIntoPipe(const std::vector<std::string>& arguments)
{
    TempDirectory io;
    std::string command = "cd " + ShellQuoted(TAGSTRIP_SOURCE_DIR) + " && { " + TagstripCommand(arguments) +
                          " </dev/null 2>&1; echo $? >" + ShellQuoted(io.File("status")) + "; } | cat >" +
                          ShellQuoted(io.File("out"));
    int status = std::system(command.c_str());
    const std::string exitStatus = ReadTextFile(io.File("status"));
    return {WIFEXITED(status) && !exitStatus.empty() ? std::stoi(exitStatus) : -1, ReadTextFile(io.File("out")), ""};
}

void ExpectMatchesGolden(const std::string& actual, const std::string& goldenRelativePath)
{
    std::string golden = SourcePath("tests/data/" + goldenRelativePath);
    if (std::getenv("TAGSTRIP_UPDATE_GOLDENS") != nullptr) {
        WriteTextFile(golden, actual);
        return;
    }
    EXPECT_EQ(actual, ReadTextFile(golden)) << "golden file " << golden;
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

std::string WithoutTimings(const std::string& output)
{
    std::string kept;
    std::size_t start = 0;
    while (start < output.size()) {
        const std::size_t end = std::min(output.find('\n', start), output.size() - 1) + 1;
        std::string line = output.substr(start, end - start);
        const std::size_t timing = line.find(",\"seconds\":");
        if (timing != std::string::npos) {
            line = line.substr(0, timing) + "}\n";
        }
        if (line.compare(0, 4, "Time") != 0 && line.compare(0, 4, "Rate") != 0) {
            kept += line;
        }
        start = end;
    }
    return kept;
}
