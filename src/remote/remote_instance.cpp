#include "remote/remote_instance.h"

#include <cstdio>
#include <memory>

namespace {

constexpr const char* kSettingsSection = "Settings";
constexpr const char* kFlagsKey = "Flags";
constexpr const char* kGeneralSection = "General";
constexpr const char* kActiveKey = "Active";
constexpr const char* kOrderSection = "AnalyzerOrder";
constexpr int kDefaultActive = 1;

// With the C library's files rather than a C++ stream: the first C++ stream of a run sets
// up the C++ locale, which costs a filter run about 50 microseconds, and most runs find no
// tracker table of an admin's own to read.
bool ReadWholeFile(const std::string& path, std::string& text)
{
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (file == nullptr) {
        return false;
    }
    char block[16384];
    text.clear();
    std::size_t read = 0;
    while ((read = std::fread(block, 1, sizeof block, file.get())) > 0) {
        text.append(block, read);
    }
    return std::ferror(file.get()) == 0;
}

}  // namespace

RemoteInstance::RemoteInstance(HMODULE module)
    : IniFile(module), flags(kRemoteDefaultFlags), points{}, trackers(std::make_shared<TrackerList>())
{
}

RemoteInstance::~RemoteInstance() = default;

void RemoteInstance::SetIniDirectory(const char* directory)
{
    iniDirectory = directory;
    SetDirectory(directory);
}

void RemoteInstance::SetHostDirectory(const char* directory)
{
    hostDirectory = directory;
}

void RemoteInstance::LoadSettings()
{
    flags.store(ReadInt(kSettingsSection, kFlagsKey, kRemoteDefaultFlags), std::memory_order_relaxed);
    for (int category = 0; category < RemoteCategoryCount; ++category) {
        const RemoteCategoryInfo& info = kRemoteCategories[category];
        points[category].store(ReadInt(kSettingsSection, info.pointsKey, info.defaultPoints),
                               std::memory_order_relaxed);
    }
    LoadTrackers();
}

void RemoteInstance::SaveSettings() const
{
    WriteInt(kSettingsSection, kFlagsKey, Flags());
    for (int category = 0; category < RemoteCategoryCount; ++category) {
        WriteInt(kSettingsSection, kRemoteCategories[category].pointsKey, Points(static_cast<RemoteCategory>(category)));
    }
}

int RemoteInstance::GetActive() const
{
    return ReadInt(kGeneralSection, kActiveKey, kDefaultActive);
}

void RemoteInstance::SetActive(int value) const
{
    WriteInt(kGeneralSection, kActiveKey, value);
}

// The host's ini file is named after the host's executable and lies in the host
// directory, as for every analyzer of the host.
int RemoteInstance::GetOrder() const
{
    IniFile hostIni(nullptr);
    hostIni.SetDirectory(hostDirectory.c_str());
    return hostIni.ReadInt(kOrderSection, kRemoteAnalyzerName, kRemoteDefaultOrder);
}

std::string RemoteInstance::OwnTrackersPath() const
{
    return iniDirectory + "/" + kOwnTrackersFile;
}

// Analyses that already hold the old list finish with it. The patterns are read when
// the first address is matched; the settings check reports the own table's problems.
void RemoteInstance::LoadTrackers()
{
    auto list = std::make_shared<TrackerList>();
    list->AddTableAtFirstMatch(kBuiltInTrackers);
    std::string own;
    if (ReadWholeFile(OwnTrackersPath(), own)) {
        list->AddTableAtFirstMatch(std::move(own));
    }
    list->Compile();
    std::atomic_store(&trackers, std::shared_ptr<const TrackerList>(std::move(list)));
}

std::shared_ptr<const TrackerList> RemoteInstance::Trackers() const
{
    return std::atomic_load(&trackers);
}
