// The texts the queue's list shows from a demo's details: the Map and Length
// cells, and the tip over a row.
#pragma once

#include <cstdint>
#include <string>

#include "queue/DemoDetails.h"

namespace reelwright {

// "980 bytes", "1.4 MB": one decimal from a kilobyte (1024 bytes) on.
std::string SizeText(std::uintmax_t bytes);

// "2026-12-07 16:05".
std::string TimeText(const LocalTime& time);

// "m:ss" below an hour, "h:mm:ss" from an hour on; whole seconds, rounded.
std::string LengthText(std::int64_t milliseconds);

// The cells of a row whose details are `details` (nullptr while pending):
// empty while pending; the Map cell is "?" for a file that cannot be read,
// whose Length cell stays empty.
std::string MapCellText(const DemoDetails* details);
std::string LengthCellText(const DemoDetails* details);

// Why a file cannot be read, as a clause: "it ends inside its first record".
std::string RefusalText(DemoReadRefusal refusal);

// The most player names a line of the tip lists; the others are counted.
inline constexpr std::size_t kTipPlayerNames = 16;

// The tip over a row, one fact per line ("\r\n" between lines):
//   Map: mp_shop
//   Server: Red Dragons
//   Mode: Capture the Flag
//   Mod: mymod                    (only for a demo recorded with a mod)
//   Players (3):
//   Red team: Alice, Bob
//   Blue team: Carol
//   Length: 12:05
//   Size: 1.4 MB
//   Written: 2026-12-07 16:05
// When no player is red, blue or a spectator (a mode without teams), the
// names follow "Players (3):" on its own line. For a file that cannot be
// read, its reason takes the lines before "Size".
std::string DemoInfoTip(const DemoDetails* details);

}  // namespace reelwright
