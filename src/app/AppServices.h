// The platform seams that the windows work through, bundled so that the
// program passes the real ones and tests pass recording fakes.
#pragma once

#include "app/ProgramLocation.h"
#include "app/SettingsStore.h"
#include "app/UserPrompts.h"
#include "shell/ClassesRegistry.h"
#include "shell/FileSystem.h"
#include "shell/GameShell.h"

namespace reelwright {

struct AppServices {
    SettingsStore& store;
    UserPrompts& prompts;
    FileSystem& files;
    GameShell& shell;
    ClassesRegistry& classes;
    ProgramLocation location;
};

}  // namespace reelwright
