// Asks the kernel's private-profile and temporary-file calls the questions the analyzer
// depends on and writes the answers down, the same program on every platform: built on
// Windows it asks the system's calls, elsewhere our own, and both reports must equal the
// one golden report.
//
//   kernel_probe DIRECTORY REPORT [CORPUS]
//
// CORPUS, a directory of the ini fuzzer's inputs, adds one line per input: the fuzzer's
// section and two keys read from the input's file, then one key written and both read again.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/kernel/windows.h"

namespace {

class Probe {
public:
    explicit Probe(std::string directory)
        : directory(std::move(directory)),
          separator(this->directory.find('\\') != std::string::npos ? "\\" : "/")
    {
    }

    std::string File(const std::string& name) const { return directory + separator + name; }

    // Each byte that is not plain printable text as \r, \n or \xNN, so that line ends show.
    static std::string Escaped(const std::string& text)
    {
        std::string escaped;
        for (const unsigned char character : text) {
            if (character == '\r') {
                escaped += "\\r";
            } else if (character == '\n') {
                escaped += "\\n";
            } else if (character < 0x20 || character >= 0x7F || character == '\\') {
                char code[8];
                std::snprintf(code, sizeof code, "\\x%02X", character);
                escaped += code;
            } else {
                escaped += static_cast<char>(character);
            }
        }
        return escaped;
    }

    static void WriteFile(const std::string& fileName, const std::string& text)
    {
        std::ofstream(fileName, std::ios::binary) << text;
    }

