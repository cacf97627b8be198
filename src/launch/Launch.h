// The Launch action of the main window: with one queued demo it starts the
// game on that demo; with two or more it writes the playback script, places a
// copy in every game-type folder of the queue and starts the game on the first
// demo with the script. A step that fails is skipped and the next one runs;
// two things are told in a stop box: a queue whose names the game's console
// cannot take (checked before anything is written or started), and a game
// that could not be started.
#pragma once

#include <string_view>

#include "core/AppServices.h"
#include "queue/DemoQueue.h"

namespace reelwright {

// Runs Launch against the given services (services.location.folder is the
// program's folder, where the script is written). `optionalParameters` is the
// text of the optional-parameters box, used only for one demo. Returns true
// when the main window is to be minimised: "Min on Playback" read as 1, also
// when nothing was to be started (empty queue, no game folder), but not after
// either stop box.
bool Launch(AppServices& services, const DemoQueue& queue, std::string_view optionalParameters);

}  // namespace reelwright
