// The skin drawn at a window's DPI: lengths rounded, nine-part cells cut and scaled so their parts
// meet, corners copied whole, 200 % art chosen or refused, the frame, region, control slices and
// menu metrics of the program's own skin at 100, 125, 150 and 200 %.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "skin/file/SkinDescription.h"
#include "skin/file/SkinRead.h"
#include "skin/render/ControlSkins_core.h"
#include "skin/render/FormSkin_core.h"
#include "skin/render/MenuSkin_core.h"
#include "skin/render/SkinScale.h"

namespace zelvo {
namespace {

constexpr int32_t kScales[] = {96, 120, 144, 168, 192};

// Every pixel tells where it came from: red = x, green = y, blue = a tag (never 0).
TBitmap32 Coded(int32_t w, int32_t h, uint8_t tag) {
  TBitmap32 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b.At(x, y) = MakePixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y), tag);
  return b;
}

// Which of the three parts [0, a), [a, cell - b), [cell - b, cell) a coordinate lies in.
int PartOf(int32_t v, int32_t a, int32_t middleEnd) { return v < a ? 0 : v < middleEnd ? 1 : 2; }

TEST(SkinScale, LengthsRoundHalfAwayFromZeroAndNeverOverflow) {
  struct TCase {
    int length, dpi, scaled;
  } const cases[] = {
      {1, 120, 1},   {2, 120, 3},       {3, 144, 5},          {-2, 120, -3},           {-3, 144, -5},
      {7, 168, 12},  {418, 144, 627},   {275, 144, 413},      {0, 192, 0},             {32767, 960, 327670},
      {INT_MAX, 192, INT_MAX},          {INT_MIN, 192, INT_MIN}, {INT_MAX / 2 + 1, 192, INT_MAX},
  };
  for (const TCase& c : cases) EXPECT_EQ(ScaleLength(c.length, c.dpi), c.scaled) << c.length << " @ " << c.dpi;
  // Rectangles that share an edge at 96 dpi still share it.
  const TRectI a = ScaleRect({3, 5, 7, 9}, 120), b = ScaleRect({7, 5, 11, 9}, 120);
  EXPECT_EQ(a.right, b.left);
}

// Two frames side by side, each 9 x 7 cut 3 / 2 / 4 / 1: at each scale every pixel of a scaled
// cell comes from the same frame and the same one of the nine parts as the destination part it
// lies in (the parts meet with no gap and no overlap), every pixel is written, the fixed edges
// are ScaleLength wide, and enlarging drops no art pixel.
TEST(SkinScale, NinePartCellsMeetExactlyAtEveryScale) {
  const TBitmap32 art = Coded(18, 7, 9);
  const TArtGrid grid{2, false, 3, 2, 4, 1};
  for (int32_t dpi : kScales) {
    SCOPED_TRACE(dpi);
    const TBitmap32 out = ScaleArt(art, nullptr, grid, dpi);
    const int32_t l = ScaleLength(3, dpi), t = ScaleLength(2, dpi), r = ScaleLength(4, dpi), b = ScaleLength(1, dpi);
    const int32_t cw = ScaleLength(9, dpi), ch = ScaleLength(7, dpi);
    ASSERT_EQ(out.Width, 2 * cw);
    ASSERT_EQ(out.Height, ch);
    EXPECT_EQ(ScaledArtSize(art, grid, dpi), (TSizeI{out.Width, out.Height}));
    std::set<std::pair<int, int>> used;
    for (int32_t y = 0; y < out.Height; ++y)
      for (int32_t x = 0; x < out.Width; ++x) {
        const TPixel p = out.At(x, y);
        ASSERT_EQ(PixelBlue(p), 9) << x << "," << y;  // written, from the art
        const int32_t sx = PixelRed(p), sy = PixelGreen(p);
        used.insert({sx, sy});
        ASSERT_EQ(sx / 9, x / cw) << x << "," << y;  // the same frame
        ASSERT_EQ(PartOf(sx % 9, 3, 5), PartOf(x % cw, l, cw - r)) << x << "," << y;
        ASSERT_EQ(PartOf(sy, 2, 6), PartOf(y, t, ch - b)) << x << "," << y;
      }
    EXPECT_EQ(used.size(), size_t{18 * 7});
    if (dpi == 96) {
      EXPECT_EQ(out, art);
    } else if (dpi == 192) {  // whole-pixel copies: each art pixel a 2 x 2 block
      for (int32_t y = 0; y < out.Height; ++y)
        for (int32_t x = 0; x < out.Width; ++x) ASSERT_EQ(out.At(x, y), art.At(x / 2, y / 2)) << x << "," << y;
    }
  }
  // A cell of fixed edges only (1 + 1 of 2): at 125 % the edges round to 1 + 1 and the cell follows
  // them; no middle appears that the art does not have.
  const TBitmap32 edges = Coded(4, 2, 5);
  const TBitmap32 out = ScaleArt(edges, nullptr, TArtGrid{2, false, 1, 0, 1, 0}, 120);
  ASSERT_EQ(out.Width, 4);
  for (int32_t y = 0; y < out.Height; ++y)
    for (int32_t x = 0; x < out.Width; ++x) EXPECT_EQ(out.At(x, y), edges.At(x, PixelGreen(out.At(x, y))));
}

