#include "core/Layout.h"

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

}  // namespace reelwright