    static std::string ReadFile(const std::string& fileName)
    {
        std::ifstream file(fileName, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    static bool Exists(const std::string& fileName) { return std::ifstream(fileName).is_open(); }

    // The integer read for value under [Settings] Key=, the default being 65.
    void IntegerValues()
    {
        const char* const values[] = {
            "12", "0x10", "0X1f", "+5", "-3", "\"7\"", "'7'", "  12", "\t12", "12abc", "12 34", "1.5",
            "-0", "--3", "+-3", "0x", "0xG", "2147483647", "2147483648", "4294967295", "4294967296",
            "99999999999", "", "abc", "-", "+", "\"\"", "\"7", "7\"", "\" 7\"", "=7", "010", "0b101",
            "0o17", "0B101", "-0x10", "+0x10", " +5", "0x1F", "0x7fffffff", "0xFFFFFFFF", "0x100000000",
            "\"0x10\"", "\" \"", "'7\"", "\x01\x02" "5", "\"-3\"",
        };
        const std::string ini = File("values.ini");
        for (const char* value : values) {
            WriteFile(ini, std::string("[Settings]\r\nKey=") + value + "\r\n");
            const UINT read = GetPrivateProfileIntA("Settings", "Key", 65, ini.c_str());
            report << "int [" << Escaped(value) << "] " << static_cast<int>(read) << '\n';
        }
    }

    // The integer read for [Settings] Key in a file of the given text, default 65.
    void Layouts()
    {
        const char* const texts[] = {
            "[Settings]\r\nKey=5\r\n",
            "[settings]\r\nkey=5\r\n",
            "[ Settings ]\r\nKey=5\r\n",
            "  [Settings]  \r\n  Key  =  5  \r\n",
            "[Settings]\r\n\tKey\t=\t5\r\n",
            "[Settings]\nKey=5\n",
            "[Settings]\rKey=5\r",
            "[Settings]\r\nKey=5",
            "[Settings\r\nKey=5\r\n",
            "[Settings]]\r\nKey=5\r\n",
            "[Settings] trailing\r\nKey=5\r\n",
            "[Settings]\r\nKey 1=5\r\n",
            "[Settings]\r\nKey\r\n",
            "[Settings]\r\nKey=\r\n",
            "[Settings]\r\n;Key=5\r\n",
            "[Settings]\r\n#Key=5\r\n",
            "[Settings]\r\nKey=5 ;comment\r\n",
            "[Settings]\r\nKey=5\r\nKey=6\r\n",
            "[Settings]\r\nKey=5\r\n[Settings]\r\nKey=6\r\n",
            "[Settings]\r\nOther=1\r\n[Settings]\r\nKey=6\r\n",
            "[Other]\r\nKey=5\r\n",
            "Key=5\r\n[Settings]\r\n",
            "\xEF\xBB\xBF[Settings]\r\nKey=5\r\n",
            "",
        };
        const std::string ini = File("layout.ini");
        for (const char* text : texts) {
            WriteFile(ini, text);
            const UINT read = GetPrivateProfileIntA("Settings", "Key", 65, ini.c_str());
            report << "layout [" << Escaped(text) << "] " << static_cast<int>(read) << '\n';
        }
        report << "missing file " << static_cast<int>(GetPrivateProfileIntA("Settings", "Key", 65, File("none.ini").c_str()))
               << '\n';
    }

    // The lines of a file that are not blank, each line end shown as " | ". The system
    // rewrites the whole file, dropping blank lines and keeping the line ends of the file
    // it read or CR LF for a new one; our writer changes only the line it writes and gives
    // a new file LF line ends. Either way every other line stays as it was, which is what
    // this shows.
    static std::string Lines(const std::string& text)
    {
        std::string lines;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find_first_of("\r\n", start);
            end = end == std::string::npos ? text.size() : end;
            if (text.find_first_not_of(" \t", start) < end) {
                lines += text.substr(start, end - start) + " | ";
            }
            start = end + 1;
        }
        return Escaped(lines);
    }

    // What the file holds after one write of Key=9 into [Settings] of a file of the given text.
    void Writes()
    {
        const char* const texts[] = {
            "[Settings]\r\nKey=5\r\n",
            "[Settings]\r\nOther=1\r\n",
            "[General]\r\nActive=1\r\n",
            "[Settings]\r\nKey=5\r\nOther=1\r\n\r\n[General]\r\nActive=1\r\n",
            "",
        };
        const std::string ini = File("write.ini");
        for (const char* text : texts) {
            WriteFile(ini, text);
            const BOOL written = WritePrivateProfileStringA("Settings", "Key", "9", ini.c_str());
            report << "write [" << Escaped(text) << "] " << (written ? "ok" : "failed") << " ["
                   << Lines(ReadFile(ini)) << "]\n";
        }
        const std::string fresh = File("fresh.ini");
        WritePrivateProfileStringA("Settings", "Flags", "65", fresh.c_str());
        WritePrivateProfileStringA("Settings", "PointsScript", "-5", fresh.c_str());
        WritePrivateProfileStringA("General", "Active", "0", fresh.c_str());
        report << "new file [" << Lines(ReadFile(fresh)) << "] reads "
               << static_cast<int>(GetPrivateProfileIntA("Settings", "PointsScript", 0, fresh.c_str())) << '\n';
        const char* const leftovers[] = {"fresh.ini.lock", "fresh.ini.tmp"};
        for (const char* leftover : leftovers) {
            report << leftover << (Exists(File(leftover)) ? " left behind" : " absent") << '\n';
        }
    }

    // Names of temporary files: a unique number of 0 creates the file, any other only names it.
    void TemporaryFiles()
    {
        char first[MAX_PATH + 1] = "";
        char second[MAX_PATH + 1] = "";
        const UINT firstUnique = GetTempFileNameA(directory.c_str(), "tmpfile", 0, first);
        const UINT secondUnique = GetTempFileNameA(directory.c_str(), "tmpfile", 0, second);
        report << "created " << (firstUnique != 0 && secondUnique != 0 ? "both" : "not both") << ", "
               << (firstUnique != secondUnique && std::string(first) != second ? "different" : "same") << ", "
               << (Exists(first) && Exists(second) ? "existing" : "missing") << '\n';
        report << "created name " << Shape(first, 3) << '\n';
        DeleteFileA(first);
        DeleteFileA(second);
        report << "deleted " << (Exists(first) || Exists(second) ? "not both" : "both") << '\n';

        char named[MAX_PATH + 1] = "";
        const UINT namedUnique = GetTempFileNameA(directory.c_str(), "ab", 0x1A2B, named);
        report << "named " << namedUnique << ' ' << InDirectory(named) << (Exists(named) ? " existing" : " not created") << '\n';
        GetTempFileNameA(directory.c_str(), "", 0xF, named);
        report << "no prefix " << InDirectory(named) << '\n';
        char temporaryPath[MAX_PATH + 1] = "";
        const DWORD length = GetTempPathA(sizeof temporaryPath, temporaryPath);
        const char last = length > 0 ? temporaryPath[length - 1] : '\0';
        report << "temporary path ends in a separator: " << (last == '/' || last == '\\' ? "yes" : "no") << '\n';
    }

    void Corpus(const std::string& corpus)
    {
        std::vector<std::string> fileNames;
        for (const auto& item : std::filesystem::directory_iterator(corpus)) {
            fileNames.push_back(item.path().string());
        }
        std::sort(fileNames.begin(), fileNames.end());
        const std::string ini = File("corpus.ini");
        for (const std::string& fileName : fileNames) {
            const std::string input = ReadFile(fileName);
            if (input.size() < 5) {
                continue;
            }
            // As the fuzzer takes them: section, key and other key from the first three
            // bytes, the value from the next two, the file from the rest.
            const std::string section = NameFrom(input[0], "S");
            const std::string key = NameFrom(input[1], "K");
            const std::string otherKey = NameFrom(input[2], "K");
            const int value = static_cast<int>(static_cast<signed char>(input[3])) * 1000 + static_cast<unsigned char>(input[4]);
            WriteFile(ini, input.substr(5));
            report << std::filesystem::path(fileName).filename().string() << " [" << section << "] " << key << '='
                   << ReadInt(section, key, ini) << ' ' << otherKey << '=' << ReadInt(section, otherKey, ini);
            const BOOL written = WritePrivateProfileStringA(section.c_str(), key.c_str(), std::to_string(value).c_str(), ini.c_str());
            report << (written ? " wrote " : " failed ") << key << '=' << ReadInt(section, key, ini) << ' ' << otherKey
                   << '=' << ReadInt(section, otherKey, ini) << '\n';
        }
    }

    std::string Text() const { return report.str(); }

private:
    static std::string NameFrom(char byte, const char* stem)
    {
        static const char letters[] = "abcXYZ019";
        return std::string(stem) + letters[static_cast<unsigned char>(byte) % (sizeof(letters) - 1)];
    }

    static int ReadInt(const std::string& section, const std::string& key, const std::string& ini)
    {
        return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), -7, ini.c_str()));
    }

    // A file name without the probe's directory, with either separator shown as '/'.
    std::string InDirectory(const std::string& name) const
    {
        std::string rest = name.compare(0, directory.size(), directory) == 0 ? name.substr(directory.size()) : name;
        for (char& character : rest) {
            character = character == '\\' ? '/' : character;
        }
        return Escaped(rest);
    }

    // A created file's name with its unique number, whatever it is, shown as <hex>.
    std::string Shape(const std::string& name, std::size_t prefixLength) const
    {
        const std::string rest = InDirectory(name);
        const std::size_t start = rest.find_first_not_of('/') + prefixLength;
        const std::size_t end = rest.find_first_not_of("0123456789abcdefABCDEF", start);
        return rest.substr(0, start) + "<hex>" + (end == std::string::npos ? "" : rest.substr(end));
    }

    std::string directory;
    std::string separator;
    std::ostringstream report;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: kernel_probe DIRECTORY REPORT [CORPUS]\n";
        return 2;
    }
    Probe probe(argv[1]);
    probe.IntegerValues();
    probe.Layouts();
    probe.Writes();
    probe.TemporaryFiles();
    if (argc == 4) {
        probe.Corpus(argv[3]);
    }
    std::ofstream report(argv[2], std::ios::binary);
    report << probe.Text();
    return report.flush() ? 0 : 1;
}
