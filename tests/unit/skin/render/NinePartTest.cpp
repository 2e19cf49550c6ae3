// Nine-part rendering pixel by pixel, and regions built from rectangles and magenta-cut bitmaps.
#include <gtest/gtest.h>

#include <set>

#include "skin/render/NinePart.h"

namespace zelvo {
namespace {

constexpr TPixel kSentinel = MakePixel(1, 2, 3);

// Every pixel tells where it came from: red = x, green = y, blue = a tag.
TBitmap32 Coded(int32_t w, int32_t h, uint8_t tag = 7) {
  TBitmap32 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b.At(x, y) = MakePixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y), tag);
  return b;
}

TNinePart Part(const TBitmap32& image, int32_t l, int32_t t, int32_t r, int32_t b, int32_t frames = 1,
               bool stacked = false, bool tile = false) {
  TNinePart p;
  p.Image = &image;
  p.LeftWidth = l;
  p.TopHeight = t;
  p.RightWidth = r;
  p.BottomHeight = b;
  p.FrameCount = frames;
  p.Stacked = stacked;
  p.TileMiddle = tile;
  return p;
}

TEST(NinePart, CornersCopiedEdgesStretchedFromTheChosenFrame) {
  // Two frames side by side, each 6 x 5 with fixed edges 2/1/1/1; frame 2 starts at column 6.
  const TBitmap32 image = Coded(12, 5);
  TBitmap32 target(30, 30, kSentinel);
  const TRectI dest{3, 4, 3 + 17, 4 + 11};
  RenderNinePart(target, dest, Part(image, 2, 1, 1, 1, 2), 2);

  // Corners: exact copies of the cell's corners.
  for (int32_t y = 0; y < 1; ++y) {
    for (int32_t x = 0; x < 2; ++x) EXPECT_EQ(target.At(3 + x, 4 + y), image.At(6 + x, y));
  }
  EXPECT_EQ(target.At(dest.right - 1, dest.top), image.At(11, 0));
  EXPECT_EQ(target.At(dest.left, dest.bottom - 1), image.At(6, 4));
  EXPECT_EQ(target.At(dest.right - 1, dest.bottom - 1), image.At(11, 4));

  // Top edge: 14 pixels from the 3 middle columns 8..10 of row 0, in order, each column used,
  // repeated 4 or 5 times (nearest pixel, no blending).
  std::vector<int> counts(3, 0);
  int previous = 0;
  for (int32_t x = dest.left + 2; x < dest.right - 1; ++x) {
    const TPixel p = target.At(x, dest.top);
    ASSERT_EQ(PixelGreen(p), 0);
    ASSERT_GE(PixelRed(p), 8);
    ASSERT_LE(PixelRed(p), 10);
    ASSERT_GE(PixelRed(p), previous);
    previous = PixelRed(p);
    ++counts[static_cast<size_t>(PixelRed(p) - 8)];
  }
  for (int c : counts) EXPECT_TRUE(c == 4 || c == 5) << c;
  // Left edge: rows 1..3 of column 6..7 stretched to 9 rows.
  std::set<int> rows;
  for (int32_t y = dest.top + 1; y < dest.bottom - 1; ++y) {
    EXPECT_EQ(PixelRed(target.At(dest.left, y)), 6);
    rows.insert(PixelGreen(target.At(dest.left, y)));
  }
  EXPECT_EQ(rows, (std::set<int>{1, 2, 3}));
  // Middle: only middle pixels of frame 2.
  for (int32_t y = dest.top + 1; y < dest.bottom - 1; ++y)
    for (int32_t x = dest.left + 2; x < dest.right - 1; ++x) {
      const TPixel p = target.At(x, y);
      ASSERT_TRUE(PixelRed(p) >= 8 && PixelRed(p) <= 10 && PixelGreen(p) >= 1 && PixelGreen(p) <= 3);
    }
  // Nothing outside the destination changed.
  for (int32_t y = 0; y < 30; ++y) {
    for (int32_t x = 0; x < 30; ++x) {
      if (!dest.Contains(x, y)) {
        ASSERT_EQ(target.At(x, y), kSentinel) << x << "," << y;
      }
    }
  }
}

TEST(NinePart, ShrinkingDropsPixelsWithoutBlending) {
  const TBitmap32 image = Coded(10, 1);
  TBitmap32 target(4, 1, kSentinel);
  RenderNinePart(target, {0, 0, 4, 1}, Part(image, 0, 0, 0, 0), 1);
  int previous = -1;
  for (int32_t x = 0; x < 4; ++x) {
    const int red = PixelRed(target.At(x, 0));
    EXPECT_GT(red, previous);  // four distinct source pixels, in order
    EXPECT_EQ(PixelBlue(target.At(x, 0)), 7);
    previous = red;
  }
}

