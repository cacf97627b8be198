// The Launch action of the main window: with one queued demo it starts the
// game on that demo; with two or more it writes the playback script, places a
// copy in every game-type folder of the queue and starts the game on the first
// demo with the script. It shows no messages: a step that fails is skipped and
// the next one runs.
#pragma once

#include <string>
#include <string_view>

#include "core/AppServices.h"
#include "queue/DemoQueue.h"

namespace reelwright {

// Runs Launch against the given services (services.location.folder is the
// program's folder, where the script is written). `optionalParameters` is the
// text of the optional-parameters box, used only for one demo. Returns true
// when the main window is to be minimised ("Min on Playback" read as 1), in
// every case, also when nothing was started.
bool Launch(AppServices& services, const DemoQueue& queue, std::string_view optionalParameters);

// The key that Launch binds for bind `index` (0 to 7) while none is stored;
// the empty text for any other index.
std::string LaunchBindFallback(int index);

}  // namespace reelwright
