#ifndef TAGSTRIP_REMOTE_REMOTE_INSTANCE_H
#define TAGSTRIP_REMOTE_REMOTE_INSTANCE_H

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "plugin/ini_file.h"
#include "common/remote_category.h"
#include "remote/tracker_list.h"

// The analyzer's name: what the host shows, its key in the host's "AnalyzerOrder"
// section, and the head of each findings line.
constexpr const char* kRemoteAnalyzerName = "Remote";

// After the Tagstrip analyzer (130000) unless the host's ini file says otherwise.
constexpr int kRemoteDefaultOrder = 140000;

// The remote-content analyzer's instance: the Flags word of remove switches, the points
// per category, and the tracker list (the one shipped with the module and the admin's
// own table). Settings are read from the ini file on InitAnalyzer and whenever the page
// opens; analyses on any thread read them without a lock.
class RemoteInstance : public IniFile {
public:
    explicit RemoteInstance(HMODULE module);
    ~RemoteInstance() override;

    void SetIniDirectory(const char* directory);
    void SetHostDirectory(const char* directory);

    void LoadSettings();
    void SaveSettings() const;
    int GetActive() const;
    void SetActive(int value) const;
    int GetOrder() const;

    int Flags() const { return flags.load(std::memory_order_relaxed); }
    bool Removes(RemoteCategory category) const { return (Flags() & kRemoteCategories[category].flagsBit) != 0; }
    int Points(RemoteCategory category) const { return points[category].load(std::memory_order_relaxed); }
    void SetFlags(int value) { flags.store(value, std::memory_order_relaxed); }
    void SetPoints(RemoteCategory category, int value) { points[category].store(value, std::memory_order_relaxed); }

    // The list that analyses use: the shipped one and the admin's own table, whose bad
    // lines are left out (settings --check names them).
    std::shared_ptr<const TrackerList> Trackers() const;
    std::string OwnTrackersPath() const;

private:
    void LoadTrackers();

    std::atomic<std::int32_t> flags;
    std::atomic<std::int32_t> points[RemoteCategoryCount];
    std::string iniDirectory;
    std::string hostDirectory;
    std::shared_ptr<const TrackerList> trackers;
};

#endif
