#include "core/Layout.h"

#include <charconv>
#include <utility>

namespace reelwright {

namespace {

bool Overlap(const PixelRect& a, const PixelRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

}  // namespace

int WidthToFit(const PixelRect& designed, int needed, int rightLimit, std::span<const PixelRect> neighbours) {
    if (needed <= designed.width) return designed.width;
    if (designed.left + needed > rightLimit) return designed.width;
    const PixelRect grown{designed.left, designed.top, needed, designed.height};
    for (const PixelRect& neighbour : neighbours)
        if (!Overlap(designed, neighbour) && Overlap(grown, neighbour)) return designed.width;
    return needed;
}

namespace {

// Where an edge pair lands along one direction: start and length.
std::pair<int, int> Follows(int start, int length, Follow follow, int extra) {
    switch (follow) {
        case Follow::End: return {start + extra, length};
        case Follow::Grow: return {start, length + extra};
        case Follow::Centre: return {start + extra / 2, length};
        case Follow::Start: break;
    }
    return {start, length};
}

}  // namespace

PixelRect Anchored(const PixelRect& designed, Anchor anchor, int extraWidth, int extraHeight) {
    const auto [left, width] = Follows(designed.left, designed.width, anchor.horizontal, extraWidth > 0 ? extraWidth : 0);
    const auto [top, height] = Follows(designed.top, designed.height, anchor.vertical, extraHeight > 0 ? extraHeight : 0);
    return {left, top, width, height};
}

TwipsSize OpeningClientSize(std::optional<TwipsSize> stored, TwipsSize designed, const ScreenRoom& screen) {
    if (!stored || stored->width < designed.width || stored->height < designed.height) return designed;
    const long long windowWidth = TwipsToPixels(stored->width, screen.dpi) + static_cast<long long>(screen.frameWidth);
    const long long windowHeight =
        TwipsToPixels(stored->height, screen.dpi) + static_cast<long long>(screen.frameHeight);
    if (windowWidth > screen.width || windowHeight > screen.height) return designed;
    return *stored;
}

std::optional<int> ParseStoredTwips(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value > kLargestStoredTwips) return std::nullopt;
    return value;
}

std::string FormatColumnWidths(std::span<const int> widthsTwips) {
    std::string text;
    for (const int width : widthsTwips) {
        if (!text.empty()) text += ',';
        text += std::to_string(width);
    }
    return text;
}

std::optional<std::vector<int>> ParseColumnWidths(std::string_view text, std::size_t count) {
    std::vector<int> widths;
    for (;;) {
        const std::size_t comma = text.find(',');
        const std::optional<int> width = ParseStoredTwips(text.substr(0, comma));
        if (!width) return std::nullopt;
        widths.push_back(*width);
        if (widths.size() > count) return std::nullopt;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (widths.size() != count) return std::nullopt;
    return widths;
}

}  // namespace reelwright
