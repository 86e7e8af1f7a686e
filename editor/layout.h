// Where the editor's dialog puts everything at a given resolution: the
// places at 96 pixels per inch, scaled. Platform-free; the dialog lays itself
// out with it when it starts and whenever its resolution changes.
#pragma once

struct Box {
  int Left, Top, Width, Height;
};

constexpr int PLACED_CONTROLS = 18;

struct PlacedControl {
  int Id;
  Box Where;  // a label's width is 0: it takes its caption's, and the height when that is higher
};

struct DialogLayout {
  int ClientWidth, ClientHeight;
  int FontHeight;  // the dialog font's character height, in pixels
  int ListRowHeight;
  int PictureSize;      // the button pictures, drawn in a square of this side
  int PictureDrawnFor;  // the side the shown picture was drawn for: 16, 20, 24 or 32
  int PictureSpacing;   // between picture and caption
  int HintWidth;        // the widest a hint is before it breaks a line
  PlacedControl Controls[PLACED_CONTROLS];

  // The place of the control `id`; an empty box (no height) for one not placed.
  Box Of(int id) const;
};

// The layout at `dpi` pixels per inch.
DialogLayout LayOutDialog(int dpi);
