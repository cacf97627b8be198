// Window layouts are given in twips (1440 per inch) and converted to pixels at
// the window's DPI: at 96 DPI 15 twips make one pixel.
#pragma once

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

}  // namespace reelwright
