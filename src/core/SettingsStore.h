// The per-user settings store: text values addressed by section and key, for
// the one application key the store was made for (AppKey). The Windows
// program keeps them in the registry under
// HKCU\Software\Reelwright\<application>\<section>; tests pass a fake.
#pragma once

#include <string>

namespace reelwright {

inline constexpr const char* kSectionSettings = "Settings";
inline constexpr const char* kSectionBinds = "Binds";
inline constexpr const char* kSectionMainWindow = "Main Window";

inline constexpr const char* kKeyGamePath = "SOF2 Path";
inline constexpr const char* kKeyAssociate = "Associate";
inline constexpr const char* kKeyLoadSplash = "Load Splash";
inline constexpr const char* kKeyMinOnPlayback = "Min on Playback";
inline constexpr const char* kKeyLoadExtraConfig = "Load Extra Config";

// Section "Main Window", written when the main window closes and read when it
// opens: the size of its client area (below the menu bar) in twips, whether
// it was maximised ("1" or "0"), and the queue's column widths in twips,
// joined by commas.
inline constexpr const char* kKeyWidth = "Width";
inline constexpr const char* kKeyHeight = "Height";
inline constexpr const char* kKeyMaximised = "Maximised";
inline constexpr const char* kKeyColumnWidths = "Column Widths";

// Section "Demos Window", written when the demo browser closes and read when
// it opens: the place of its outer top left corner on the desktop in pixels
// ("Left", "Top"), the size of its client area in twips ("Width", "Height")
// and its column widths in twips ("Column Widths").
inline constexpr const char* kSectionDemosWindow = "Demos Window";
inline constexpr const char* kKeyLeft = "Left";
inline constexpr const char* kKeyTop = "Top";

// "Bind0" ... "Bind7".
std::string BindKey(int index);

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text, or `defaultValue` when the application, section or key
    // does not exist. A missing value is never an error; a store that cannot
    // be read at all throws std::runtime_error.
    virtual std::string GetSetting(const std::string& section, const std::string& key,
                                   const std::string& defaultValue = "") = 0;

    // Stores the text, creating what is missing and overwriting an earlier value.
    // Throws std::runtime_error when the store cannot be written.
    virtual void SaveSetting(const std::string& section, const std::string& key, const std::string& value) = 0;
};

// The game folder as every reader takes it: "SOF2 Path" without a default,
// leading and trailing blanks removed; empty means not set.
std::string ReadGameFolder(SettingsStore& store);

}  // namespace reelwright
