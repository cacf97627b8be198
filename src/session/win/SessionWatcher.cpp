#include "session/win/SessionWatcher.h"

#include <windows.h>

#include "core/win/basAPI.h"
#include "session/SessionWatch.h"
#include "session/win/Win32SessionPlatform.h"

namespace reelwright::win {

int RunSessionWatcher(std::string_view commandLineTail, SessionPlatform& platform, UserPrompts& prompts) {
    if (const auto request = ParseWatchSessionParameters(commandLineTail)) {
        // The inherited handle when it is what the command line says; else the
        // process by its id, when it is still the one created then.
        basAPI::UniqueHandle game(reinterpret_cast<HANDLE>(request->handle));
        if (!game || ::GetProcessId(game.get()) != request->game.id ||
            CreationTime(game.get()) != request->game.creationTime) {
            game.release();
            game.reset(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, request->game.id));
            if (game && CreationTime(game.get()) != request->game.creationTime) game.reset();
        }
        if (game) ::WaitForSingleObject(game.get(), INFINITE);
    }
    RecoverEndedSessions(platform, prompts);
    return 0;
}

}  // namespace reelwright::win
