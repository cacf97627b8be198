// The Launch action of the main window: with one queued demo it starts the
// game on that demo; with two or more it writes the playback script, places a
// copy in every game-type folder of the queue and starts the game on the first
// demo with the script. A step that fails is skipped and the next one runs,
// except for what is told to the user: a game folder, queue names or (for the
// script) demo keys that the game's console cannot take (a stop box, checked
// before anything is written or started), a
// game that could not be started (a stop box), and a game-type folder the
// script did not reach (with the offer to place it with administrator rights
// when access was denied, and the choice of starting the game anyway).
#pragma once

#include <string>
#include <string_view>

#include "core/AppServices.h"
#include "core/ElevatedRunner.h"
#include "launch/SessionGuard.h"
#include "queue/DemoQueue.h"

namespace reelwright {

// Runs Launch against the given services (services.location.folder is the
// program's folder, where the script is written). `optionalParameters` is the
// text of the optional-parameters box, used only for one demo. Returns true
// when the main window is to be minimised: "Min on Playback" read as 1, also
// when nothing was to be started (empty queue, no game folder), but not after
// a stop box or when the user chose not to start the game. `elevation` starts
// the helper that places the script with administrator rights; without it
// that offer is not made. With `sessions`, a launch of two or more demos
// records the game-type folders' configs in the session journal before it
// changes anything, and the game's end puts them back.
bool Launch(AppServices& services, const DemoQueue& queue, std::string_view optionalParameters,
            ElevatedRunner* elevation = nullptr, SessionPlatform* sessions = nullptr);

// The key that Launch binds for bind `index` (0 to 7) while none is stored;
// the empty text for any other index.
std::string LaunchBindFallback(int index);

}  // namespace reelwright
