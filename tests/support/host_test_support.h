#ifndef TAGSTRIP_TESTS_SUPPORT_HOST_TEST_SUPPORT_H
#define TAGSTRIP_TESTS_SUPPORT_HOST_TEST_SUPPORT_H

#include <string>
#include <vector>

#include "mailbox/mbox_reader.h"
#include "tests/common/temp_directory.h"

// The output of one run of the tagstrip program.
struct RunResult {
    int status;
    std::string out;
    std::string err;
};

// Runs the built tagstrip with arguments, from the source tree's top directory, with
// standard input from stdinText.
RunResult RunTagstrip(const std::vector<std::string>& arguments, const std::string& stdinText = "");
// The same with standard output a pipe instead of a file.
RunResult RunTagstripIntoPipe(const std::vector<std::string>& arguments, const std::string& stdinText = "");
// The same with standard output and standard error one pipe, read into out.
RunResult RunTagstripMergedIntoPipe(const std::vector<std::string>& arguments);

// Every message of the mbox at path, expecting it to read without error.
std::vector<MboxMessage> ReadMboxMessages(const std::string& path);

std::string SourcePath(const std::string& relative);

// A scan's output without the lines and JSON fields that depend on timing.
std::string WithoutTimings(const std::string& output);

// Compares actual with the golden file, or rewrites the golden file when the environment
// variable TAGSTRIP_UPDATE_GOLDENS is set.
void ExpectMatchesGolden(const std::string& actual, const std::string& goldenRelativePath);

#endif
