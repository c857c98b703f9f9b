#ifndef TAGSTRIP_MILTER_MILTER_CONFIGURATION_H
#define TAGSTRIP_MILTER_MILTER_CONFIGURATION_H

#include <memory>
#include <string>
#include <vector>

#include "milter/milter_options.h"

// The options in force: the defaults, then the configuration file, then the command line,
// which wins; and the skip lists the options name. Read at start and again on SIGHUP.
class MilterConfiguration {
public:
    explicit MilterConfiguration(std::vector<OptionSetting> commandLine);

    // False with each problem as "FILE:LINE: problem".
    bool Load(std::vector<std::string>& problems);
    // Reads everything again; the options that take effect only at start keep their
    // running values, and restartNeeded names those whose new value waits for a restart.
    // On problems the loaded options stay as they were.
    bool Reload(std::vector<std::string>& problems, std::vector<std::string>& restartNeeded);

    // The options loaded last; a connection keeps the ones it started with.
    std::shared_ptr<const MilterOptions> Options() const { return options; }
    const std::string& File() const { return file; }

private:
    bool Collect(std::vector<OptionSetting>& settings, std::vector<std::string>& problems) const;
    bool Build(const std::vector<OptionSetting>& settings, std::vector<std::string>& problems);

    std::vector<OptionSetting> commandLine;
    std::string file;
    bool fileRequired;
    std::vector<OptionSetting> settings;  // those in force, file settings first
    std::shared_ptr<const MilterOptions> options;
};

// The settings of a configuration file: one "option value" a line ('=' between the two
// is fine too), switches with yes or no (or nothing: yes), '#' lines and blank lines
// skipped, relative paths taken from the file's directory. A missing file is no problem
// unless required.
bool ReadConfigFile(const std::string& path, bool required, std::vector<OptionSetting>& settings,
                    std::vector<std::string>& problems);

#endif
