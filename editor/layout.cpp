#include "layout.h"

#include "control_ids.h"
#include "messages.h"

namespace {

constexpr int CLIENT_WIDTH = 337;
constexpr int CLIENT_HEIGHT = 261;
constexpr int FONT_HEIGHT = 11;  // 8 points
constexpr int LIST_ROW_HEIGHT = 13;
constexpr int LABEL_HEIGHT = 13;
constexpr int PICTURE_SIZE = 16;
constexpr int PICTURE_SPACING = 4;
constexpr int HINT_WIDTH = 600;  // wide enough that hints break only at their line ends
// The sizes the button pictures are drawn for, smallest first.
constexpr int PICTURE_SIZES[] = {16, 20, 24, 32};

// Places at the standard resolution.
constexpr PlacedControl PLACES[PLACED_CONTROLS] = {
    {ID_NAME_LIST, {5, 5, 121, 251}},
    {ID_NAME_LABEL, {134, 3, 0, LABEL_HEIGHT}},
    {ID_NAME, {129, 20, 198, 21}},
    {ID_COMMAND_LABEL, {134, 44, 0, LABEL_HEIGHT}},
    {ID_COMMAND, {128, 60, 179, 21}},
    {ID_BROWSE, {307, 60, 19, 21}},
    {ID_WINDOW_SIZE_LABEL, {134, 84, 0, LABEL_HEIGHT}},
    {ID_WINDOW_SIZE, {128, 100, 145, 21}},
    {ID_DRIVE_LABEL, {300, 84, 0, LABEL_HEIGHT}},
    {ID_DRIVE, {308, 100, 18, 21}},
    {ID_HOTKEY_LABEL, {130, 125, 0, LABEL_HEIGHT}},
    {ID_HOTKEY, {130, 141, 121, 21}},
    {ID_ADD, {128, 165, 75, 23}},
    {ID_DELETE, {128, 188, 75, 23}},
    {ID_UP, {128, 211, 75, 23}},
    {ID_DOWN, {128, 234, 75, 23}},
    {ID_OK, {259, 188, 75, 23}},
    {ID_CANCEL, {259, 234, 75, 23}},
};

// Pixels at `dpi` for pixels at the standard resolution, to the nearest.
int Scale(int pixels, int dpi) { return (pixels * dpi + STANDARD_DPI / 2) / STANDARD_DPI; }

// Edges are scaled, not sizes, so that controls that meet still meet.
Box Scale(const Box& box, int dpi) {
  const int left = Scale(box.Left, dpi);
  const int top = Scale(box.Top, dpi);
  return {left, top, Scale(box.Left + box.Width, dpi) - left, Scale(box.Top + box.Height, dpi) - top};
}

// The largest drawn size that fits; the smallest when none does.
int DrawnSizeFor(int size) {
  int drawn = PICTURE_SIZES[0];
  for (int each : PICTURE_SIZES)
    if (each <= size) drawn = each;
  return drawn;
}

}  // namespace

Box DialogLayout::Of(int id) const {
  for (const PlacedControl& control : Controls)
    if (control.Id == id) return control.Where;
  return {};
}

DialogLayout LayOutDialog(int dpi) {
  DialogLayout layout = {};
  layout.ClientWidth = Scale(CLIENT_WIDTH, dpi);
  layout.ClientHeight = Scale(CLIENT_HEIGHT, dpi);
  layout.FontHeight = Scale(FONT_HEIGHT, dpi);
  layout.ListRowHeight = Scale(LIST_ROW_HEIGHT, dpi);
  layout.PictureSize = Scale(PICTURE_SIZE, dpi);
  layout.PictureDrawnFor = DrawnSizeFor(layout.PictureSize);
  layout.PictureSpacing = Scale(PICTURE_SPACING, dpi);
  layout.HintWidth = Scale(HINT_WIDTH, dpi);
  for (int i = 0; i < PLACED_CONTROLS; ++i) {
    layout.Controls[i].Id = PLACES[i].Id;
    layout.Controls[i].Where = Scale(PLACES[i].Where, dpi);
  }
  return layout;
}