// ---- Skins read from a description -----------------------------------------------------------

struct TLoaded {
  TSkinObjects Skin;
  std::string Error;
};
TLoaded Parse(const std::string& description, const std::vector<std::pair<std::string, TBitmap32>>& bitmaps,
              const std::vector<std::pair<std::string, TByteVector>>& raw = {}) {
  TMemorySkinEntries entries;
  for (const auto& [name, bmp] : bitmaps) entries.Add(name, WriteBmp24(bmp));
  for (const auto& [name, bytes] : raw) entries.Add(name, bytes);
  TLoaded l;
  ParseSkinDescription(description, entries, l.Skin);
  return l;
}

const char kLeftOnly[] =
    "[Personality]\nLeft=l.bmp\nLeftTopHeight=4\nLeftBotHeight=2\nLeftFrame=2\nLeftStretch=1\n";

TEST(SkinScale, Art2xIsTakenAsItIsAt200AndScaledFromBetweenWholeScales) {
  const TBitmap32 art = Coded(8, 10, 1), art2x = Coded(16, 20, 2);
  const TLoaded l = Parse(kLeftOnly, {{"l.bmp", art}, {"L@2x.BMP", art2x}});
  EXPECT_TRUE(l.Skin.Warnings.empty());
  ASSERT_NE(l.Skin.Art2xOf(l.Skin.Left.Image), nullptr);

  EXPECT_EQ(ScaleSkin(l.Skin, 192).Left.Image, art2x);  // as drawn
  for (int32_t dpi : {120, 144, 168, 240}) {
    const TSkinObjects s = ScaleSkin(l.Skin, dpi);
    SCOPED_TRACE(dpi);
    ASSERT_EQ(s.Left.Image.Width, 2 * ScaleLength(4, dpi));
    for (int32_t y = 0; y < s.Left.Image.Height; ++y)
      for (int32_t x = 0; x < s.Left.Image.Width; ++x) ASSERT_EQ(PixelBlue(s.Left.Image.At(x, y)), 2);
    EXPECT_TRUE(s.Art2x.empty());
    EXPECT_EQ(s.Left.TopHeight, ScaleLength(4, dpi));
  }
  // 300 %: whole blocks of the 96-dpi art, not 1.5 of the 200 % art.
  const TSkinObjects triple = ScaleSkin(l.Skin, 288);
  EXPECT_EQ(triple.Left.Image.At(5, 8), art.At(1, 2));

  // The same skin without its 200 % art is scaled from the 96-dpi art.
  const TLoaded plain = Parse(kLeftOnly, {{"l.bmp", art}});
  EXPECT_EQ(ScaleSkin(plain.Skin, 192).Left.Image.At(3, 5), art.At(1, 2));
}

