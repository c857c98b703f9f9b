#ifndef TAGSTRIP_HOST_SETTINGS_LOCATION_H
#define TAGSTRIP_HOST_SETTINGS_LOCATION_H

#include <optional>
#include <string>

// Whether the directory is only read (filtering, showing) or is to receive settings
// (changing them), in which case a missing last component is created.
enum class SettingsAccess { Read, Write };

// The settings directory for one run.
struct SettingsLocation {
    std::string directory;  // handed to the analyzer as its ini directory
    bool found = false;     // false: nothing found, the built-in defaults apply
    std::string warning;    // set when the built-in defaults apply
};

// The directory where the settings lie, first of:
//   explicitDirectory (a front end's own option), then $TAGSTRIP_CONFIG_DIR: either must
//   exist when read; when written its last component is created, never its parents;
//   $XDG_CONFIG_HOME/tagstrip, else ~/.config/tagstrip: when it exists (created when
//   written, under an existing parent);
//   the system directory (/etc/tagstrip), read only;
//   nothing: the built-in defaults, with a warning.
// Relative $XDG_CONFIG_HOME and $HOME are ignored, so no path depends on the current
// directory. False with error set when the settings cannot be located.
bool LocateSettings(const std::optional<std::string>& explicitDirectory, SettingsAccess access,
                    SettingsLocation& location, std::string& error);

#endif
