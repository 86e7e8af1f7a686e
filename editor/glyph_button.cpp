#include "glyph_button.h"

#include <windows.h>
#include <commctrl.h>

#include "accessible.h"

namespace {

constexpr UINT_PTR GLYPH_SUBCLASS_ID = 1;
constexpr COLORREF TRANSPARENT_COLOUR = RGB(255, 0, 255);
constexpr int LARGEST_PICTURE = 32;
constexpr int FOCUS_INSET = 3;  // focus rectangle inside the 3-D frame
constexpr int CAPTION_CAPACITY = 63;
// Pixels darker than this show in the greyed and the high-contrast picture;
// light ones (the white of a page, say) drop out, as on any disabled toolbar
// picture.
constexpr int DARK_LUMINANCE = 140;

LRESULT CALLBACK GlyphButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR data);

// GetWindowSubclass, which mingw's import library lacks: export 411 of every
// comctl32, the library that SetWindowSubclass came from.
using GetSubclassCall = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR*);
constexpr WORD GET_WINDOW_SUBCLASS_ORDINAL = 411;

GetSubclassCall GetSubclass() {
  static GetSubclassCall call = nullptr;
  if (!call)
    call = reinterpret_cast<GetSubclassCall>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("comctl32.dll"), MAKEINTRESOURCEA(GET_WINDOW_SUBCLASS_ORDINAL))));
  return call;
}

// The glyph button of this window, handed to its subclass; null for another window.
GlyphButton* GlyphButtonOf(HWND window) {
  DWORD_PTR glyph = 0;
  const GetSubclassCall getSubclass = GetSubclass();
  if (!window || !getSubclass || !getSubclass(window, GlyphButtonProc, GLYPH_SUBCLASS_ID, &glyph))
    return nullptr;
  return reinterpret_cast<GlyphButton*>(glyph);
}

// The button that Enter presses shows the heavy frame: the focused button, or
// Ok while the focus is on a control that is not a button.
bool LooksDefault(HWND button) {
  HWND focus = GetFocus();
  if (focus == button) return true;
  return GetDlgCtrlID(button) == IDOK && !GlyphButtonOf(focus);
}

// Ok's frame follows the focus of every other button.
void InvalidateOkButton(HWND button) {
  HWND ok = GetDlgItem(GetParent(button), IDOK);
  if (ok && ok != button) InvalidateRect(ok, nullptr, FALSE);
}

void FreeMadePictures(GlyphButton& glyph) {
  if (glyph.Greyed) DeleteObject(glyph.Greyed);
  if (glyph.Shape) DeleteObject(glyph.Shape);
  glyph.Greyed = glyph.Shape = nullptr;
}

void FreePictures(GlyphButton& glyph) {
  FreeMadePictures(glyph);
  if (glyph.Picture) DeleteObject(glyph.Picture);
  glyph.Picture = nullptr;
}