TEST(SkinScale, Art2xOfAnotherSizeOrUnreadableIsIgnoredWithAWarning) {
  const TBitmap32 art = Coded(8, 10, 1);
  for (const TBitmap32& wrong : {Coded(16, 21, 2), Coded(8, 10, 2), Coded(24, 30, 2)}) {
    const TLoaded l = Parse(kLeftOnly, {{"l.bmp", art}, {"l@2x.bmp", wrong}});
    ASSERT_EQ(l.Skin.Warnings.size(), 1u);
    EXPECT_NE(l.Skin.Warnings[0].find("\"l@2x.bmp\" is " + std::to_string(wrong.Width) + " x " +
                                      std::to_string(wrong.Height) + " pixels, not twice"),
              std::string::npos)
        << l.Skin.Warnings[0];
    EXPECT_TRUE(l.Skin.ImageProblems.empty());
    EXPECT_EQ(l.Skin.Art2xOf(l.Skin.Left.Image), nullptr);
    EXPECT_EQ(ScaleSkin(l.Skin, 192).Left.Image.At(3, 5), art.At(1, 2));
  }
  const TLoaded junk = Parse(kLeftOnly, {{"l.bmp", art}}, {{"l@2x.bmp", TByteVector{'B', 'M', 1, 2, 3}}});
  ASSERT_EQ(junk.Skin.Warnings.size(), 1u);
  EXPECT_NE(junk.Skin.Warnings[0].find("cannot be read"), std::string::npos) << junk.Skin.Warnings[0];
  EXPECT_FALSE(junk.Skin.Left.Image.Empty());
}

// ---- The program's own skin ---------------------------------------------------------------

namespace fs = std::filesystem;

