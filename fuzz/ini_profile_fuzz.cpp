// The ini reader and writer on arbitrary file contents: a value written under a section
// and key must read back as written, and a different key read before the write must read
// the same after it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/scratch_directory.h"
#include "platform/kernel/windows.h"

namespace {

const std::filesystem::path& IniPath()
{
    static const ScratchDirectory directory("ini-fuzz");
    static const std::filesystem::path path = directory.path / "fuzz.ini";
    return path;
}

// Section and key names from the input, kept to letters and digits so that they are
// names any ini file can hold.
std::string NameFrom(std::uint8_t byte, const char* stem)
{
    static const char letters[] = "abcXYZ019";
    return std::string(stem) + letters[byte % (sizeof(letters) - 1)];
}

bool SameName(const std::string& left, const std::string& right)
{
    return left.size() == right.size() && _strnicmp(left.c_str(), right.c_str(), left.size()) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5) {
        return 0;
    }
    const std::string section = NameFrom(data[0], "S");
    const std::string key = NameFrom(data[1], "K");
    const std::string otherKey = NameFrom(data[2], "K");
    const int value = static_cast<int>(static_cast<std::int8_t>(data[3])) * 1000 + data[4];
    {
        std::ofstream file(IniPath(), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data) + 5, static_cast<std::streamsize>(size - 5));
    }
    const char* path = IniPath().c_str();
    const UINT otherBefore = GetPrivateProfileIntA(section.c_str(), otherKey.c_str(), -7, path);

    char text[32];
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), _itoa(value, text, 10), path)) {
        std::abort();
    }
    if (static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), -7, path)) != value) {
        std::abort();
    }
    if (!SameName(key, otherKey)
        && GetPrivateProfileIntA(section.c_str(), otherKey.c_str(), -7, path) != otherBefore) {
        std::abort();
    }
    return 0;
}
