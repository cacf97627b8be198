// Decoding the program's picture resources into bitmaps.
#pragma once

#include <windows.h>

#include "core/win/basAPI.h"

namespace reelwright::win {

// Decodes the image stored as RCDATA resource `id` (any format the system's
// imaging component reads, JPEG included) and scales it to width x height.
basAPI::UniqueBitmap LoadPictureResource(int id, int width, int height);

}  // namespace reelwright::win
