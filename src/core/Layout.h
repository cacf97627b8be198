// Window layouts are given in twips (1440 per inch) and converted to pixels at
// the window's DPI: at 96 DPI 15 twips make one pixel.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace reelwright {

struct TwipsRect {
    int left, top, width, height;
};

struct PixelRect {
    int left, top, width, height;
    bool operator==(const PixelRect&) const = default;
};

struct TwipsSize {
    int width, height;
    bool operator==(const TwipsSize&) const = default;
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

// Pixels back to twips, rounded to the nearest twip. For any DPI below 1440 a
// whole number of pixels comes back unchanged from twips: a size kept in
// twips is the same size at the next start on the same screen.
constexpr int PixelsToTwips(int pixels, int dpi) {
    if (dpi <= 0) return 0;
    const long long scaled = static_cast<long long>(pixels) * 1440;
    const long long half = dpi / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / dpi : -((-scaled + half) / dpi));
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

// How a control follows its window when the window's client area is larger
// than designed, along one direction: it keeps its distance to the window's
// left (top) edge, keeps its distance to the right (bottom) edge, grows by as
// much as the window, or keeps its distance to the window's centre.
enum class Follow { Start, End, Grow, Centre };

struct Anchor {
    Follow horizontal = Follow::Start;
    Follow vertical = Follow::Start;
};

// The place of a control designed at `designed` (in the window's client area)
// when that area is `extraWidth` and `extraHeight` pixels larger than designed.
// A client area smaller than designed (a screen too small for the window)
// leaves every control at its designed place.
PixelRect Anchored(const PixelRect& designed, Anchor anchor, int extraWidth, int extraHeight);

// A screen a window may open on: its work area in pixels, its DPI, and what
// the window's border, caption and menu bar add to a client area there.
struct ScreenRoom {
    int width, height, dpi;
    int frameWidth, frameHeight;
};

// The client area a resizable window opens with: the `stored` one (from its
// last run) when it is at least `designed` in both directions and the window
// around it fits on `screen`; the designed one otherwise, also when nothing
// was stored.
TwipsSize OpeningClientSize(std::optional<TwipsSize> stored, TwipsSize designed, const ScreenRoom& screen);

// A size in twips as the settings keep it: a whole number of twips, nothing
// else but blanks around it; nothing for any other text or for a number
// above kLargestStoredTwips.
std::optional<int> ParseStoredTwips(std::string_view text);
// The largest coordinate a window takes (32767 pixels) at 96 DPI.
inline constexpr int kLargestStoredTwips = 32767 * 15;

// Column widths in twips as the settings keep them: the numbers joined by
// commas ("1440,1440,1080").
std::string FormatColumnWidths(std::span<const int> widthsTwips);
// The widths of exactly `count` columns, each a number as ParseStoredTwips
// takes it; nothing when the text holds another count or anything else.
std::optional<std::vector<int>> ParseColumnWidths(std::string_view text, std::size_t count);

}  // namespace reelwright
