// A fresh directory in the system's temporary directory for one test, removed with
// everything in it afterwards.
#ifndef TAGSTRIP_TESTS_COMMON_TEMP_DIRECTORY_H
#define TAGSTRIP_TESTS_COMMON_TEMP_DIRECTORY_H

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "platform/kernel/windows.h"

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
    // The name of a fresh temporary file, which is then made a directory in its place.
    // Test programs running side by side number their files from their process ids, so
    // another may take the same name between the file's deletion and the directory's
    // making: whoever makes the directory owns it, and the other tries the next name.
    TempDirectory()
    {
        char base[MAX_PATH + 1] = "";
        GetTempPathA(sizeof base, base);
        for (int attempt = 0; attempt < 100; ++attempt) {
            char name[MAX_PATH + 1] = "";
            GetTempFileNameA(base, "tag", 0, name);
            DeleteFileA(name);
            path = name;
            std::error_code taken;
            if (std::filesystem::create_directory(path, taken)) {
                return;
            }
        }
        throw std::runtime_error(std::string("cannot make a temporary directory in ") + base);
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
