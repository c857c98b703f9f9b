#include "milter/text_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>
#include <filesystem>

bool ReadTextFile(const std::string& path, std::string& text, std::string& error, bool* missing)
{
    std::error_code status;
    bool directory = std::filesystem::is_directory(path, status);
    errno = 0;
    std::ifstream file;
    if (!directory) {
        file.open(path, std::ios::binary);
    }
    int reason = directory ? EISDIR : errno;
    if (missing != nullptr) {
        *missing = reason == ENOENT;
    }
    if (directory || !file) {
        error = std::strerror(reason != 0 ? reason : EIO);
        return false;
    }
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
        error = std::strerror(EIO);
        return false;
    }
    return true;
}
