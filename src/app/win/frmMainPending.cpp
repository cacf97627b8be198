// Temporary definitions of the main window's handlers that are still being
// built; each moves to the file of the feature that implements it.
#include "app/win/Win32Prompts.h"
#include "app/win/frmMain.h"

namespace reelwright {

}  // namespace reelwright
