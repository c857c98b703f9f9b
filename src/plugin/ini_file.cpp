#include "plugin/ini_file.h"

#include <cstring>

namespace {

// The module's file name with everything after its last '.' replaced by "ini"; empty
// when the name has no '.' at all.
CString IniPathOf(HMODULE module)
{
    char fileName[MAX_PATH + 1] = "";
    GetModuleFileNameA(module, fileName, MAX_PATH);
    const char* lastDot = std::strrchr(fileName, '.');
    if (lastDot == nullptr) {
        return CString();
    }
    CString path(fileName, static_cast<int>(lastDot - fileName) + 1);
    path += "ini";
    return path;
}

bool IsSeparator(char character)
{
    return character == '/' || character == '\\';
}

const char* LastSeparator(const char* text)
{
    const char* last = nullptr;
    for (const char* at = text; *at != '\0'; ++at) {
        if (IsSeparator(*at)) {
            last = at;
        }
    }
    return last;
}

}  // namespace

IniFile::IniFile(HMODULE module) : path(IniPathOf(module)), module(module) {}

IniFile::~IniFile() = default;

// Paths arrive in the system's own form: a module file name may use backslashes, a
// directory from the host either separator. The file name is what follows the last
// separator of either kind; a directory without a closing separator gets the one it
// already uses, else the one of the module's path, else a backslash.
void IniFile::SetDirectory(const char* directory)
{
    const char* directorySeparator = LastSeparator(directory);
    const char* pathSeparator = LastSeparator(path);
    const char separator = directorySeparator != nullptr ? *directorySeparator
        : pathSeparator != nullptr                      ? *pathSeparator
                                                        : '\\';
    CString moved(directory);
    if (moved.IsEmpty() || !IsSeparator(moved[moved.GetLength() - 1])) {
        moved += separator;
    }
    moved += pathSeparator == nullptr ? static_cast<const char*>(path) : pathSeparator + 1;
    path = moved;
}

HMODULE IniFile::GetModule() const
{
    return module;
}

const CString& IniFile::GetPath() const
{
    return path;
}

int IniFile::ReadInt(const char* section, const char* key, int defaultValue) const
{
    return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, path));
}

void IniFile::WriteString(const char* section, const char* key, const char* value) const
{
    WritePrivateProfileStringA(section, key, value, path);
}

void IniFile::WriteInt(const char* section, const char* key, int value) const
{
    char text[32];
    WriteString(section, key, _itoa(value, text, 10));
}
