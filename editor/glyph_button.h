// Push buttons that the editor draws itself: the caption with its access key,
// and a picture beside it (left, or right of the caption), greyed while the
// button is disabled. In high contrast everything is drawn in the system's
// colours, the picture in the text colour.
#pragma once

#include <windows.h>

#include "layout.h"

struct GlyphButton {
  HWND Window;
  int PictureId;    // the picture's resources: this id plus the size drawn for; 0 for none
  HBITMAP Picture;  // fuchsia where the button's face shows through
  HBITMAP Greyed;   // for a disabled button: embossed in the 3-D colours, or in high contrast
                    // in the greyed text colour; made when first drawn
  HBITMAP Shape;    // in high contrast: the picture in the text colour, made when first drawn
  int DrawnFor;     // the picture's side
  int Size;         // the side it is shown at
  int Spacing;      // between picture and caption
  bool GlyphRight;
  const wchar_t* Name;  // for screen readers
};

// Turns an owner-drawn button into a glyph button with the pictures
// `pictureId` (0 for a caption alone), named `name` for screen readers;
// `glyph` and the name must outlive the button, and its pictures go with
// the button.
void MakeGlyphButton(GlyphButton& glyph, HWND button, int pictureId, bool glyphRight, const wchar_t* name);
// Loads the picture drawn for the layout's size; the button is drawn again
// when next painted.
void SizeGlyphButton(GlyphButton& glyph, HINSTANCE instance, const DialogLayout& layout);
// Draws the item when it is a glyph button; false when it is not one.
bool DrawGlyphButton(const DRAWITEMSTRUCT& item);
// Makes the greyed and high-contrast pictures again, in the current system
// colours, when next drawn.
void RefreshGlyphColours(GlyphButton& glyph);
