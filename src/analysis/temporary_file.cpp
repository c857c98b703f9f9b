#include "analysis/temporary_file.h"

TemporaryFile::~TemporaryFile()
{
    if (created) {
        DeleteFileA(name);
    }
}

bool TemporaryFile::Create()
{
    char directory[MAX_PATH + 1];
    const DWORD length = GetTempPathA(MAX_PATH, directory);
    created = length != 0 && length <= MAX_PATH && GetTempFileNameA(directory, "tmp", 0, name) != 0;
    return created;
}
