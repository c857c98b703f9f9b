#ifndef TAGSTRIP_PLUGIN_ANALYZER_INSTANCE_H
#define TAGSTRIP_PLUGIN_ANALYZER_INSTANCE_H

#include <atomic>
#include <cstdint>

#include "common/category.h"
#include "plugin/ini_file.h"

// The analyzer's name: what the host shows, its key in the host's "AnalyzerOrder"
// section, and the head of each findings line.
constexpr const char* kAnalyzerName = "Tagstrip";

// The host's order number for this analyzer when its ini file names none.
constexpr int kDefaultOrder = 130000;

// The analyzer instance the host creates with InitAnalyzer: the Flags word of remove
// switches, the points per category, and where the plug-in's and the host's ini files lie.
//
// Analyses on any thread read flags and points while the configuration page may write
// them; they are relaxed atomics of the original width, so those reads need no lock.
class AnalyzerInstance : public IniFile {
public:
    explicit AnalyzerInstance(HMODULE module);
    ~AnalyzerInstance() override;
    virtual void SetIniDirectory(const char* directory);
    virtual void SetHostDirectory(const char* directory);

    CString GetHostDirectory() const;
    int LoadSettings();
    int SaveSettings();
    int GetActive() const;
    void SetActive(int value);
    int GetOrder() const;

    int Flags() const { return flags.load(std::memory_order_relaxed); }
    int Points(Category category) const { return points[category].load(std::memory_order_relaxed); }

    std::atomic<std::int32_t> flags;
    std::atomic<std::int32_t> points[CategoryCount];
    CString iniDirectory;
    CString hostDirectory;
};

#endif