TEST(NinePart, TiledMiddleRepeatsFromTheTopLeft) {
  // Cell 5 x 4, edges 1 each: middle 3 x 2 at (1,1).
  const TBitmap32 image = Coded(5, 4);
  TBitmap32 target(20, 20, kSentinel);
  const TRectI dest{2, 2, 2 + 10, 2 + 7};
  RenderNinePart(target, dest, Part(image, 1, 1, 1, 1, 1, false, true), 1);
  for (int32_t y = 0; y < 5; ++y)
    for (int32_t x = 0; x < 8; ++x) {
      EXPECT_EQ(target.At(dest.left + 1 + x, dest.top + 1 + y), image.At(1 + x % 3, 1 + y % 2)) << x << "," << y;
    }
  // Edges stay stretched: the top edge has only middle columns of row 0.
  for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(PixelGreen(target.At(dest.left + 1 + x, dest.top)), 0);
}

TEST(NinePart, StackedFramesUseRows) {
  const TBitmap32 image = Coded(4, 9);  // three frames of 3 rows
  TBitmap32 target(4, 3, kSentinel);
  RenderNinePart(target, {0, 0, 4, 3}, Part(image, 0, 0, 0, 0, 3, true), 2);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(target.At(x, y), image.At(x, 3 + y));
  EXPECT_EQ(FrameCell(image, 3, 3, true), (TRectI{0, 6, 4, 9}));
  EXPECT_EQ(FrameCell(image, 3, 1, false), (TRectI{0, 0, 1, 9}));
}

TEST(NinePart, NarrowOrLowDestinationZeroesTheSlices) {
  const TBitmap32 image = Coded(6, 6);
  // Narrower than left + right (2 + 2): the whole cell is stretched, no fixed columns.
  TBitmap32 narrow(3, 6, kSentinel), expected(3, 6, kSentinel);
  RenderNinePart(narrow, {0, 0, 3, 6}, Part(image, 2, 0, 2, 0), 1);
  StretchCopy(expected, {0, 0, 3, 6}, image, {0, 0, 6, 6}, false);
  EXPECT_EQ(narrow, expected);
  // Lower than top + bottom likewise.
  TBitmap32 low(6, 3, kSentinel), expectedLow(6, 3, kSentinel);
  RenderNinePart(low, {0, 0, 6, 3}, Part(image, 0, 2, 0, 2), 1);
  StretchCopy(expectedLow, {0, 0, 6, 3}, image, {0, 0, 6, 6}, false);
  EXPECT_EQ(low, expectedLow);
  // Exactly left + right wide: the corners are kept and meet.
  TBitmap32 exact(4, 6, kSentinel);
  RenderNinePart(exact, {0, 0, 4, 6}, Part(image, 2, 0, 2, 0), 1);
  for (int32_t y = 0; y < 6; ++y) {
    EXPECT_EQ(exact.At(0, y), image.At(0, y));
    EXPECT_EQ(exact.At(1, y), image.At(1, y));
    EXPECT_EQ(exact.At(2, y), image.At(4, y));
    EXPECT_EQ(exact.At(3, y), image.At(5, y));
  }
}

TEST(NinePart, MagentaLeavesTheTargetOnlyWhenTransparent) {
  TBitmap32 image = Coded(3, 3);
  image.At(0, 0) = kMagenta;
  image.At(1, 1) = kMagenta;
  TNinePart p = Part(image, 1, 1, 1, 1);
  for (const bool transparent : {false, true}) {
    p.MagentaTransparent = transparent;
    TBitmap32 target(5, 5, kSentinel);
    RenderNinePart(target, {0, 0, 5, 5}, p, 1);
    EXPECT_EQ(target.At(0, 0), transparent ? kSentinel : kMagenta);
    EXPECT_EQ(target.At(2, 2), transparent ? kSentinel : kMagenta);  // the stretched middle
    EXPECT_EQ(target.At(4, 4), image.At(2, 2));
  }
}

