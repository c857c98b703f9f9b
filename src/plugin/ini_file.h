#ifndef TAGSTRIP_PLUGIN_INI_FILE_H
#define TAGSTRIP_PLUGIN_INI_FILE_H

#include "platform/kernel/windows.h"
#include "tagstrip/host_api.h"

// One ini file, named after a module's file: "Tagstrip.Analyzer" gives "Tagstrip.ini".
// Every read and write goes to the file; nothing is cached.
class IniFile {
public:
    explicit IniFile(HMODULE module);
    virtual ~IniFile();
    virtual void SetDirectory(const char* directory);

    HMODULE GetModule() const;
    const CString& GetPath() const;
    int ReadInt(const char* section, const char* key, int defaultValue) const;
    void WriteString(const char* section, const char* key, const char* value) const;
    void WriteInt(const char* section, const char* key, int value) const;

protected:
    CString path;
    HMODULE module;
};

#endif