LRESULT CALLBACK GlyphButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR data) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_BUTTON | (LooksDefault(window) ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_SETSTYLE:
      // The dialog manager moves the default style between buttons; the look
      // follows the focus here, and the button stays owner-drawn.
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button would report a quick second click as a double
      // click; here it is one more click, as on any push button.
      message = WM_LBUTTONDOWN;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateOkButton(window); break;
    case WM_GETOBJECT:
      if (const LRESULT answer =
              AnswerAccessibleName(window, wParam, lParam, reinterpret_cast<GlyphButton*>(data)->Name))
        return answer;
      break;
    case WM_NCDESTROY:
      FreePictures(*reinterpret_cast<GlyphButton*>(data));
      RemoveWindowSubclass(window, GlyphButtonProc, id);
      break;
    default: break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

bool IsDark(COLORREF colour) {
  if (colour == TRANSPARENT_COLOUR) return false;
  int luminance = (GetRValue(colour) * 299 + GetGValue(colour) * 587 + GetBValue(colour) * 114) / 1000;
  return luminance < DARK_LUMINANCE;
}

// A colour as a pixel of a 32-bit picture holds it, and back: red and blue
// change places.
DWORD Swapped(DWORD colour) { return RGB(GetBValue(colour), GetGValue(colour), GetRValue(colour)); }

// Square pixels of 32 bits, the top row first.
BITMAPINFO PictureFormat(int side) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = side;
  info.bmiHeader.biHeight = -side;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// The dark pixels of the picture in `colour`, with `relief` (when it is not
// fuchsia) one pixel down and right beneath them, as embossed; fuchsia
// elsewhere. The pixels are read and written whole, not one call each.
HBITMAP MakeShape(HBITMAP picture, int side, HDC dc, COLORREF colour, COLORREF relief) {
  BITMAPINFO info = PictureFormat(side);
  DWORD source[LARGEST_PICTURE * LARGEST_PICTURE];
  if (side > LARGEST_PICTURE || GetDIBits(dc, picture, 0, side, source, &info, DIB_RGB_COLORS) != side)
    return nullptr;
  info = PictureFormat(side);
  void* bits = nullptr;
  HBITMAP shape = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!shape) return nullptr;

  DWORD* target = static_cast<DWORD*>(bits);
  const int pixels = side * side;
  for (int i = 0; i < pixels; ++i) target[i] = Swapped(TRANSPARENT_COLOUR);
  if (relief != TRANSPARENT_COLOUR)
    for (int y = 0; y + 1 < side; ++y)
      for (int x = 0; x + 1 < side; ++x)
        if (IsDark(Swapped(source[y * side + x]))) target[(y + 1) * side + x + 1] = Swapped(relief);
  for (int i = 0; i < pixels; ++i)
    if (IsDark(Swapped(source[i]))) target[i] = Swapped(colour);
  return shape;
}

bool IsHighContrast() {
  HIGHCONTRASTA contrast = {};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

// The picture to show: as it is; greyed while disabled; in the text colour
// (the greyed text colour while disabled) in high contrast. Made when first
// needed.
HBITMAP PictureToShow(GlyphButton& glyph, HDC dc, bool disabled, bool highContrast) {
  if (!glyph.Picture) return nullptr;
  if (!highContrast && !disabled) return glyph.Picture;
  HBITMAP& made = disabled ? glyph.Greyed : glyph.Shape;
  if (!made) {
    if (!highContrast)
      made = MakeShape(glyph.Picture, glyph.DrawnFor, dc, GetSysColor(COLOR_BTNSHADOW),
                       GetSysColor(COLOR_BTNHIGHLIGHT));
    else
      made = MakeShape(glyph.Picture, glyph.DrawnFor, dc,
                       GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT), TRANSPARENT_COLOUR);
  }
  return made;
}

void DrawPicture(HDC dc, HBITMAP picture, int side, int x, int y, int size) {
  if (!picture) return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, picture);
  GdiTransparentBlt(dc, x, y, size, size, memory, 0, 0, side, side, TRANSPARENT_COLOUR);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void DrawFrame(HDC dc, RECT& frame, bool looksDefault, bool pressed) {
  FillRect(dc, &frame, GetSysColorBrush(COLOR_BTNFACE));
  if (looksDefault) {
    FrameRect(dc, &frame, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&frame, -1, -1);
  }
  if (pressed) {
    FrameRect(dc, &frame, GetSysColorBrush(COLOR_BTNSHADOW));
  } else {
    RECT face = frame;
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH);
  }
}

// Disabled: embossed, or in high contrast in the greyed text colour.
void DrawCaption(HDC dc, const char* caption, int length, RECT box, UINT format, bool disabled,
                 bool highContrast) {
  SetBkMode(dc, TRANSPARENT);
  if (disabled && highContrast) {
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  } else if (disabled) {
    OffsetRect(&box, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(dc, caption, length, &box, format);
    OffsetRect(&box, -1, -1);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  } else {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  }
  DrawTextA(dc, caption, length, &box, format);
}

}  // namespace

