// The program's start: one instance only, then the splash or the main window.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/FileSystem.h"
#include "core/SettingsStore.h"

namespace reelwright {

enum class StartupChoice { Exit, ShowSplash, ShowMainWindow };

// The name of the mutex that tells a running instance of this version.
std::string SingleInstanceMutexName(const std::string& appKey);

// Decides what the start shows: nothing when another instance runs; the main
// window when "Load Splash" reads as 0; the splash screen otherwise (also when
// the value is missing, not a number, or cannot be read).
StartupChoice DecideStartup(bool anotherInstanceRunning, SettingsStore& store);

// " Version:" + three blanks + "1.0.15"
std::string SplashVersionCaption();

inline constexpr int kSplashMilliseconds = 2000;

// The private helper mode ("/copy-script ...", started by Launch with
// administrator rights): runs it and gives its exit code. Nothing for any
// other command line, which starts the program as usual. The helper mode
// shows no window and does not count as an instance of the program.
std::optional<int> RunHelperMode(std::string_view commandLineTail, FileSystem& files);

}  // namespace reelwright
