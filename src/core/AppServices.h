// The platform seams that the windows work through, bundled so that the
// program passes the real ones (built once, by the program's start) and tests
// pass recording fakes.
#pragma once

#include "core/ProgramLocation.h"
#include "core/SettingsStore.h"
#include "core/UserPrompts.h"
#include "core/ClassesRegistry.h"
#include "core/ElevatedRunner.h"
#include "core/FileSystem.h"
#include "core/GameShell.h"

namespace reelwright {

struct AppServices {
    SettingsStore& store;
    UserPrompts& prompts;
    FileSystem& files;
    GameShell& shell;
    ClassesRegistry& classes;
    // Places the playback script with administrator rights.
    ElevatedRunner& elevation;
    ProgramLocation location;
};

}  // namespace reelwright
