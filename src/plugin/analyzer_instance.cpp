#include "plugin/analyzer_instance.h"

namespace {

constexpr const char* kSettingsSection = "Settings";
constexpr const char* kFlagsKey = "Flags";
constexpr const char* kGeneralSection = "General";
constexpr const char* kActiveKey = "Active";
constexpr const char* kOrderSection = "AnalyzerOrder";
constexpr int kDefaultActive = 1;

}  // namespace

AnalyzerInstance::AnalyzerInstance(HMODULE module) : IniFile(module), flags(0), points{} {}

AnalyzerInstance::~AnalyzerInstance() = default;

void AnalyzerInstance::SetIniDirectory(const char* directory)
{
    iniDirectory = directory;
    SetDirectory(directory);
}

void AnalyzerInstance::SetHostDirectory(const char* directory)
{
    hostDirectory = directory;
}

CString AnalyzerInstance::GetHostDirectory() const
{
    return hostDirectory;
}

int AnalyzerInstance::LoadSettings()
{
    flags.store(ReadInt(kSettingsSection, kFlagsKey, kDefaultFlags), std::memory_order_relaxed);
    for (int category = 0; category < CategoryCount; ++category) {
        const CategoryInfo& info = kCategories[category];
        points[category].store(ReadInt(kSettingsSection, info.pointsKey, info.defaultPoints),
                               std::memory_order_relaxed);
    }
    return 0;
}

int AnalyzerInstance::SaveSettings()
{
    WriteInt(kSettingsSection, kFlagsKey, Flags());
    for (int category = 0; category < CategoryCount; ++category) {
        WriteInt(kSettingsSection, kCategories[category].pointsKey,
                 Points(static_cast<Category>(category)));
    }
    return 0;
}

int AnalyzerInstance::GetActive() const
{
    return ReadInt(kGeneralSection, kActiveKey, kDefaultActive);
}

void AnalyzerInstance::SetActive(int value)
{
    WriteInt(kGeneralSection, kActiveKey, value);
}

// The host's ini file is named after the host's executable and lies in the host directory.
int AnalyzerInstance::GetOrder() const
{
    IniFile hostIni(nullptr);
    hostIni.SetDirectory(GetHostDirectory());
    return hostIni.ReadInt(kOrderSection, kAnalyzerName, kDefaultOrder);
}
