#include "app/Startup.h"

#include <exception>

#include "core/AppInfo.h"
#include "core/Text.h"

namespace reelwright {

std::string SingleInstanceMutexName(const std::string& appKey) { return appKey + "_SingleInstance"; }

StartupChoice DecideStartup(bool anotherInstanceRunning, SettingsStore& store, const std::string& appKey) {
    if (anotherInstanceRunning) return StartupChoice::Exit;
    std::string value;
    try {
        value = store.GetSetting(appKey, kSectionSettings, kKeyLoadSplash, "1");
    } catch (const std::exception&) {
        return StartupChoice::ShowSplash;
    }
    const auto number = WholeNumber(value);
    return number && *number == 0 ? StartupChoice::ShowMainWindow : StartupChoice::ShowSplash;
}

std::string SplashVersionCaption() { return std::string(" Version:") + "   " + VersionText(); }

}  // namespace reelwright
