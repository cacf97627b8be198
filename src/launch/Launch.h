// The Launch action of the main window: with one queued demo it starts the
// game on that demo; with two or more it writes the playback script, places a
// copy in every game-type folder of the queue and starts the game on the first
// demo with the script. A step that fails is skipped and the next one runs,
// except for what is told to the user: a game folder, queue names or (for the
// script) demo keys that the game's console cannot take (a stop box, checked
// before anything is written or started), a game that could not be started (a
// stop box), a game-type folder the script did not reach (with the offer to
// place it with administrator rights when access was denied, and the choice
// of starting the game anyway), and a queue longer than one session should
// step through (a question before anything is written).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/AppServices.h"
#include "session/SessionGuard.h"
#include "queue/DemoQueue.h"

namespace reelwright {

// The number of demos one game session can step through without risk. Each
// demo of the script costs the game one console variable, the game holds 1 024
// in all (most of them its own), and creating one more ends it with an error.
inline constexpr std::size_t kSafeDemosPerSession = 200;

inline constexpr const char* kLongQueueTitle = "Reelwright - Long queue";

// The question asked at Launch when more than kSafeDemosPerSession demos are
// queued: Yes plays the first ones only, No all of them, Cancel nothing.
std::string LongQueueQuestionText(std::size_t queued);

// Runs Launch against the given services (services.location.folder is the
// program's folder, where the script is written). `optionalParameters` is the
// text of the optional-parameters box, used only for one demo. Returns true
// when the main window is to be minimised: "Min on Playback" read as 1, also
// when nothing was to be started (empty queue, no game folder), but not after
// a stop box or when the user chose not to start the game. services.elevation
// starts the helper that places the script with administrator rights. A
// launch of two or more demos records the game-type folders' configs in the
// session journal of `sessions` before it changes anything, and the game's end
// puts them back. When some config will not be put back (no place for the
// journal, a journal that cannot be locked, read or written, a config that
// cannot be read), Launch asks first ("Reelwright - Demo keys"): Yes plays
// anyway, No starts nothing.
bool Launch(AppServices& services, SessionPlatform& sessions, const DemoQueue& queue,
            std::string_view optionalParameters);

// The key that Launch binds for bind `index` (0 to 7) while none is stored;
// the empty text for any other index.
std::string LaunchBindFallback(int index);

}  // namespace reelwright
