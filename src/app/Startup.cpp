#include "app/Startup.h"

#include <exception>

#include "core/AppInfo.h"
#include "core/Text.h"
#include "elevated/ScriptCopyHelper.h"

namespace reelwright {

std::string SingleInstanceMutexName(const std::string& appKey) { return appKey + "_SingleInstance"; }

StartupChoice DecideStartup(bool anotherInstanceRunning, SettingsStore& store) {
    if (anotherInstanceRunning) return StartupChoice::Exit;
    std::string value;
    try {
        value = store.GetSetting(kSectionSettings, kKeyLoadSplash, "1");
    } catch (const std::exception&) {
        return StartupChoice::ShowSplash;
    }
    const auto number = WholeNumber(value);
    return number && *number == 0 ? StartupChoice::ShowMainWindow : StartupChoice::ShowSplash;
}

std::string SplashVersionCaption() { return std::string(" Version:") + "   " + VersionText(); }

std::optional<int> RunHelperMode(std::string_view commandLineTail, FileSystem& files) {
    if (!IsCopyScriptCommandLine(commandLineTail)) return std::nullopt;
    return RunCopyScriptHelper(files, commandLineTail);
}

}  // namespace reelwright
