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

}  // namespace

IniFile::IniFile(HMODULE module) : path(IniPathOf(module)), module(module) {}

IniFile::~IniFile() = default;

void IniFile::SetDirectory(const char* directory)
{
    CString moved(directory);
    if (moved.IsEmpty() || moved[moved.GetLength() - 1] != '/') {
        moved += '/';
    }
    const char* lastSlash = std::strrchr(path, '/');
    moved += lastSlash == nullptr ? static_cast<const char*>(path) : lastSlash + 1;
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