void MakeGlyphButton(GlyphButton& glyph, HWND button, int pictureId, bool glyphRight, const wchar_t* name) {
  glyph.Window = button;
  glyph.Name = name;
  glyph.PictureId = pictureId;
  glyph.GlyphRight = glyphRight;
  glyph.Picture = glyph.Greyed = glyph.Shape = nullptr;
  if (!SetWindowSubclass(button, GlyphButtonProc, GLYPH_SUBCLASS_ID, reinterpret_cast<DWORD_PTR>(&glyph)))
    glyph.PictureId = 0;
}

void SizeGlyphButton(GlyphButton& glyph, HINSTANCE instance, const DialogLayout& layout) {
  FreePictures(glyph);
  glyph.DrawnFor = layout.PictureDrawnFor;
  glyph.Size = layout.PictureSize;
  glyph.Spacing = layout.PictureSpacing;
  if (glyph.PictureId != 0)
    glyph.Picture =
        static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(glyph.PictureId + glyph.DrawnFor),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

bool DrawGlyphButton(const DRAWITEMSTRUCT& item) {
  GlyphButton* found = item.CtlType == ODT_BUTTON ? GlyphButtonOf(item.hwndItem) : nullptr;
  if (!found) return false;
  GlyphButton& glyph = *found;
  HDC dc = item.hDC;
  const bool pressed = item.itemState & ODS_SELECTED;
  const bool disabled = item.itemState & ODS_DISABLED;
  const bool highContrast = IsHighContrast();
  RECT frame = item.rcItem;
  DrawFrame(dc, frame, !disabled && LooksDefault(item.hwndItem), pressed);

  HGDIOBJ oldFont =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
  char caption[CAPTION_CAPACITY + 1] = {};
  int length = GetWindowTextA(item.hwndItem, caption, sizeof caption);
  const UINT format = DT_SINGLELINE | DT_LEFT | DT_TOP | ((item.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
  RECT measured = {0, 0, 0, 0};
  DrawTextA(dc, caption, length, &measured, format | DT_CALCRECT);
  const int textWidth = measured.right, textHeight = measured.bottom;

  // Picture and caption together, centred.
  const int pictureSize = glyph.Picture ? glyph.Size : 0;
  const int gap = glyph.Picture && length > 0 ? glyph.Spacing : 0;
  const int shift = pressed ? 1 : 0;
  const int left = (item.rcItem.left + item.rcItem.right - (pictureSize + gap + textWidth)) / 2 + shift;
  const int middle = (item.rcItem.top + item.rcItem.bottom) / 2 + shift;
  const int pictureX = glyph.GlyphRight ? left + textWidth + gap : left;
  const int textX = glyph.GlyphRight ? left : left + pictureSize + gap;

  DrawPicture(dc, PictureToShow(glyph, dc, disabled, highContrast), glyph.DrawnFor, pictureX,
              middle - pictureSize / 2, pictureSize);
  RECT box = {textX, middle - textHeight / 2, textX + textWidth, middle - textHeight / 2 + textHeight};
  DrawCaption(dc, caption, length, box, format, disabled, highContrast);
  SelectObject(dc, oldFont);

  const LRESULT uiState = SendMessageA(item.hwndItem, WM_QUERYUISTATE, 0, 0);
  if ((item.itemState & ODS_FOCUS) && !(uiState & UISF_HIDEFOCUS)) {
    InflateRect(&frame, -FOCUS_INSET, -FOCUS_INSET);
    DrawFocusRect(dc, &frame);
  }
  return true;
}

void RefreshGlyphColours(GlyphButton& glyph) {
  FreeMadePictures(glyph);
  if (glyph.Window) InvalidateRect(glyph.Window, nullptr, FALSE);
}
