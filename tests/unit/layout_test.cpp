// Where the editor's dialog puts everything at other resolutions.
#include <gtest/gtest.h>

#include "control_ids.h"
#include "layout.h"

namespace {

// Edges are scaled, not sizes (Ok's width), each to the nearest pixel: at
// 150 % every rounding shows.
TEST(Layout, ScalesThePlaces) {
  const DialogLayout layout = LayOutDialog(144);
  EXPECT_EQ(layout.ClientWidth, 506);
  EXPECT_EQ(layout.FontHeight, 17);
  const Box ok = layout.Of(ID_OK);
  EXPECT_EQ(ok.Left, 389);
  EXPECT_EQ(ok.Top, 282);
  EXPECT_EQ(ok.Width, 112);
  EXPECT_EQ(ok.Height, 35);
}

// The largest picture drawn that fits, the smallest at the standard resolution.
TEST(Layout, PicturesAreTheLargestDrawnThatFits) {
  const std::pair<int, int> pictures[] = {{96, 16}, {120, 20}, {168, 24}, {192, 32}};
  for (const auto& [dpi, drawnFor] : pictures) EXPECT_EQ(LayOutDialog(dpi).PictureDrawnFor, drawnFor) << dpi;
}

}  // namespace
