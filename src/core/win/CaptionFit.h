// Captions in another font than the layouts were drawn for. Where "MS Shell
// Dlg" falls back to a wider font (a Wine without its own fonts, for one), a
// one-line caption can need more than its designed box and would wrap or be
// cut off. Such a control grows to the right into free room.
#pragma once

#include <windows.h>

#include "core/Layout.h"

namespace reelwright::win {

// The width that the caption of `control` needs on one line in the control's
// own font (a mnemonic's "&" not counted), with a check box's or option
// button's box and gap; 0 for any control but a one-line label (a left-aligned
// static no higher than one line of text and a half), a check box or an
// option button.
int OneLineCaptionWidth(HWND control, int boxHeight, int dpi);

// Gives `control`, now at its designed place `designed`, the width its
// one-line caption needs when that is more than designed and there is room:
// to the right, inside the frame that holds it (or its parent) and over no
// sibling control. Otherwise the control keeps its designed size.
void FitCaption(HWND control, const PixelRect& designed, int dpi);

}  // namespace reelwright::win
