// What the demo browser keeps of itself from one opening to the next: its
// place, its size and its column widths (section "Demos Window").
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "core/Layout.h"
#include "core/SettingsStore.h"

namespace reelwright {

struct DemosWindowSettings {
    // The outer top left corner on the desktop, in pixels: both or neither.
    std::optional<int> left, top;
    std::optional<TwipsSize> clientSize;
    std::optional<std::vector<int>> columnTwips;
};

// A stored coordinate: a whole number of pixels (negative on a screen left of
// or above the main one), nothing but blanks around it, within the range a
// window takes; nothing otherwise.
std::optional<int> ParseStoredPixels(std::string_view text);

// Reads every value; a value that is missing or not as written is left out.
// A store that cannot be read gives nothing at all.
DemosWindowSettings ReadDemosWindowSettings(SettingsStore& store, std::size_t columnCount);

// Writes every value; a store that cannot be written is passed over (the
// window is closing).
void SaveDemosWindowSettings(SettingsStore& store, int left, int top, TwipsSize clientSize,
                             const std::vector<int>& columnTwips);

}  // namespace reelwright