const TSkinObjects& OwnSkin() {
  static const TSkinObjects skin = [] {
    const fs::path dir = fs::path(ZELVO_SOURCE_DIR) / "resources" / "skin";
    std::vector<std::pair<std::string, TByteVector>> files;
    for (const auto& e : fs::directory_iterator(dir)) {
      std::ifstream in(e.path(), std::ios::binary);
      files.emplace_back(e.path().filename().string(),
                         TByteVector((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    }
    const auto ini = std::find_if(files.begin(), files.end(), [](const auto& f) { return f.first == "skin.ini"; });
    TLoaded l = Parse(std::string(ini->second.begin(), ini->second.end()), {}, files);
    return std::move(l.Skin);
  }();
  return skin;
}

struct TDrawn {
  TFrameInput In;
  TFrameLayout Layout;
  TBitmap32 Window;
  std::vector<TRectI> Region;
};
TDrawn DrawFrame(const TSkinObjects& skin) {
  TDrawn d;
  d.In.Width = ScaleLength(418, skin.Dpi);
  d.In.Height = ScaleLength(275, skin.Dpi);
  d.In.Style = wstyle::kCaption | wstyle::kSysMenu | wstyle::kThickFrame | wstyle::kMinimizeBox | wstyle::kMaximizeBox;
  d.In.HasSystemMenu = true;
  d.In.CaptionTextWidth = ScaleLength(90, skin.Dpi);
  d.In.CaptionTextHeight = ScaleLength(15, skin.Dpi);
  d.Layout = LayoutFrame(skin, d.In);
  d.Window = TBitmap32(d.In.Width, d.In.Height, MakePixel(1, 1, 1));
  ComposeFrame(d.Window, skin, d.Layout, d.In);
  d.Region = FrameRegion(skin, d.Layout, d.In, &d.Window);
  return d;
}

// At each scale: the sides as thick as the scaled 96-dpi sides, the caption buttons and text where
// the scaled lengths put them, no colour the art does not hold (nothing blended), and the region
// cut exactly at the magenta pixels of the drawn frame. At 200 % the corners and caption buttons
// are the 96-dpi ones pixel-doubled, and so is the region around them.
TEST(SkinScale, OwnFrameRegionAndCornersAtEveryScale) {
  const TSkinObjects& loaded = OwnSkin();
  const TDrawn at96 = DrawFrame(loaded);
  std::set<TPixel> palette{MakePixel(1, 1, 1), kMagenta, MakePixel(0xF0, 0xF0, 0xF0)};
  for (const TBitmap32* b : {&loaded.Left.Image, &loaded.Top.Image, &loaded.Right.Image, &loaded.Bottom.Image,
                             &loaded.Title.TextBack()}) {
    for (int32_t y = 0; y < b->Height; ++y)
      for (int32_t x = 0; x < b->Width; ++x) palette.insert(b->At(x, y));
  }
  for (const auto& button : loaded.CaptionButtons)
    for (int32_t y = 0; y < button->Image.Height; ++y)
      for (int32_t x = 0; x < button->Image.Width; ++x) palette.insert(button->Image.At(x, y));

  TScaledSkins skins(loaded);
  for (int32_t dpi : {96, 120, 144, 192}) {
    SCOPED_TRACE(dpi);
    const TSkinObjects& skin = skins.At(dpi);
    ASSERT_EQ(skin.Dpi, dpi);
    const TDrawn d = DrawFrame(skin);
    const TFrameThickness& th = d.Layout.Thickness;
    const TFrameThickness& th96 = at96.Layout.Thickness;
    EXPECT_EQ(th, (TFrameThickness{ScaleLength(th96.Left, dpi), ScaleLength(th96.Top, dpi),
                                   ScaleLength(th96.Right, dpi), ScaleLength(th96.Bottom, dpi)}));
    ASSERT_EQ(d.Layout.Buttons.size(), at96.Layout.Buttons.size());
    for (size_t i = 0; i < d.Layout.Buttons.size(); ++i) {
      const TRectI& b96 = at96.Layout.Buttons[i].Rect;
      const TDataSkinSysButton& button = *skin.CaptionButtons[i];
      if (!at96.Layout.Buttons[i].Visible) continue;
      // Right-aligned buttons are placed from the right edge: compare the scaled offsets and size.
      EXPECT_EQ(d.Layout.Buttons[i].Rect.top, ScaleLength(b96.top, dpi));
      EXPECT_EQ(d.Layout.Buttons[i].Rect.Height(), button.Image.Height) << i;
    }
    EXPECT_EQ(d.Layout.Text.Box.left, ScaleLength(at96.Layout.Text.Box.left, dpi));

    int64_t magenta = 0;
    for (int32_t y = 0; y < d.Window.Height; ++y)
      for (int32_t x = 0; x < d.Window.Width; ++x) {
        const TPixel p = d.Window.At(x, y);
        ASSERT_TRUE(palette.count(p) == 1) << "a blended pixel at " << x << "," << y;
        magenta += p == kMagenta;
        ASSERT_EQ(RegionContains(d.Region, x, y), p != kMagenta) << x << "," << y;
      }
    EXPECT_GT(magenta, 0);
    EXPECT_EQ(RegionArea(d.Region), int64_t{d.Window.Width} * d.Window.Height - magenta);

    if (dpi == 192) {
      // The four corners (the top side's fixed ends over the caption's height, the bottom
      // side's ends) and the close button: each 96-dpi pixel a 2 x 2 block.
      const int32_t w = at96.In.Width, h = at96.In.Height, top = th96.Top, side = 8;
      for (const TRectI& c : {TRectI{0, 0, side, top}, TRectI{w - side, 0, w, top}, TRectI{0, h - th96.Bottom, side, h},
                              TRectI{w - side, h - th96.Bottom, w, h}, at96.Layout.Buttons[0].Rect}) {
        for (int32_t y = 2 * c.top; y < 2 * c.bottom; ++y)
          for (int32_t x = 2 * c.left; x < 2 * c.right; ++x) {
            ASSERT_EQ(d.Window.At(x, y), at96.Window.At(x / 2, y / 2)) << x << "," << y;
            ASSERT_EQ(RegionContains(d.Region, x, y), RegionContains(at96.Region, x / 2, y / 2)) << x << "," << y;
          }
      }
    }
  }
}

TEST(SkinScale, ControlSlicesAndMenuMetricsScaleWithTheSkin) {
  const TSkinObjects& loaded = OwnSkin();
  ASSERT_TRUE(loaded.MenuItem && loaded.MenuBar);
  for (int32_t dpi : {120, 144, 192}) {
    SCOPED_TRACE(dpi);
    const TSkinObjects s = ScaleSkin(loaded, dpi);
    // Every control piece keeps its frames, each cell scaled, and its slicing scaled.
    for (size_t i = 0; i < loaded.OptionalEntries().size(); ++i) {
      const TDataSkinObject* o = loaded.OptionalEntries()[i].Object;
      const TDataSkinObject* so = s.OptionalEntries()[i].Object;
      if (o == nullptr || o->Image.Empty()) continue;
      SCOPED_TRACE(loaded.OptionalEntries()[i].Section);
      EXPECT_EQ(so->LeftWidth, ScaleLength(o->LeftWidth, dpi));
      EXPECT_EQ(so->BottomHeight, ScaleLength(o->BottomHeight, dpi));
      const bool stacked = o == loaded.MenuBar.get();
      const int32_t frames = std::max(o->FrameCount, 1);
      const int32_t along = stacked ? so->Image.Height : so->Image.Width;
      EXPECT_EQ(along % frames, 0);
      EXPECT_EQ(FrameCell(so->Image, frames, 1, stacked).Width(),
                stacked ? ScaleLength(o->Image.Width, dpi) : ScaleLength(o->Image.Width / frames, dpi));
    }
    EXPECT_EQ(s.Buttons.CheckImage.Height, ScaleLength(loaded.Buttons.CheckImage.Height, dpi));

    // Menu items: the item's own left width is the scaled skin's, the margins scale.
    const int lw = *MenuItemLeftWidth(s);
    EXPECT_EQ(lw, ScaleLength(*MenuItemLeftWidth(loaded), dpi));
    EXPECT_EQ(PopupMenuItemWidth(100, false, lw, dpi), 100 + lw + ScaleLength(35, dpi));
    EXPECT_EQ(MenuGlyphBoxSize(std::nullopt, true, dpi), ScaleLength(16, dpi));
    EXPECT_EQ(SystemMenuItemSize(60, 20, false, s.MenuItem.get(), false, dpi),
              (TSizeI{60 + ScaleLength(26, dpi) + lw, 20 + ScaleLength(4, dpi)}));
    EXPECT_EQ(PopupMenuBorderRects(200, 100, dpi)[0].bottom, ScaleLength(3, dpi));

    TMenuBarInput bar;
    bar.BarWidth = 600;
    bar.BarHeight = ScaleLength(19, dpi);
    bar.Entry = s.MenuBar.get();
    bar.TextWidths = {30, 40};
    bar.Dpi = dpi;
    const std::vector<TMenuButtonPlace> places = LayoutMenuBar(bar);
    const int32_t first = ScaleLength(loaded.MenuBar->LeftWidth, dpi) + ScaleLength(4, dpi);
    EXPECT_EQ(places[0].Rect, (TRectI{first, 0, first + 30 + ScaleLength(10, dpi), bar.BarHeight - ScaleLength(1, dpi)}));
    EXPECT_EQ(places[1].Rect.left, places[0].Rect.right);

    const CheckBoxGeometry box = LayoutCheckBox(100, 40, ScaleLength(13, dpi), TSizeI{9, 9}, false, dpi);
    EXPECT_EQ(box.Strip.right, ScaleLength(13, dpi) + ScaleLength(3, dpi));
    EXPECT_EQ(box.Image.left, (ScaleLength(14, dpi) - 9) / 2);
  }
}

}  // namespace
}  // namespace zelvo
