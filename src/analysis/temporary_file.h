#ifndef TAGSTRIP_ANALYSIS_TEMPORARY_FILE_H
#define TAGSTRIP_ANALYSIS_TEMPORARY_FILE_H

#include "platform/kernel/windows.h"

// A new, uniquely named file with the prefix "tmp" in the system's temporary directory,
// deleted when the object goes, however the analysis that made it ends.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // False when the directory is unusable; no file exists then.
    bool Create();
    const char* Name() const { return name; }

private:
    char name[MAX_PATH + 1] = {};
    bool created = false;
};

#endif
