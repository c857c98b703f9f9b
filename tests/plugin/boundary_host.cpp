// A host as small as a host can be, the same program on every platform: it loads the
// analyzer module through the system's loader, asks it what a host asks at start-up, runs
// each message file through Analyze and writes down everything the module answered, so
// that the answers of two builds of the module can be compared byte for byte.
//
//   boundary_host MODULE DIRECTORY REPORT MESSAGE...
//
// A MESSAGE that is a directory (a fuzzing corpus) stands for every file in it, in name
// order, each reported on one line with digests of its findings and text.
//
// DIRECTORY serves as both the host's and the plug-in's ini directory; the host's ini file
// (named after this program, boundary_host.ini) gives the analyzer order 4711, and the
// plug-in's Tagstrip.ini is removed first, so that the module starts from its defaults.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/kernel/windows.h"
#include "platform/ui/afxwin.h"
#include "tagstrip/host_api.h"
#include "tests/plugin/entry_points.h"

namespace {

class Report {
public:
    void Line(const std::string& label, const std::string& value) { text << label << ' ' << value << '\n'; }
    void Line(const std::string& label, long long value) { Line(label, std::to_string(value)); }
    // A block of bytes that may hold anything, newlines and NULs included.
    void Block(const std::string& label, const char* bytes, int length)
    {
        Line(label, length);
        text.write(bytes, length);
        text << '\n';
    }
    std::string Text() const { return text.str(); }

private:
    std::ostringstream text;
};

template <typename Function>
bool Resolve(HMODULE module, const char* name, Function& function, Report& report)
{
    // Through the generic function pointer type, which converts to any other.
    function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
    report.Line(name, function != nullptr ? "exported" : "missing");
    return function != nullptr;
}

bool ResolveAll(HMODULE module, EntryPoints& entry, Report& report)
{
    bool all = Resolve(module, "InitAnalyzer", entry.initAnalyzer, report);
    all = Resolve(module, "UnInitAnalyzer", entry.unInitAnalyzer, report) && all;
    all = Resolve(module, "GetAnalyzerName", entry.getAnalyzerName, report) && all;
    all = Resolve(module, "GetAnalyzerOrder", entry.getAnalyzerOrder, report) && all;
    all = Resolve(module, "GetAnalyzerType", entry.getAnalyzerType, report) && all;
    all = Resolve(module, "GetAnalyzerIconID", entry.getAnalyzerIconID, report) && all;
    all = Resolve(module, "GetAnalyzerConfigPage", entry.getAnalyzerConfigPage, report) && all;
    all = Resolve(module, "GetAnalyzerRightClickMenu", entry.getAnalyzerRightClickMenu, report) && all;
    all = Resolve(module, "DoAnalyzerRightClick", entry.doAnalyzerRightClick, report) && all;
    return Resolve(module, "Analyze", entry.analyze, report) && all;
}

std::string BaseName(const std::string& path)
{
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

bool ReadFile(const std::string& fileName, std::string& contents)
{
    std::ifstream file(fileName, std::ios::binary);
    contents.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad() && file.is_open();
}

void AskAtStartUp(const EntryPoints& entry, AnalyzerInstance* instance, Report& report)
{
    CString name("host's text");
    report.Line("GetAnalyzerName", entry.getAnalyzerName(instance, &name));
    report.Line("name", static_cast<const char*>(name));
    report.Line("GetAnalyzerType", entry.getAnalyzerType());
    report.Line("GetAnalyzerOrder", entry.getAnalyzerOrder(instance));
    report.Line("GetAnalyzerIconID", entry.getAnalyzerIconID(instance));
    report.Line("GetAnalyzerRightClickMenu", entry.getAnalyzerRightClickMenu());
    report.Line("DoAnalyzerRightClick", entry.doAnalyzerRightClick());
    // A page without a host window to embed it in; the host owns it and deletes it.
    CDialog* page = entry.getAnalyzerConfigPage(instance, nullptr);
    report.Line("GetAnalyzerConfigPage", page == nullptr ? "null" : page->m_hWnd != nullptr ? "page with its window" : "page");
    delete page;
}

// 64-bit FNV-1a, enough to tell two texts apart in a report.
std::string Digest(const char* bytes, int length)
{
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (int index = 0; index < length; ++index) {
        hash = (hash ^ static_cast<unsigned char>(bytes[index])) * 0x100000001b3u;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

bool AnalyzeFile(const EntryPoints& entry, AnalyzerInstance* instance, const std::string& fileName, bool inFull,
                 Report& report)
{
    std::string contents;
    if (!ReadFile(fileName, contents)) {
        report.Line("unreadable", BaseName(fileName));
        return false;
    }
    CString text(contents.data(), static_cast<int>(contents.size()));
    AnalysisRecord record{&text, 0, 0, 0, CString()};
    const int result = entry.analyze(instance, &record);
    if (!inFull) {
        report.Line(BaseName(fileName), std::to_string(result) + " " + std::to_string(record.score) + " "
                                            + Digest(record.findings, record.findings.GetLength()) + " "
                                            + Digest(text, text.GetLength()));
        return true;
    }
    report.Line("message", BaseName(fileName));
    report.Line("Analyze", result);
    report.Line("score", record.score);
    report.Block("findings", record.findings, record.findings.GetLength());
    report.Block("text", text, text.GetLength());
    return true;
}

// A file in full, or every file of a directory in name order, each on one line.
bool AnalyzeArgument(const EntryPoints& entry, AnalyzerInstance* instance, const std::string& name, Report& report)
{
    if (!std::filesystem::is_directory(name)) {
        return AnalyzeFile(entry, instance, name, true, report);
    }
    std::vector<std::string> fileNames;
    for (const auto& item : std::filesystem::directory_iterator(name)) {
        fileNames.push_back(item.path().string());
    }
    std::sort(fileNames.begin(), fileNames.end());
    report.Line("directory", std::to_string(fileNames.size()) + " messages");
    bool passed = true;
    for (const std::string& fileName : fileNames) {
        passed = AnalyzeFile(entry, instance, fileName, false, report) && passed;
    }
    return passed;
}

bool WriteReport(const std::string& fileName, const Report& report)
{
    std::ofstream file(fileName, std::ios::binary);
    file << report.Text();
    return static_cast<bool>(file.flush());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::cerr << "usage: boundary_host MODULE DIRECTORY REPORT MESSAGE...\n";
        return 2;
    }
    const std::string directory = argv[2];
    const std::string separator = directory.find('\\') != std::string::npos ? "\\" : "/";
    DeleteFileA((directory + separator + "Tagstrip.ini").c_str());
    WritePrivateProfileStringA("AnalyzerOrder", "Tagstrip", "4711",
                               (directory + separator + "boundary_host.ini").c_str());

    Report report;
    const HMODULE module = LoadLibraryA(argv[1]);
    report.Line("LoadLibraryA", module != nullptr ? "loaded" : "failed");
    EntryPoints entry{};
    bool passed = module != nullptr && ResolveAll(module, entry, report);
    if (passed) {
        AnalyzerInstance* instance = entry.initAnalyzer(directory.c_str(), directory.c_str());
        report.Line("InitAnalyzer", instance != nullptr ? "instance" : "null");
        AskAtStartUp(entry, instance, report);
        for (int index = 4; index < argc; ++index) {
            passed = AnalyzeArgument(entry, instance, argv[index], report) && passed;
        }
        report.Line("UnInitAnalyzer", entry.unInitAnalyzer(instance));
    }
    report.Line("FreeLibrary", module != nullptr && FreeLibrary(module) ? "freed" : "failed");
    return WriteReport(argv[3], report) && passed ? 0 : 1;
}
