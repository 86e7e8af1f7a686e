// Push buttons that the editor draws itself: the caption with its access key,
// and a 16 x 16 picture beside it (left, or right of the caption), greyed
// while the button is disabled.
#pragma once

#include <windows.h>

struct GlyphButton {
  HWND Window;
  HBITMAP Picture;  // fuchsia where the button's face shows through; null for none
  HBITMAP Greyed;   // the picture embossed in the system's 3-D colours, made when first drawn
  bool GlyphRight;
};

// Turns an owner-drawn button into a glyph button with the bitmap resource
// `pictureId` (0 for a caption alone); `glyph` must outlive the button, and
// its pictures go with the button.
void MakeGlyphButton(GlyphButton& glyph, HWND button, HINSTANCE instance, int pictureId, bool glyphRight);
// Draws the item when it is a glyph button; false when it is not one.
bool DrawGlyphButton(const DRAWITEMSTRUCT& item);
// Greys the picture again, in the current system colours, when next drawn.
void RefreshGreyedGlyph(GlyphButton& glyph);
