// A fresh directory under /tmp for one test, removed with everything in it afterwards.
#ifndef TAGSTRIP_TESTS_COMMON_TEMP_DIRECTORY_H
#define TAGSTRIP_TESTS_COMMON_TEMP_DIRECTORY_H

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

inline void WriteTextFile(const std::string& fileName, const std::string& text)
{
    std::ofstream(fileName, std::ios::binary) << text;
}

inline std::string ReadTextFile(const std::string& fileName)
{
    std::ostringstream text;
    text << std::ifstream(fileName, std::ios::binary).rdbuf();
    return text.str();
}

class TempDirectory {
public:
    TempDirectory()
    {
        char pattern[] = "/tmp/tagstrip-test-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempDirectory() { std::filesystem::remove_all(path); }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    std::string File(const std::string& name) const { return path + "/" + name; }

    // Writes text to the file name inside the directory and returns its full path.
    std::string Write(const std::string& name, const std::string& text) const
    {
        WriteTextFile(File(name), text);
        return File(name);
    }

    std::string path;
};

#endif
