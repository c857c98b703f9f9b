#ifndef TAGSTRIP_MILTER_TEXT_FILE_H
#define TAGSTRIP_MILTER_TEXT_FILE_H

#include <string>

// The whole of a small text file (the configuration file, a skip list). False with error
// set to the reason ("No such file or directory", "Is a directory"); missing tells the
// first apart.
bool ReadTextFile(const std::string& path, std::string& text, std::string& error, bool* missing = nullptr);

#endif
