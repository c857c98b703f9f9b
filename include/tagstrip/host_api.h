// What a host needs to load and drive the Tagstrip analyzer module.
//
// The module is a shared object named "Tagstrip.Analyzer" that exports ten entry points
// with C linkage. Host and module share one CString (defined in the tagstrip platform
// library, which both link), because the module assigns to and appends to the host's strings.
#ifndef TAGSTRIP_HOST_API_H
#define TAGSTRIP_HOST_API_H

#include <cstdint>

// An 8-bit string object that host and plug-in share.
class CString {
public:
    CString();
    CString(const char* text);
    CString(const char* bytes, int length);
    CString(const CString& other);
    ~CString();

    CString& operator=(const char* text);
    CString& operator=(const CString& other);
    CString& operator+=(const char* text);
    CString& operator+=(const CString& other);
    CString& operator+=(char character);

    int GetLength() const;
    bool IsEmpty() const;
    void Empty();
    operator const char*() const;

    // Room for at least minimumLength characters and a NUL, the text kept, to be written
    // in place; ReleaseBuffer then sets the length (-1: up to the first NUL).
    char* GetBuffer(int minimumLength);
    void ReleaseBuffer(int newLength = -1);

private:
    void Assign(const char* bytes, int length);
    void Append(const char* bytes, int length);

    char* data;
    int length;
    int capacity;
};

class CWnd;
class CDialog;
class AnalyzerInstance;

// The host's record for one Analyze call. The two unused words belong to the host.
struct AnalysisRecord {
    CString* messageText;
    std::uint32_t hostWord1;
    std::uint32_t hostWord2;
    std::int32_t score;
    CString findings;
};

extern "C" {
typedef AnalyzerInstance* (*InitAnalyzerFn)(const char* hostDirectory, const char* iniDirectory);
typedef int (*UnInitAnalyzerFn)(AnalyzerInstance* instance);
typedef int (*GetAnalyzerNameFn)(AnalyzerInstance* instance, CString* name);
typedef int (*GetAnalyzerOrderFn)(AnalyzerInstance* instance);
typedef int (*GetAnalyzerTypeFn)();
typedef int (*GetAnalyzerIconIDFn)(AnalyzerInstance* instance);
typedef CDialog* (*GetAnalyzerConfigPageFn)(AnalyzerInstance* instance, CWnd* parent);
typedef int (*GetAnalyzerRightClickMenuFn)();
typedef int (*DoAnalyzerRightClickFn)();
typedef int (*AnalyzeFn)(AnalyzerInstance* instance, AnalysisRecord* record);
}

#endif
