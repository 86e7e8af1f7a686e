// Where the editor's dialog puts everything at 100, 125, 150 and 200 %.
#include <gtest/gtest.h>

#include "control_ids.h"
#include "layout.h"

namespace {

struct AtDpi {
  int Dpi;
  int ClientWidth;
  int FontHeight;
  int PictureDrawnFor;
  Box Ok;
};
constexpr AtDpi RESOLUTIONS[] = {
    {96, 337, 11, 16, {259, 188, 75, 23}},
    {120, 421, 14, 20, {324, 235, 94, 29}},
    {144, 506, 17, 24, {389, 282, 112, 35}},
    {192, 674, 22, 32, {518, 376, 150, 46}},
};

// Edges are scaled, not sizes (Ok's width at 150 %), each to the nearest pixel.
TEST(Layout, ScalesThePlaces) {
  for (const AtDpi& at : RESOLUTIONS) {
    SCOPED_TRACE(at.Dpi);
    const DialogLayout layout = LayOutDialog(at.Dpi);
    EXPECT_EQ(layout.ClientWidth, at.ClientWidth);
    EXPECT_EQ(layout.FontHeight, at.FontHeight);
    EXPECT_EQ(layout.PictureDrawnFor, at.PictureDrawnFor);
    const Box ok = layout.Of(ID_OK);
    EXPECT_EQ(ok.Left, at.Ok.Left);
    EXPECT_EQ(ok.Top, at.Ok.Top);
    EXPECT_EQ(ok.Width, at.Ok.Width);
    EXPECT_EQ(ok.Height, at.Ok.Height);
  }
}

// Between the drawn sizes, the largest picture that fits.
TEST(Layout, PictureBetweenTheDrawnSizes) { EXPECT_EQ(LayOutDialog(168).PictureDrawnFor, 24); }

}  // namespace
