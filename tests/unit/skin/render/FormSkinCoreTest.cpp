// The frame arithmetic: thickness, kinds, caption style, caption text and buttons, hit testing,
// client area, sizing rules, menu bar and the composed frame with its region.
#include <gtest/gtest.h>

#include "skin/render/FormSkin_core.h"

namespace zelvo {
namespace {

constexpr uint32_t kOverlapped = wstyle::kCaption | wstyle::kSysMenu | wstyle::kThickFrame |
                                 wstyle::kMinimizeBox | wstyle::kMaximizeBox;

// Frame sides: Left/Right 2 frames of 4 x 40, Top 2 stacked frames of 60 x 24, Bottom 2 stacked
// frames of 60 x 5; active frames red, inactive ones blue.
TSkinObjects SyntheticSkin(int32_t trans = 1) {
  TSkinObjects s;
  auto twoFrames = [](int32_t w, int32_t h, bool stacked) {
    TBitmap32 b(stacked ? w : 2 * w, stacked ? 2 * h : h, MakePixel(200, 0, 0));
    for (int32_t y = 0; y < b.Height; ++y)
      for (int32_t x = 0; x < b.Width; ++x)
        if (stacked ? y >= h : x >= w) b.At(x, y) = MakePixel(0, 0, 200);
    return b;
  };
  s.Left.Image = twoFrames(4, 40, false);
  s.Right.Image = twoFrames(4, 40, false);
  s.Top.Image = twoFrames(60, 24, true);
  s.Bottom.Image = twoFrames(60, 5, true);
  for (TDataSkinBorder* side : {&s.Left, &s.Right, &s.Top, &s.Bottom}) {
    side->FrameCount = 2;
    side->Trans = trans;
    side->Tile = 1;
  }
  s.Left.TopHeight = s.Right.TopHeight = 24;
  s.Top.LeftWidth = s.Top.RightWidth = 6;
  return s;
}

TDataSkinSysButton Button(int32_t action, int32_t align, int32_t x, int32_t y, int32_t vis, int32_t vis1,
                          int32_t frames = 4, int32_t w = 16, int32_t h = 14) {
  TDataSkinSysButton b;
  b.Action = action;
  b.Align = align;
  b.Xcoord = x;
  b.Ycoord = y;
  b.Visibility = vis;
  b.Visibility1 = vis1;
  b.FrameCount = frames;
  b.Image = TBitmap32(w * frames, h);
  for (int32_t f = 0; f < frames; ++f)
    for (int32_t yy = 0; yy < h; ++yy)
      for (int32_t xx = 0; xx < w; ++xx) b.Image.At(f * w + xx, yy) = MakePixel(static_cast<uint8_t>(10 * (f + 1)), 99, 0);
  return b;
}

TEST(FrameCore, ThicknessFromTheSidesAndTheirFrameCounts) {
  TSkinObjects s = SyntheticSkin();
  EXPECT_EQ(FrameThicknessOf(s, TBorderKind::Sizeable), (TFrameThickness{4, 24, 4, 5}));
  EXPECT_EQ(FrameThicknessOf(s, TBorderKind::CaptionlessPopup), (TFrameThickness{}));
  s.Right.Image.Clear();  // a missing side has no thickness
  s.Left.FrameCount = 0;  // hostile counts count as 1
  s.Top.FrameCount = -3;
  s.Bottom.FrameCount = 1000;  // more frames than rows: one row each
  EXPECT_EQ(FrameThicknessOf(s, TBorderKind::Single), (TFrameThickness{8, 48, 0, 1}));
}

TEST(FrameCore, BorderAndWindowKindsFromStyleBits) {
  using namespace wstyle;
  EXPECT_EQ(BorderKindOf(kPopup), TBorderKind::CaptionlessPopup);
  EXPECT_EQ(BorderKindOf(kPopup | 0x00800000u | kThickFrame), TBorderKind::CaptionlessPopup);  // border alone
  EXPECT_EQ(BorderKindOf(kPopup | kCaption | kModalFrame), TBorderKind::DialogFrame);
  EXPECT_EQ(BorderKindOf(kPopup | kCaption | kThickFrame | kModalFrame), TBorderKind::Sizeable);
  EXPECT_EQ(BorderKindOf(0x00400000u), TBorderKind::Single);  // a child-like window without popup
  EXPECT_EQ(BorderKindOf(kCaption), TBorderKind::Single);
  EXPECT_EQ(WindowKindOf(true, kExMdiChild), TWindowKind::MdiFrame);
  EXPECT_EQ(WindowKindOf(false, kExMdiChild), TWindowKind::MdiChild);
  EXPECT_EQ(WindowKindOf(false, kExLeftScrollBar), TWindowKind::Other);
}

TEST(FrameCore, CaptionStyleStripAndRestoreRoundTrip) {
  using namespace wstyle;
  const uint32_t flags = AvailableButtonsOf(kOverlapped, false);
  EXPECT_EQ(flags, buttons::kSystemMenu | buttons::kMinimize | buttons::kMaximize);
  EXPECT_EQ(AvailableButtonsOf(kCaption, true), buttons::kSystemMenu);

  const TStrippedStyle unowned = StripCaptionStyle(kOverlapped | kMaximize, flags, false);
  EXPECT_EQ(unowned.Style & kCaption, 0u);
  EXPECT_EQ(unowned.Style & (kSysMenu | kThickFrame | kMaximize), kSysMenu | kThickFrame | kMaximize);
  EXPECT_EQ(unowned.Flags, flags | buttons::kCaptionStripped);
  EXPECT_EQ(RestoreCaptionStyle(unowned.Style, unowned.Flags), kOverlapped | kMaximize);

  const uint32_t dialog = kPopup | kCaption | kSysMenu | kModalFrame;
  const TStrippedStyle owned = StripCaptionStyle(dialog, AvailableButtonsOf(dialog, false), true);
  EXPECT_EQ(owned.Style, kPopup | kCaption | kModalFrame);
  EXPECT_EQ(owned.Flags & buttons::kCaptionStripped, 0u);
  EXPECT_EQ(RestoreCaptionStyle(owned.Style, owned.Flags), dialog);  // no boxes were there to restore
}

TEST(FrameCore, CaptionTextAlignmentsAndRightEdgeRules) {
  TDataSkinTitle t;
  t.TextShift() = 26;
  t.TextShiftVert() = 5;  // half of it, rounded toward zero: 2
  t.TextRightClip() = 100;
  t.TXTBackleft = 3;
  t.TXTBackRight = 4;
  TCaptionTextInput in;
  in.WindowWidth = 400;
  in.StripHeight = 28;
  in.TextWidth = 80;
  in.TextHeight = 15;

  const TCaptionTextLayout left = PlaceCaptionText(t, in);
  EXPECT_EQ(left.Box, (TRectI{26, 8, 26 + 87, 23}));  // (28 - 15) / 2 + 2 = 8
  EXPECT_EQ(left.TextRect, (TRectI{29, 8, 109, 23}));
  EXPECT_FALSE(left.RightAligned);

  t.TextAlignment = 1;
  in.WindowWidth = 400;
  EXPECT_EQ(PlaceCaptionText(t, in).Box.left, (400 - 87) / 2);  // 156
  in.WindowWidth = 80;  // free width -7: half rounds toward zero
  EXPECT_EQ(PlaceCaptionText(t, in).Box.left, -3);
  in.WindowWidth = 400;

  t.TextAlignment = 2;
  EXPECT_EQ(PlaceCaptionText(t, in).Box, (TRectI{400 - 100 - 87, 8, 300, 23}));
  t.TextAlignment = 0;
  in.RightToLeft = true;  // always right-aligned
  const TCaptionTextLayout rtl = PlaceCaptionText(t, in);
  EXPECT_EQ(rtl.Box.right, 300);
  EXPECT_TRUE(rtl.RightAligned);
  in.RightToLeft = false;

  // Non-popup: a long text is cut at strip right − TextRightClip.
  in.TextWidth = 500;
  EXPECT_EQ(PlaceCaptionText(t, in).Box.right, 300);
  // Popup: never cut, but a short text is moved out to 5 pixels left of the rightmost button.
  in.Popup = true;
  EXPECT_EQ(PlaceCaptionText(t, in).Box.right, 26 + 507);
  in.TextWidth = 80;
  in.RightmostButtonLeft = 366;
  EXPECT_EQ(PlaceCaptionText(t, in).Box.right, 361);
  in.RightmostButtonLeft = 50;  // the text already ends beyond: unchanged
  EXPECT_EQ(PlaceCaptionText(t, in).Box.right, 113);

  // Hostile: the text box never inverts.
  t.TextShift() = 1000000;
  in.Popup = false;
  const TCaptionTextLayout cut = PlaceCaptionText(t, in);
  EXPECT_GE(cut.Box.right, cut.Box.left);
  EXPECT_GE(cut.TextRect.right, cut.TextRect.left);
}

TEST(FrameCore, CaptionButtonVisibilityTable) {
  TButtonWindowFacts f;  // normal, active, no system menu, no boxes, not a dialog
  const TButtonWindowFacts none = f;
  TButtonWindowFacts all;
  all.HasSystemMenu = all.HasMaximizeBox = all.HasMinimizeBox = true;
  TButtonWindowFacts maxed = all;
  maxed.Maximized = true;
  TButtonWindowFacts inactive = all;
  inactive.Active = false;
  TButtonWindowFacts dialog = all;
  dialog.DialogFrame = true;
  TButtonWindowFacts boxesNoMenu = all;
  boxesNoMenu.HasSystemMenu = false;
  TButtonWindowFacts mdi = all;
  mdi.MdiMaximizedChildWithMenuBar = true;

  struct Row {
    int32_t action, vis, vis1;
    const TButtonWindowFacts& facts;
    bool visible;
  } rows[] = {
      // Visibility 0: not a dialog frame; the close action also needs a system menu.
      {5, 0, 0, all, true}, {5, 0, 0, dialog, false}, {0, 0, 0, none, false}, {5, 0, 0, none, true},
      {0, 0, 0, all, true},
      {5, 1, 0, maxed, true}, {5, 1, 0, all, false}, {5, 2, 0, all, true}, {5, 2, 0, maxed, false},
      {5, 3, 0, all, true}, {5, 3, 0, inactive, false}, {5, 4, 0, inactive, true}, {5, 4, 0, all, false},
      // 6/8 as Visibility need the system menu too; as Visibility1 only the box.
      {5, 6, 0, all, true}, {5, 6, 0, boxesNoMenu, false}, {5, 200, 6, boxesNoMenu, true},
      {5, 8, 0, boxesNoMenu, false}, {5, 200, 8, boxesNoMenu, true}, {5, 200, 8, none, false},
      {5, 7, 0, none, true}, {5, 7, 0, all, false}, {5, 9, 0, none, true}, {5, 9, 0, all, false},
      // 100: MDI frame with a maximized child and a menu bar; Visibility1 100 repeats Visibility.
      {7, 100, 100, mdi, true}, {7, 100, 100, all, false}, {5, 200, 100, all, true}, {5, 0, 100, dialog, false},
      // 200..2000 always; 10, 11, other values never.
      {5, 200, 0, none, true}, {5, 2000, 0, none, true}, {5, 199, 0, all, false}, {5, 2001, 0, all, false},
      {5, 10, 0, all, false}, {5, 11, 0, all, false}, {5, 200, 10, all, false}, {5, 200, 11, all, false},
      {5, 200, -1, all, false}, {5, 5, 0, all, false},
      // Action 1 needs a maximize box, Action 2 a minimize box, whatever the visibility says.
      {1, 200, 0, all, true}, {1, 200, 0, none, false}, {2, 200, 0, all, true}, {2, 200, 0, none, false},
  };
  for (const Row& r : rows) {
    const TDataSkinSysButton b = Button(r.action, 1, 0, 0, r.vis, r.vis1);
    EXPECT_EQ(CaptionButtonVisible(b, r.facts), r.visible)
        << "action " << r.action << " visibility " << r.vis << "/" << r.vis1;
  }
}

TEST(FrameCore, CaptionButtonPlacementForEveryAlign) {
  TButtonPlaceInput in;
  in.WindowWidth = 400;
  in.Thickness = {4, 28, 6, 4};
  in.Text = {30, 7, 120, 21};
  in.MenuBar = {4, 28, 394, 47};  // 19 high
  in.MenuBarLeftWidth = 2;
  const TSizeI size{16, 13};
  auto at = [&](int32_t align, int32_t x, int32_t y) {
    TDataSkinSysButton b = Button(0, align, x, y, 200, 0);
    return PlaceCaptionButton(b, size, in);
  };
  EXPECT_EQ(at(0, 8, 5), (TRectI{8, 5, 24, 18}));
  EXPECT_EQ(at(1, 34, 5), (TRectI{366, 5, 382, 18}));
  EXPECT_EQ(at(2, 3, 6), (TRectI{30 - 16 - 3, 6, 30 - 3, 19}));
  EXPECT_EQ(at(8, 3, 6), at(2, 3, 6));
  EXPECT_EQ(at(3, 3, 6), (TRectI{123, 6, 139, 19}));
  EXPECT_EQ(at(9, 3, 6), at(3, 3, 6));
  EXPECT_EQ(at(100, 50, 99), (TRectI{400 - 50 - 6 - 2, 28 + 3, 400 - 50 - 6 - 2 + 16, 28 + 3 + 13}));
  in.RightToLeft = true;
  EXPECT_EQ(at(100, 50, 99).left, 4 + 50 + 2);
  EXPECT_EQ(at(1, 34, 5).left, 366);  // right-to-left changes only the menu-bar buttons
  // Hostile coordinates stay far from overflow.
  const TRectI far = at(1, INT32_MIN, INT32_MAX);
  EXPECT_EQ(far.Width(), 16);
  EXPECT_EQ(far.Height(), 13);
}

TEST(FrameCore, CaptionButtonStateFrames) {
  const TDataSkinSysButton b = Button(0, 1, 34, 5, 200, 0);
  const TDataSkinSysButton mdi = Button(7, 100, 34, 5, 100, 100);
  EXPECT_EQ(CaptionButtonFrame(b, 4, TButtonState::Normal, true), 1);
  EXPECT_EQ(CaptionButtonFrame(b, 4, TButtonState::Pressed, true), 2);
  EXPECT_EQ(CaptionButtonFrame(b, 4, TButtonState::Hot, true), 3);
  EXPECT_EQ(CaptionButtonFrame(mdi, 4, TButtonState::Hot, true), 4);
  EXPECT_EQ(CaptionButtonFrame(b, 4, TButtonState::Hot, false), 4);  // inactive, 4 frames
  EXPECT_EQ(CaptionButtonFrame(b, 3, TButtonState::Hot, true), 3);
  EXPECT_EQ(CaptionButtonFrame(b, 3, TButtonState::Normal, false), 1);  // inactive, 3 frames
  EXPECT_EQ(CaptionButtonFrame(b, 1, TButtonState::Pressed, true), 1);  // clamped to the image
  EXPECT_EQ(CaptionButtonFrame(mdi, 3, TButtonState::Hot, true), 3);
  // The icon stands in for an empty system-menu image, as one frame.
  TDataSkinSysButton sys = Button(3, 0, 8, 7, 0, 0);
  sys.Image.Clear();
  const TBitmap32 icon(16, 16);
  const TButtonImage image = CaptionButtonImage(sys, &icon);
  EXPECT_EQ(image.Image, &icon);
  EXPECT_EQ(CaptionButtonSize(image), (TSizeI{16, 16}));
  EXPECT_EQ(CaptionButtonSize(CaptionButtonImage(b, &icon)), (TSizeI{16, 14}));
}

TEST(FrameCore, HitTestZones) {
  const TFrameThickness th{4, 28, 4, 4};
  using namespace hittest;
  // Client coordinates of frame rows: frame y = client y + 28 + 19.
  auto hit = [&](int32_t frameY, int32_t previous = kNowhere) {
    return SkinHitTest(previous, TPointI{10, frameY - 28 - 19}, th, 19, false);
  };
  EXPECT_EQ(hit(0), kNowhere);
  EXPECT_EQ(hit(3), kNowhere);
  EXPECT_EQ(hit(4), kCaption);
  EXPECT_EQ(hit(27), kCaption);
  EXPECT_EQ(hit(28), kMenu);
  EXPECT_EQ(hit(46), kMenu);
  EXPECT_EQ(hit(10, 12), 12);  // the window's own answer wins
  EXPECT_EQ(hit(10, kClient), kClient);
  // Minimized: no conversion.
  EXPECT_EQ(SkinHitTest(kNowhere, {0, 3}, th, 19, true), kNowhere);
  EXPECT_EQ(SkinHitTest(kNowhere, {0, 10}, th, 19, true), kCaption);
}

TEST(FrameCore, ClientRectangleAndSizingArithmetic) {
  const TFrameThickness th{4, 28, 5, 6};
  EXPECT_EQ(SkinClientRect({100, 50, 518, 325}, th, 19), (TRectI{104, 97, 513, 319}));
  const TRectI tiny = SkinClientRect({0, 0, 3, 10}, th, 19);  // smaller than its frame
  EXPECT_EQ(tiny.Width(), 0);
  EXPECT_EQ(tiny.Height(), 0);
  EXPECT_EQ(SkinnedWindowSize({409, 222}, th, 19), (TSizeI{418, 275}));
  EXPECT_EQ(FirstSizingClientHeight(300, 19, 4, 23), 300 - 19 - 8 - 23);
  EXPECT_EQ(FirstSizingClientHeight(10, 19, 4, 23), 0);
  // Detaching gives the system frame back and keeps the client size.
  const TSizeI systemFrame{16, 39};
  EXPECT_EQ(DetachedWindowSize({418, 275}, th, 19, systemFrame), (TSizeI{409 + 16, 222 + 39}));
}

TEST(FrameCore, MessageBoxWidening) {
  TDataSkinTitle t;
  t.TextShift() = 26;
  t.TextRightClip() = 100;
  t.TXTBackleft = 3;
  t.TXTBackRight = 3;
  const TFrameThickness th{4, 28, 4, 4};
  // (40 + 7) × 3 + 4 + 4 + 26 + 100 + 3 + 3 = 281.
  const TMessageBoxWidening grown = WidenMessageBox(200, 40, 3, th, t);
  EXPECT_EQ(grown.Width, 281);
  EXPECT_EQ(grown.ChildShift, 40);
  const TMessageBoxWidening fits = WidenMessageBox(281, 40, 3, th, t);
  EXPECT_EQ(fits.Width, 281);
  EXPECT_EQ(fits.ChildShift, 0);
  // A caption of thousands of characters grows to the coordinate limit, no further.
  const TMessageBoxWidening huge = WidenMessageBox(300, 100000, 40, th, t);
  EXPECT_EQ(huge.Width, 32767);
  EXPECT_EQ(huge.ChildShift, (32767 - 300) / 2);
  EXPECT_EQ(WidenMessageBox(300, -5, -3, th, t).Width, 300);
}

TEST(FrameCore, MenuBarLayout) {
  TDataSkinObject entry;
  entry.LeftWidth = 2;   // TileLeftMenu
  entry.RightWidth = 3;  // TileRightMenu
  entry.Image = TBitmap32(10, 10);
  TMenuBarInput in;
  in.BarWidth = 200;
  in.BarHeight = 19;
  in.Entry = &entry;
  in.TextWidths = {30, 50, 40};
  auto rects = LayoutMenuBar(in);
  ASSERT_EQ(rects.size(), 3u);
  EXPECT_EQ(rects[0].Rect, (TRectI{6, 0, 46, 18}));
  EXPECT_EQ(rects[1].Rect, (TRectI{46, 0, 106, 18}));
  EXPECT_EQ(rects[2].Rect, (TRectI{106, 0, 156, 18}));
  EXPECT_TRUE(rects[2].Visible);
  // Does not fit: that button and every later one is hidden.
  in.TextWidths = {30, 160, 5};
  rects = LayoutMenuBar(in);
  EXPECT_TRUE(rects[0].Visible);
  EXPECT_FALSE(rects[1].Visible);
  EXPECT_FALSE(rects[2].Visible);

  in.RightToLeft = true;
  in.TextWidths = {30, 50};
  rects = LayoutMenuBar(in);
  EXPECT_EQ(rects[0].Rect, (TRectI{200 - 11 - 40, 0, 189, 18}));
  EXPECT_EQ(rects[1].Rect.right, rects[0].Rect.left);
  in.TextWidths = {150, 60};  // 230 wanted in 200: the narrower bar's offset
  rects = LayoutMenuBar(in);
  EXPECT_EQ(rects[0].Rect.right, 200 - 15);
  EXPECT_FALSE(rects[1].Visible);
  in.Entry = nullptr;
  in.TextWidths = {30};
  EXPECT_EQ(LayoutMenuBar(in)[0].Rect.right, 194);
  in.RightToLeft = false;
  EXPECT_EQ(LayoutMenuBar(in)[0].Rect.left, 5);  // TileLeftMenu's default 1, + 4
}

TEST(FrameCore, SystemMenuItemsAndPopupBorder) {
  TDataSkinObject item;
  item.LeftWidth = 7;
  EXPECT_EQ(SystemMenuItemSize(60, 15, false, nullptr, false), (TSizeI{86, 19}));
  EXPECT_EQ(SystemMenuItemSize(60, 15, false, &item, false), (TSizeI{93, 19}));
  EXPECT_EQ(SystemMenuItemSize(60, 15, false, &item, true), (TSizeI{97, 19}));
  EXPECT_EQ(SystemMenuItemSize(5, 15, true, nullptr, false).cy, 8);

  const auto border = PopupMenuBorderRects(120, 80);
  EXPECT_EQ(border[0], (TRectI{0, 0, 120, 3}));
  EXPECT_EQ(border[1], (TRectI{0, 77, 120, 80}));
  EXPECT_EQ(border[2], (TRectI{0, 0, 3, 80}));
  EXPECT_EQ(border[3], (TRectI{117, 0, 120, 80}));
  const auto small = PopupMenuBorderRects(2, 1);
  for (const TRectI& r : small) {
    EXPECT_GE(r.left, 0);
    EXPECT_LE(r.right, 2);
    EXPECT_LE(r.bottom, 1);
  }
}

// ---- The composed frame and its region ----

TFrameInput Window(int32_t w, int32_t h) {
  TFrameInput in;
  in.Width = w;
  in.Height = h;
  in.Style = kOverlapped;
  in.HasSystemMenu = true;
  in.CaptionTextWidth = 50;
  in.CaptionTextHeight = 14;
  return in;
}

TEST(FrameRegion, TransparentSidesWithoutMagentaGiveTheWholeRectangle) {
  const TSkinObjects s = SyntheticSkin(1);
  const TFrameInput in = Window(200, 120);
  const TFrameLayout layout = LayoutFrame(s, in);
  const auto rects = FrameRegion(s, layout, in);
  EXPECT_EQ(rects, (std::vector<TRectI>{{0, 0, 200, 120}}));
}

TEST(FrameRegion, MagentaIsCutPerSideByTheTransAndHeightRules) {
  TSkinObjects s = SyntheticSkin(1);
  // Magenta in the top-left pixel of every active frame.
  s.Left.Image.At(0, 0) = kMagenta;
  s.Top.Image.At(0, 0) = kMagenta;
  s.Right.Image.At(3, 39) = kMagenta;  // bottom-right of the right side: a stretched row
  s.Bottom.Image.At(59, 4) = kMagenta;
  s.Right.BottomHeight = 1;            // keep that row as a fixed corner
  s.Bottom.RightWidth = 1;
  TFrameInput in = Window(200, 120);
  TFrameLayout layout = LayoutFrame(s, in);
  auto rects = FrameRegion(s, layout, in);
  EXPECT_FALSE(RegionContains(rects, 0, 0));      // Left's corner
  EXPECT_FALSE(RegionContains(rects, 4, 0));      // Top's first pixel (Top starts after Left)
  EXPECT_FALSE(RegionContains(rects, 199, 119));  // Right's bottom corner
  EXPECT_FALSE(RegionContains(rects, 195, 119));  // Bottom's last pixel
  EXPECT_EQ(RegionArea(rects), 200 * 120 - 4);

  // Trans 0 on one side keeps its plain rectangle while the others are still cut.
  s.Left.Trans = 0;
  rects = FrameRegion(s, layout, in);
  EXPECT_TRUE(RegionContains(rects, 0, 0));
  EXPECT_FALSE(RegionContains(rects, 4, 0));
  // A bottom side of one row is never cut.
  const TBitmap32 bottom = s.Bottom.Image;
  s.Bottom.Image = TBitmap32(60, 2, kMagenta);  // two frames of 1 row
  layout = LayoutFrame(s, in);
  rects = FrameRegion(s, layout, in);
  EXPECT_TRUE(RegionContains(rects, 100, 119));
  s.Bottom.Image = bottom;
  // No side with Trans 1: the whole window whatever the pixels.
  for (TDataSkinBorder* side : {&s.Left, &s.Right, &s.Top, &s.Bottom}) side->Trans = 0;
  layout = LayoutFrame(s, in);
  EXPECT_EQ(FrameRegion(s, layout, in), (std::vector<TRectI>{{0, 0, 200, 120}}));
  // A captionless popup: the whole window.
  TSkinObjects cut = SyntheticSkin(1);
  cut.Left.Image.At(0, 0) = kMagenta;
  in.Style = wstyle::kPopup;
  layout = LayoutFrame(cut, in);
  EXPECT_EQ(FrameRegion(cut, layout, in), (std::vector<TRectI>{{0, 0, 200, 120}}));
}

TEST(FrameCompose, SidesButtonsAndStatesLandWhereTheLayoutSays) {
  TSkinObjects s = SyntheticSkin(1);
  s.CaptionButtons.push_back(std::make_unique<TDataSkinSysButton>(Button(0, 1, 30, 4, 200, 0)));
  s.CaptionButtons.push_back(std::make_unique<TDataSkinSysButton>(Button(1, 1, 50, 4, 2, 6)));
  s.CaptionButtons[0]->Image.At(0, 0) = kMagenta;  // transparent corner of the close button
  TFrameInput in = Window(200, 120);
  const TPixel client = MakePixel(1, 1, 1);
  TBitmap32 target(200, 120, client);
  TFrameLayout layout = LayoutFrame(s, in);
  ComposeFrame(target, s, layout, in);

  const TPixel red = MakePixel(200, 0, 0);
  EXPECT_EQ(target.At(0, 60), red);      // Left, active frame
  EXPECT_EQ(target.At(199, 60), red);    // Right
  EXPECT_EQ(target.At(100, 119), red);   // Bottom
  EXPECT_EQ(target.At(100, 0), red);     // Top
  EXPECT_EQ(target.At(100, 60), client); // the client area is left alone
  ASSERT_EQ(layout.Buttons.size(), 2u);
  EXPECT_EQ(layout.Buttons[0].Rect, (TRectI{170, 4, 186, 18}));
  EXPECT_EQ(target.At(171, 5), MakePixel(10, 99, 0));  // frame 1
  EXPECT_EQ(target.At(170, 4), red);                   // magenta shows the Top side
  EXPECT_EQ(target.At(151, 5), MakePixel(10, 99, 0));  // maximize at 200 − 50
  EXPECT_EQ(layout.RightmostButtonLeft, 170);

  // Hot close button: frame 3; inactive window: every 4-frame button shows frame 4 on blue sides.
  in.HotButton = 0;
  ComposeFrame(target, s, LayoutFrame(s, in), in);
  EXPECT_EQ(target.At(171, 5), MakePixel(30, 99, 0));
  in.Active = false;
  ComposeFrame(target, s, LayoutFrame(s, in), in);
  EXPECT_EQ(target.At(171, 5), MakePixel(40, 99, 0));
  EXPECT_EQ(target.At(151, 5), MakePixel(40, 99, 0));
  EXPECT_EQ(target.At(0, 60), MakePixel(0, 0, 200));
  EXPECT_EQ(target.At(100, 0), MakePixel(0, 0, 200));

  // Maximized: the maximize button (Visibility 2) goes.
  in.Placement = TPlacement::Maximized;
  layout = LayoutFrame(s, in);
  EXPECT_TRUE(layout.Buttons[0].Visible);
  EXPECT_FALSE(layout.Buttons[1].Visible);
}

TEST(FrameCompose, NothingOfTheCaptionStripReachesBelowIt) {
  TSkinObjects s = SyntheticSkin(1);
  // Rows 20 to 33; the strip ends at row 24.
  s.CaptionButtons.push_back(std::make_unique<TDataSkinSysButton>(Button(0, 0, 100, 20, 200, 0)));
  const TFrameInput in = Window(200, 120);
  const TPixel client = MakePixel(1, 1, 1);
  TBitmap32 target(200, 120, client);
  ComposeFrame(target, s, LayoutFrame(s, in), in);
  EXPECT_EQ(target.At(101, 23), MakePixel(10, 99, 0));
  EXPECT_EQ(target.At(101, 24), client);
  EXPECT_EQ(target.At(2, 30), MakePixel(200, 0, 0));  // the Left side beside it is drawn
}

TEST(FrameCompose, APartComposedAtItsOriginIsThatPartOfTheWholeWindow) {
  // A caption button, a menu-bar button and a menu-bar entry: every part, the caption strip
  // crossed at an offset and parts reaching past the window included, must show exactly the whole
  // window's pixels.
  TSkinObjects s = SyntheticSkin(1);
  s.CaptionButtons.push_back(std::make_unique<TDataSkinSysButton>(Button(0, 1, 30, 4, 200, 0)));
  s.CaptionButtons.push_back(std::make_unique<TDataSkinSysButton>(Button(-1, 100, 20, 2, 0, 0, 1, 12, 12)));
  s.MenuBar = std::make_unique<TDataSkinObject>();
  s.MenuBar->Image = TBitmap32(10, 38, MakePixel(7, 70, 7));
  TFrameInput in = Window(200, 120);
  in.MenuBarHeight = 19;
  const TFrameLayout layout = LayoutFrame(s, in);
  ASSERT_TRUE(layout.Buttons[0].Visible && layout.Buttons[1].Visible && layout.Buttons[1].InMenuBar);
  const TPixel fill = MakePixel(1, 2, 3);
  TBitmap32 whole(200, 120, fill);
  ComposeFrame(whole, s, layout, in);
  for (const TRectI part : {TRectI{0, 0, 200, 43}, TRectI{0, 115, 200, 120}, TRectI{0, 43, 4, 115},
                            TRectI{196, 43, 200, 115}, TRectI{150, 3, 210, 60}, TRectI{-5, 100, 30, 130}}) {
    TBitmap32 target(part.Width(), part.Height(), fill);
    ComposeFrame(target, TPointI{part.left, part.top}, s, layout, in);
    for (int32_t y = part.top; y < part.bottom; ++y)
      for (int32_t x = part.left; x < part.right; ++x) {
        const TPixel expected = x >= 0 && y >= 0 && x < 200 && y < 120 ? whole.At(x, y) : fill;
        ASSERT_EQ(target.At(x - part.left, y - part.top), expected) << "(" << x << ", " << y << ")";
      }
  }
}

TEST(FrameCompose, HostileWindowSizesNeverCrash) {
  TSkinObjects s = SyntheticSkin(1);
  s.CaptionButtons.push_back(std::make_unique<TDataSkinSysButton>(Button(0, 1, -100000, 99999, 200, 0, 0)));
  s.Title.TextShift() = INT32_MIN;
  s.Title.TextRightClip() = INT32_MAX;
  s.Title.Image = TBitmap32(3, 1);  // TextBack narrower than its slices
  s.Title.TXTBackleft = 50;
  for (const TSizeI size : {TSizeI{0, 0}, TSizeI{1, 1}, TSizeI{3, 200}, TSizeI{300, 2}, TSizeI{-5, -5}}) {
    TFrameInput in = Window(size.cx, size.cy);
    in.MenuBarHeight = 19;
    TBitmap32 target(std::max(size.cx, 1), std::max(size.cy, 1));
    const TFrameLayout layout = LayoutFrame(s, in);
    ComposeFrame(target, s, layout, in);
    TBitmap32 part(7, 9);
    ComposeFrame(part, TPointI{size.cx / 2, -3}, s, layout, in);
    const auto rects = FrameRegion(s, layout, in, &target);
    EXPECT_LE(RegionArea(rects), static_cast<int64_t>(std::max(size.cx, 0)) * std::max(size.cy, 0));
  }
}

TEST(FrameCompose, HostileSkinValuesSweep) {
  // Every side and caption button with odd counts, slices and images, at several sizes: the
  // sanitizers watch for overflow and out-of-range reads; the region must stay inside the window.
  const int32_t counts[] = {0, -1, 1, 3, 1000};
  const int32_t slices[] = {-7, 0, 5, 100000};
  const TSizeI images[] = {{0, 0}, {1, 1}, {3, 50}, {50, 3}};
  int combination = 0;
  for (const int32_t count : counts)
    for (const int32_t slice : slices)
      for (const TSizeI image : images) {
        TSkinObjects s;
        for (TDataSkinBorder* side : {&s.Left, &s.Right, &s.Top, &s.Bottom}) {
          side->Image = TBitmap32(image.cx, image.cy, (combination % 2) ? kMagenta : MakePixel(5, 5, 5));
          side->FrameCount = count;
          side->LeftWidth = side->RightWidth = side->TopHeight = side->BottomHeight = slice;
          side->Trans = 1;
          side->Tile = combination % 3;
        }
        auto button = std::make_unique<TDataSkinSysButton>(Button(combination % 13 - 1, combination % 11, slice, slice,
                                                                  combination % 7, 0, 1));
        button->FrameCount = count;
        s.CaptionButtons.push_back(std::move(button));
        s.Title.Image = TBitmap32(image.cx, image.cy);
        s.Title.TXTBackleft = slice;
        s.Title.TXTBackRight = slice;
        s.Title.TextShift() = slice;
        s.MenuBar = std::make_unique<TDataSkinObject>();
        s.MenuBar->Image = TBitmap32(image.cx, image.cy);
        s.MenuBar->LeftWidth = slice;
        for (const TSizeI size : {TSizeI{1, 1}, TSizeI{7, 60}, TSizeI{120, 80}}) {
          TFrameInput in = Window(size.cx, size.cy);
          in.MenuBarHeight = 19;
          in.HotButton = 0;
          TBitmap32 target(size.cx, size.cy);
          const TFrameLayout layout = LayoutFrame(s, in);
          ComposeFrame(target, s, layout, in);
          const auto rects = FrameRegion(s, layout, in, &target);
          for (const TRectI& r : rects) {
            ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= size.cx && r.bottom <= size.cy && !r.Empty());
          }
        }
        ++combination;
      }
}

}  // namespace
}  // namespace zelvo
