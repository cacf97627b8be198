#include "app/DemosWindowSettings.h"

#include <charconv>
#include <exception>
#include <string>

#include "core/Text.h"

namespace reelwright {

std::optional<int> ParseStoredPixels(std::string_view text) {
    const std::string trimmed = TrimBlanks(text);
    int value = 0;
    const char* end = trimmed.data() + trimmed.size();
    const auto [stop, error] = std::from_chars(trimmed.data(), end, value);
    if (trimmed.empty() || error != std::errc{} || stop != end || value < -32768 || value > 32767) return std::nullopt;
    return value;
}

DemosWindowSettings ReadDemosWindowSettings(SettingsStore& store, std::size_t columnCount) {
    DemosWindowSettings settings;
    try {
        const auto left = ParseStoredPixels(store.GetSetting(kSectionDemosWindow, kKeyLeft));
        const auto top = ParseStoredPixels(store.GetSetting(kSectionDemosWindow, kKeyTop));
        if (left && top) {
            settings.left = left;
            settings.top = top;
        }
        const auto width = ParseStoredTwips(store.GetSetting(kSectionDemosWindow, kKeyWidth));
        const auto height = ParseStoredTwips(store.GetSetting(kSectionDemosWindow, kKeyHeight));
        if (width && height) settings.clientSize = TwipsSize{*width, *height};
        settings.columnTwips = ParseColumnWidths(store.GetSetting(kSectionDemosWindow, kKeyColumnWidths), columnCount);
    } catch (const std::exception&) {
        return {};
    }
    return settings;
}

void SaveDemosWindowSettings(SettingsStore& store, int left, int top, TwipsSize clientSize,
                             const std::vector<int>& columnTwips) {
    try {
        store.SaveSetting(kSectionDemosWindow, kKeyLeft, std::to_string(left));
        store.SaveSetting(kSectionDemosWindow, kKeyTop, std::to_string(top));
        store.SaveSetting(kSectionDemosWindow, kKeyWidth, std::to_string(clientSize.width));
        store.SaveSetting(kSectionDemosWindow, kKeyHeight, std::to_string(clientSize.height));
        store.SaveSetting(kSectionDemosWindow, kKeyColumnWidths, FormatColumnWidths(columnTwips));
    } catch (const std::exception&) {
        // A place not kept opens the window at its default place next time.
    }
}

}  // namespace reelwright