TEST(NinePart, HostileValuesAreClampedAndNeverWriteOutside) {
  const TBitmap32 image = Coded(6, 4);
  struct Case {
    const char* what;
    TNinePart part;
    int32_t frame;
    TRectI dest;
  } cases[] = {
      {"frame count 0", Part(image, 1, 1, 1, 1, 0), 1, {0, 0, 8, 8}},
      {"negative frame count", Part(image, 1, 1, 1, 1, -4), 3, {0, 0, 8, 8}},
      {"frame beyond the count", Part(image, 0, 0, 0, 0, 3), 99, {0, 0, 8, 8}},
      {"negative frame", Part(image, 0, 0, 0, 0, 3), -7, {0, 0, 8, 8}},
      {"frame count above the width", Part(image, 1, 1, 1, 1, 1000), 500, {0, 0, 8, 8}},
      {"slices wider than the cell", Part(image, 1000, 1000, 1000, 1000, 2), 1, {0, 0, 8, 8}},
      {"negative slices", Part(image, -5, -5, -5, -5), 1, {0, 0, 8, 8}},
      {"huge destination", Part(image, 2, 1, 2, 1, 1, false, true), 1, {-2000000000, -2000000000, 2000000000, 2000000000}},
      {"huge stretched destination", Part(image, 2, 1, 2, 1), 1, {-2000000000, -5, 2000000000, 2000000000}},
      {"destination far outside", Part(image, 1, 1, 1, 1), 1, {1000000, 1000000, 1000100, 1000100}},
      {"inverted destination", Part(image, 1, 1, 1, 1), 1, {8, 8, 0, 0}},
  };
  for (const Case& c : cases) {
    TBitmap32 target(8, 8, kSentinel);
    RenderNinePart(target, c.dest, c.part, c.frame);
    const bool inside = c.dest.left < 8 && c.dest.top < 8 && c.dest.right > 0 && c.dest.bottom > 0 && !c.dest.Empty();
    for (int32_t y = 0; y < 8; ++y)
      for (int32_t x = 0; x < 8; ++x) {
        // Every pixel is either untouched or a pixel of the image.
        const TPixel p = target.At(x, y);
        if (inside) {
          ASSERT_EQ(PixelBlue(p), 7) << c.what << " at " << x << "," << y;
          ASSERT_LT(PixelRed(p), 6) << c.what;
          ASSERT_LT(PixelGreen(p), 4) << c.what;
        } else {
          ASSERT_EQ(p, kSentinel) << c.what;
        }
      }
  }
  // An empty image or a null one draws nothing.
  TBitmap32 target(4, 4, kSentinel), empty;
  RenderNinePart(target, {0, 0, 4, 4}, Part(empty, 0, 0, 0, 0), 1);
  TNinePart none;
  RenderNinePart(target, {0, 0, 4, 4}, none, 1);
  EXPECT_EQ(target, TBitmap32(4, 4, kSentinel));
}

TEST(NinePart, TilingADestinationStartingOffTheTargetKeepsItsOrigin) {
  const TBitmap32 image = Coded(3, 1);
  TBitmap32 target(5, 1, kSentinel);
  TileCopy(target, {-4, 0, 10, 1}, image, {0, 0, 3, 1}, false);
  for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(PixelRed(target.At(x, 0)), (x + 4) % 3);
}

// ---- Regions ----

bool Overlap(const TRectI& a, const TRectI& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void ExpectDisjoint(const std::vector<TRectI>& rects) {
  for (size_t i = 0; i < rects.size(); ++i)
    for (size_t j = i + 1; j < rects.size(); ++j) EXPECT_FALSE(Overlap(rects[i], rects[j])) << i << " " << j;
}

TEST(Region, UnionOfOverlappingRectanglesIsDisjointAndBanded) {
  TRegionBuilder r(100, 100);
  r.AddRect({10, 10, 50, 50});
  r.AddRect({30, 30, 70, 70});
  r.AddRect({50, 10, 60, 20});  // touches the first: merges into one span
  r.AddRect({-50, 90, 500, 500});  // clipped
  const auto rects = r.Rects();
  ExpectDisjoint(rects);
  EXPECT_EQ(RegionArea(rects), 40 * 40 + 40 * 40 - 20 * 20 + 10 * 10 + 100 * 10);
  EXPECT_TRUE(RegionContains(rects, 55, 15));
  EXPECT_FALSE(RegionContains(rects, 65, 15));
  EXPECT_FALSE(RegionContains(rects, 20, 60));
  // Bands: rows 10..19 are one band [10,60), rows 20..29 [10,50), 30..49 [10,70), 50..69 [30,70), 90..99 [0,100).
  EXPECT_EQ(rects.size(), 5u);
  EXPECT_EQ(rects[0], (TRectI{10, 10, 60, 20}));
  EXPECT_EQ(rects[4], (TRectI{0, 90, 100, 100}));
}

TEST(Region, OpaquePixelsOfABitmapWithoutMagenta) {
  // A 6 x 4 image with its top-left and top-right corners cut.
  TBitmap32 image(6, 4, MakePixel(10, 10, 10));
  image.At(0, 0) = image.At(1, 0) = image.At(0, 1) = kMagenta;
  image.At(5, 0) = kMagenta;
  image.At(3, 2) = kMagenta;  // a hole in the middle
  TRegionBuilder r(20, 20);
  r.AddOpaque(image, {0, 0, 6, 4}, {5, 7});
  const auto rects = r.Rects();
  ExpectDisjoint(rects);
  EXPECT_EQ(RegionArea(rects), 24 - 5);
  EXPECT_FALSE(RegionContains(rects, 5, 7));
  EXPECT_FALSE(RegionContains(rects, 10, 7));
  EXPECT_FALSE(RegionContains(rects, 8, 9));
  EXPECT_TRUE(RegionContains(rects, 7, 7));
  EXPECT_TRUE(RegionContains(rects, 10, 10));
  // Placed partly off the region's bounds: clipped, no crash.
  TRegionBuilder edge(4, 4);
  edge.AddOpaque(image, {0, 0, 6, 4}, {-3, -2});
  EXPECT_EQ(RegionArea(edge.Rects()), 3 * 2 - 1);  // image columns 3..5, rows 2..3, less the hole
  TRegionBuilder none(0, 0);
  none.AddRect({0, 0, 10, 10});
  EXPECT_TRUE(none.Rects().empty());
}

}  // namespace
}  // namespace zelvo
