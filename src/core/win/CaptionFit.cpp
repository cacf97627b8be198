#include "core/win/CaptionFit.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/win/Controls.h"

namespace reelwright::win {

namespace {

// How far in from a frame's right edge a control may reach: as far as the
// layouts keep their controls from a frame's left edge.
constexpr int kFrameMarginTwips = 120;
// A check box's or option button's box and the gap before its caption, at 96 DPI.
constexpr int kCheckBoxAndGap = 13 + 4;

bool IsClass(HWND window, const wchar_t* name) {
    wchar_t className[32]{};
    ::GetClassNameW(window, className, 32);
    return ::lstrcmpiW(className, name) == 0;
}

bool IsFrame(HWND window) {
    return IsClass(window, L"Button") && (::GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

bool Contains(const PixelRect& outer, const PixelRect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.left + inner.width <= outer.left + outer.width &&
           inner.top + inner.height <= outer.top + outer.height;
}

}  // namespace

int OneLineCaptionWidth(HWND control, int boxHeight, int dpi) {
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    UINT format = DT_CALCRECT | DT_SINGLELINE;
    int extra = 0;
    bool label = false;
    if (IsClass(control, L"Static")) {
        const LONG type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE) return 0;
        if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
        label = true;
    } else if (IsClass(control, L"Button")) {
        switch (style & BS_TYPEMASK) {
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_3STATE:
            case BS_AUTO3STATE:
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON: break;
            default: return 0;
        }
        if (style & (BS_MULTILINE | BS_PUSHLIKE)) return 0;
        extra = ::MulDiv(kCheckBoxAndGap, dpi, 96);
    } else {
        return 0;
    }

    const int length = ::GetWindowTextLengthW(control);
    if (length <= 0) return 0;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), length + 1)));

    HDC dc = ::GetDC(control);
    if (!dc) return 0;
    const HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, 0, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, format);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, previous);
    ::ReleaseDC(control, dc);

    // A label with room for a second line wraps by design.
    if (label && boxHeight * 2 >= metrics.tmHeight * 3) return 0;
    return needed.right + extra;
}

void FitCaption(HWND control, const PixelRect& designed, int dpi) {
    const int needed = OneLineCaptionWidth(control, designed.height, dpi);
    if (needed <= designed.width) return;

    HWND parent = ::GetParent(control);
    RECT client{};
    ::GetClientRect(parent, &client);
    int rightLimit = client.right;
    std::vector<PixelRect> neighbours;
    for (HWND sibling = ::GetWindow(parent, GW_CHILD); sibling; sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling == control) continue;
        const PixelRect place = PlaceInParent(sibling, parent);
        if (IsFrame(sibling) && Contains(place, designed))
            rightLimit = std::min(rightLimit, place.left + place.width - TwipsToPixels(kFrameMarginTwips, dpi));
        else
            neighbours.push_back(place);
    }
    const int width = WidthToFit(designed, needed, rightLimit, neighbours);
    if (width != designed.width)
        ::SetWindowPos(control, nullptr, 0, 0, width, designed.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace reelwright::win
