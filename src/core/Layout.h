// Window layouts are given in twips (1440 per inch) and converted to pixels at
// the window's DPI: at 96 DPI 15 twips make one pixel.
#pragma once

#include <span>

namespace reelwright {

struct TwipsRect {
    int left, top, width, height;
};

struct PixelRect {
    int left, top, width, height;
    bool operator==(const PixelRect&) const = default;
};

// Rounds to the nearest pixel.
constexpr int TwipsToPixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440));
}

constexpr PixelRect ToPixels(const TwipsRect& rect, int dpi) {
    return {TwipsToPixels(rect.left, dpi), TwipsToPixels(rect.top, dpi), TwipsToPixels(rect.width, dpi),
            TwipsToPixels(rect.height, dpi)};
}

// A control placed inside a container at `offset` (the container's place).
constexpr TwipsRect Offset(const TwipsRect& rect, const TwipsRect& container) {
    return {container.left + rect.left, container.top + rect.top, rect.width, rect.height};
}

// The width a control placed at `designed` takes so that a caption `needed`
// pixels wide fits on one line. It keeps its designed width when that is
// enough. Otherwise it grows to the right to exactly `needed`, keeping its
// left and top, as long as its right edge stays at or left of `rightLimit`
// (its frame's or its parent's inner edge) and it enters none of `neighbours`
// (the sibling controls' places; one it overlaps already, such as a picture it
// lies on, does not count). Where there is no such room it keeps its designed
// width: a control never covers another.
int WidthToFit(const PixelRect& designed, int needed, int rightLimit, std::span<const PixelRect> neighbours);

}  // namespace reelwright
