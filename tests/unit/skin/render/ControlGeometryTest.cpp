#include <gtest/gtest.h>

#include "tests/unit/skin/render/GeometryPrint.h"

#include <climits>
#include <vector>

#include "skin/render/ControlSkins_core.h"

using namespace zelvo;

namespace {

TEST(ButtonState, FrameByStatePriority) {
  struct Case {
    ControlState st;
    int frame;
  } cases[] = {
      {{true, false, false, false}, 1},
      {{true, true, false, false}, 2},
      {{true, false, true, false}, 4},
      {{true, false, false, true}, 4},
      {{true, true, true, true}, 2},    // pressed wins over hover and focus
      {{false, true, true, true}, 3},   // disabled wins over everything
  };
  for (const Case& t : cases) EXPECT_EQ(ButtonFrame(t.st), t.frame);
}

TEST(ButtonState, TextColoursPerFrame) {
  TDataSkinButton b;
  b.NormalColour2 = 0x000001;
  b.PressedColour2 = 0x000002;
  b.MouseOverColour2 = 0x000004;
  TSkinColours colours;
  colours.ButtonShadow = 0x808080;
  const TColor font = 0x123456;
  // Push buttons always take the skin's colours (they default to ButtonText).
  EXPECT_EQ(PushButtonTextColour(b, colours, 1), 0x000001u);
  EXPECT_EQ(PushButtonTextColour(b, colours, 2), 0x000002u);
  EXPECT_EQ(PushButtonTextColour(b, colours, 4), 0x000004u);
  EXPECT_EQ(PushButtonTextColour(b, colours, 3), 0x808080u);
  // Bitmap buttons only where the skin names the colour.
  EXPECT_EQ(BitButtonTextColour(b, colours, 1, font), font);
  b.HasPressedColour2 = true;
  EXPECT_EQ(BitButtonTextColour(b, colours, 2, font), 0x000002u);
  EXPECT_EQ(BitButtonTextColour(b, colours, 4, font), font);
  b.HasMouseOverColour2 = b.HasNormalColour2 = true;
  EXPECT_EQ(BitButtonTextColour(b, colours, 4, font), 0x000004u);
  EXPECT_EQ(BitButtonTextColour(b, colours, 3, font), 0x808080u);
}

TEST(BitButtonLayout, GlyphSidesMarginsAndSpacing) {
  const TSizeI glyph{16, 16}, text{30, 13};
  struct Case {
    const char* name;
    TRectI client;
    GlyphLayout layout;
    int margin, spacing;
    TSizeI glyph, text;
    TPointI glyphPos;
    TRectI textRect;
    CaptionAlign align;
  } cases[] = {
      // 75 wide: 16 + 4 + 30 = 50, margin (75 - 50 + 1) / 2 = 13; across: (25 - 16 + 1) / 2, (25 - 13 + 1) / 2.
      {"left centred", {0, 0, 75, 25}, GlyphLayout::GlyphLeft, -1, 4, glyph, text, {13, 5}, {33, 6, 63, 19}, CaptionAlign::Left},
      {"right centred", {0, 0, 75, 25}, GlyphLayout::GlyphRight, -1, 4, glyph, text, {46, 5}, {12, 6, 42, 19}, CaptionAlign::Right},
      // 50 high: 16 + 4 + 13 = 33, margin (50 - 33 + 1) / 2 = 9.
      {"top centred", {0, 0, 60, 50}, GlyphLayout::GlyphTop, -1, 4, glyph, text, {22, 9}, {15, 29, 45, 42}, CaptionAlign::Centre},
      {"bottom centred", {0, 0, 60, 50}, GlyphLayout::GlyphBottom, -1, 4, glyph, text, {22, 25}, {15, 8, 45, 21}, CaptionAlign::Centre},
      {"fixed margin", {0, 0, 75, 25}, GlyphLayout::GlyphLeft, 5, 4, glyph, text, {5, 5}, {25, 6, 55, 19}, CaptionAlign::Left},
      // Spacing -1 with a margin: half of what is left, (75 - 21 - 30) / 2 = 12.
      {"spread spacing", {0, 0, 75, 25}, GlyphLayout::GlyphLeft, 5, -1, glyph, text, {5, 5}, {33, 6, 63, 19}, CaptionAlign::Left},
      // Both -1: thirds of the free room, (75 - 46) / 3 = 9.
      {"thirds", {0, 0, 75, 25}, GlyphLayout::GlyphLeft, -1, -1, glyph, text, {9, 5}, {34, 6, 64, 19}, CaptionAlign::Left},
      // No glyph: no spacing, the caption alone centred.
      {"caption only", {0, 0, 75, 25}, GlyphLayout::GlyphLeft, -1, 4, {0, 0}, text, {23, 13}, {23, 6, 53, 19}, CaptionAlign::Left},
      // No caption: the glyph alone centred.
      {"glyph only", {0, 0, 75, 25}, GlyphLayout::GlyphRight, -1, 4, glyph, {0, 13}, {29, 5}, {29, 6, 29, 19}, CaptionAlign::Right},
      // Contents wider than the button overhang on both sides (truncation toward zero).
      {"too narrow", {0, 0, 20, 25}, GlyphLayout::GlyphLeft, -1, 4, glyph, text, {-14, 5}, {6, 6, 36, 19}, CaptionAlign::Left},
  };
  for (const Case& t : cases) {
    BitButtonLayoutInput in{t.client, t.glyph, t.text, t.layout, t.margin, t.spacing, {}};
    BitButtonLayoutResult r = LayoutBitButton(in);
    EXPECT_EQ(r.GlyphPos, t.glyphPos) << t.name;
    EXPECT_EQ(r.TextRect, t.textRect) << t.name;
    EXPECT_EQ(r.Align, t.align) << t.name;
  }
}

TEST(BitButtonLayout, ClientOriginAndPressedShiftMoveEverything) {
  BitButtonLayoutInput in{{0, 0, 75, 25}, {16, 16}, {30, 13}, GlyphLayout::GlyphLeft, -1, 4, {}};
  BitButtonLayoutResult plain = LayoutBitButton(in);
  in.Client = {2, 3, 77, 28};
  in.Shift = {1, 1};
  BitButtonLayoutResult moved = LayoutBitButton(in);
  EXPECT_EQ(moved.GlyphPos, (TPointI{plain.GlyphPos.x + 3, plain.GlyphPos.y + 4}));
  EXPECT_EQ(moved.TextRect, plain.TextRect.Offset(3, 4));
}

TEST(BitButtonLayout, GlyphCellByStateAndStripLength) {
  const ControlState normal{}, hot{true, false, true, false}, pressed{true, true, false, false},
      disabled{false, false, false, false};
  struct Case {
    int numGlyphs, normal, hot, pressed, disabled;
  } cases[] = {{1, 1, 1, 1, 1}, {2, 1, 1, 1, 2}, {3, 1, 1, 3, 2}, {4, 1, 1, 3, 2}, {0, 1, 1, 1, 1}};
  for (const Case& t : cases) {
    EXPECT_EQ(BitButtonGlyphCell(normal, t.numGlyphs), t.normal) << t.numGlyphs;
    EXPECT_EQ(BitButtonGlyphCell(hot, t.numGlyphs), t.hot) << t.numGlyphs;
    EXPECT_EQ(BitButtonGlyphCell(pressed, t.numGlyphs), t.pressed) << t.numGlyphs;
    EXPECT_EQ(BitButtonGlyphCell(disabled, t.numGlyphs), t.disabled) << t.numGlyphs;
  }
}

TEST(CheckBox, FramesAndCheckedText) {
  EXPECT_EQ(CheckBoxFrame(CheckState::Unchecked, true), 1);
  EXPECT_EQ(CheckBoxFrame(CheckState::Checked, true), 2);
  EXPECT_EQ(CheckBoxFrame(CheckState::Unchecked, false), 3);
  EXPECT_EQ(CheckBoxFrame(CheckState::Checked, false), 4);
  EXPECT_EQ(CheckBoxFrame(CheckState::Indeterminate, true), 4);
  EXPECT_EQ(CheckBoxFrame(CheckState::Indeterminate, false), 4);
  EXPECT_TRUE(CheckedFromPropertyText("True"));
  EXPECT_TRUE(CheckedFromPropertyText("TRUE"));
  EXPECT_FALSE(CheckedFromPropertyText("True "));
  EXPECT_FALSE(CheckedFromPropertyText("1"));
  EXPECT_FALSE(CheckedFromPropertyText(""));
}

TEST(CheckBox, BoxStripAndImagePlacement) {
  // Menu check width 13: a 16-pixel strip.
  CheckBoxGeometry g = LayoutCheckBox(100, 17, 13, {13, 13}, false);
  EXPECT_EQ(g.Strip, (TRectI{0, 0, 16, 17}));
  EXPECT_EQ(g.Image, (TRectI{0, 2, 13, 15}));
  // Narrow images are centred in a 14-pixel cell; 15 and wider start at the edge.
  EXPECT_EQ(LayoutCheckBox(100, 17, 13, {10, 10}, false).Image, (TRectI{2, 3, 12, 13}));
  EXPECT_EQ(LayoutCheckBox(100, 17, 13, {15, 15}, false).Image, (TRectI{0, 1, 15, 16}));
  // Right button: the same at the right edge.
  g = LayoutCheckBox(100, 17, 13, {10, 10}, true);
  EXPECT_EQ(g.Strip, (TRectI{84, 0, 100, 17}));
  EXPECT_EQ(g.Image, (TRectI{88, 3, 98, 13}));
  EXPECT_EQ(LayoutCheckBox(100, 17, 13, {16, 16}, true).Image, (TRectI{84, 0, 100, 16}));
}

TEST(Combo, ButtonAtTheRightOrMirroredAtTheLeft) {
  ComboGeometry g = LayoutCombo({121, 21, 2, 17, false, false});
  EXPECT_EQ(g.Button, (TRectI{102, 2, 119, 19}));
  EXPECT_EQ(g.Text, (TRectI{2, 2, 102, 19}));
  EXPECT_FALSE(g.Mirrored);
  EXPECT_TRUE(g.OuterFrame.Empty());

  g = LayoutCombo({121, 21, 2, 17, true, false});
  EXPECT_EQ(g.Button, (TRectI{2, 2, 19, 19}));
  EXPECT_EQ(g.Text, (TRectI{19, 2, 119, 19}));
  EXPECT_TRUE(g.Mirrored);

  g = LayoutCombo({121, 21, 2, 15, false, true});
  EXPECT_EQ(g.Button, (TRectI{104, 2, 119, 19}));
  EXPECT_EQ(g.OuterFrame, (TRectI{0, 0, 121, 21}));
  EXPECT_EQ(g.InsetFrame, (TRectI{1, 1, 120, 20}));

  // A button wider than the control stays inside its edge.
  g = LayoutCombo({10, 21, 2, 17, false, false});
  EXPECT_EQ(g.Button, (TRectI{2, 2, 8, 19}));
  EXPECT_TRUE(g.Text.Empty());
}

TEST(Edit, BorderOnlyOverARealBorder) {
  EXPECT_TRUE(EditBorderDrawn(100, 20, 98, 18));
  EXPECT_TRUE(EditBorderDrawn(100, 20, 96, 16));
  EXPECT_FALSE(EditBorderDrawn(100, 20, 99, 18));
  EXPECT_FALSE(EditBorderDrawn(100, 20, 98, 19));
  EXPECT_FALSE(EditBorderDrawn(100, 20, 100, 20));  // borderless
  EXPECT_FALSE(EditBorderDrawn(100, 20, 83, 20));   // only a scroll bar makes the window wider
}

TEST(GroupBox, FrameTopAtHalfTheDigitHeightCaptionAtNine) {
  GroupBoxGeometry g = LayoutGroupBox(200, 100, 13, {40, 13});
  EXPECT_EQ(g.Frame, (TRectI{0, 6, 200, 100}));
  EXPECT_EQ(g.Wipe1, g.Frame);
  EXPECT_EQ(g.Wipe2, (TRectI{1, 7, 199, 99}));
  EXPECT_EQ(g.Caption, (TRectI{9, 0, 49, 13}));
  EXPECT_TRUE(LayoutGroupBox(200, 100, 13, {0, 13}).Caption.Empty());
  EXPECT_EQ(LayoutGroupBox(30, 100, 13, {40, 13}).Caption.right, 30);  // cut at the control's edge
}

TEST(Progress, FillWidth) {
  struct Case {
    int pos, upper, width, fill;
  } cases[] = {
      {50, 100, 200, 100}, {1, 3, 100, 33},   {100, 100, 200, 200}, {0, 100, 200, 0},
      {10, 0, 200, 0},     {-5, 100, 200, 0}, {5, -100, 200, 0},    {150, 100, 200, 200},
      {INT_MAX, INT_MAX, 1000, 1000},         {INT_MAX - 1, INT_MAX, 1000, 999}, {5, 10, 0, 0},
  };
  for (const Case& t : cases) {
    EXPECT_EQ(ProgressFillWidth(t.pos, t.upper, t.width), t.fill) << t.pos << "/" << t.upper << " of " << t.width;
  }
}

TEST(Progress, ChunksOneMoreThanFitFromLeftWidth) {
  EXPECT_EQ(ProgressChunkLefts(25, 10, 3), (std::vector<int>{3, 13, 23}));
  EXPECT_EQ(ProgressChunkLefts(30, 10, 3), (std::vector<int>{3, 13, 23, 33}));
  EXPECT_EQ(ProgressChunkLefts(9, 10, 0), (std::vector<int>{0}));
  EXPECT_TRUE(ProgressChunkLefts(0, 10, 3).empty());
  EXPECT_TRUE(ProgressChunkLefts(25, 0, 3).empty());
  EXPECT_EQ(ProgressChunkTop(20, 7), 6);
}

TEST(Progress, FilledRectFromTheLeftOrFromTheBottom) {
  EXPECT_EQ(ProgressFillRect(200, 20, 25, 100, false), (TRectI{0, 0, 50, 20}));
  EXPECT_EQ(ProgressFillRect(20, 200, 25, 100, true), (TRectI{0, 150, 20, 200}));  // along the height
  EXPECT_EQ(ProgressFillRect(20, 200, 100, 100, true), (TRectI{0, 0, 20, 200}));
  EXPECT_TRUE(ProgressFillRect(200, 20, 0, 100, false).Empty());
  EXPECT_TRUE(ProgressFillRect(20, 200, 5, 0, true).Empty());
  EXPECT_TRUE(ProgressFillRect(0, 20, 50, 100, false).Empty());
}

TEST(UpDown, HalvesAndFramesPerButton) {
  EXPECT_EQ(LayoutUpDown(17, 21, false).First, (TRectI{0, 0, 17, 10}));
  EXPECT_EQ(LayoutUpDown(17, 21, false).Second, (TRectI{0, 10, 17, 21}));  // the odd pixel below
  EXPECT_EQ(LayoutUpDown(31, 12, true).First, (TRectI{0, 0, 15, 12}));
  EXPECT_EQ(LayoutUpDown(31, 12, true).Second, (TRectI{15, 0, 31, 12}));
  EXPECT_TRUE(LayoutUpDown(-3, 12, true).Second.Empty());
  // second, enabled, pressed, hot -> frame
  struct Case {
    bool second, enabled, pressed, hot;
    int frame;
  } cases[] = {{false, true, false, false, 1}, {false, true, true, true, 2}, {false, true, false, true, 3},
               {false, false, true, true, 4},  {true, true, false, false, 5}, {true, true, true, false, 6},
               {true, true, false, true, 7},   {true, false, false, false, 8}};
  for (const Case& t : cases) EXPECT_EQ(UpDownFrame(t.second, t.enabled, t.pressed, t.hot), t.frame) << t.frame;
}

TEST(ScrollBar, PartsAlongTheBar) {
  // 200 long, 17-pixel arrows: track 17..183 (166); page 10 of 100 gives a 17-pixel thumb (16.6).
  ScrollInfo si{0, 99, 10, 0};
  ScrollBarParts p = LayoutScrollBar(200, 17, 8, si);
  EXPECT_EQ(p.ArrowLength, 17);
  EXPECT_EQ(p.TrackStart, 17);
  EXPECT_EQ(p.TrackEnd, 183);
  ASSERT_TRUE(p.HasThumb);
  EXPECT_EQ(p.ThumbStart, 17);
  EXPECT_EQ(p.ThumbEnd, 34);
  EXPECT_EQ(p.Usable(), 149);
  si.Pos = 90;  // the last position a full page allows
  p = LayoutScrollBar(200, 17, 8, si);
  EXPECT_EQ(p.ThumbEnd, 183);
  si.Pos = 45;  // 149 x 45 / 90 = 74.5, rounded up
  p = LayoutScrollBar(200, 17, 8, si);
  EXPECT_EQ(p.ThumbStart, 92);
  si.Pos = 5000;  // out of range: kept at the end
  EXPECT_EQ(LayoutScrollBar(200, 17, 8, si).ThumbEnd, 183);

  // Shorter than two arrows: each arrow gets half, no room for a thumb.
  p = LayoutScrollBar(30, 17, 8, si);
  EXPECT_EQ(p.ArrowLength, 15);
  EXPECT_FALSE(p.HasThumb);
  // A page covering the range, an empty range, a tiny page: thumbs as the rules say.
  EXPECT_FALSE(LayoutScrollBar(200, 17, 8, {0, 9, 10, 0}).HasThumb);
  EXPECT_FALSE(LayoutScrollBar(200, 17, 8, {5, 4, 0, 0}).HasThumb);
  p = LayoutScrollBar(200, 17, 8, {0, 9999, 1, 0});
  EXPECT_EQ(p.ThumbEnd - p.ThumbStart, 8);
  // Extreme ranges do not overflow.
  p = LayoutScrollBar(200, 17, 8, {INT_MIN, INT_MAX, 0, INT_MAX});
  EXPECT_EQ(p.ThumbEnd, 183);
  EXPECT_FALSE(LayoutScrollBar(-5, 17, 8, si).HasThumb);
}

TEST(ScrollBar, ClassifyingAPoint) {
  ScrollBarParts p = LayoutScrollBar(200, 17, 8, {0, 99, 10, 45});  // thumb 92..109
  struct Case {
    int along;
    ScrollHit hit;
  } cases[] = {{0, ScrollHit::LineUp},    {16, ScrollHit::LineUp},   {17, ScrollHit::PageUp},
               {91, ScrollHit::PageUp},   {92, ScrollHit::Thumb},    {108, ScrollHit::Thumb},
               {109, ScrollHit::PageDown}, {182, ScrollHit::PageDown}, {183, ScrollHit::LineDown},
               {250, ScrollHit::LineDown}};
  for (const Case& t : cases) EXPECT_EQ(ClassifyScrollPoint(p, t.along), t.hit) << t.along;
  // Without a thumb the track is all page down.
  ScrollBarParts noThumb = LayoutScrollBar(200, 17, 8, {0, 9, 10, 0});
  EXPECT_EQ(ClassifyScrollPoint(noThumb, 17), ScrollHit::PageDown);
  EXPECT_STREQ(ScrollHitTraceName(ScrollHit::PageUp), " SB_PAGEUp");
}

TEST(ScrollBar, ArrowFrames) {
  EXPECT_EQ(ScrollArrowFrame(true, false, false), 1);
  EXPECT_EQ(ScrollArrowFrame(true, false, true), 2);
  EXPECT_EQ(ScrollArrowFrame(true, true, false), 5);
  EXPECT_EQ(ScrollArrowFrame(true, true, true), 6);
  EXPECT_EQ(ScrollArrowFrame(false, false, false), 9);
  EXPECT_EQ(ScrollArrowFrame(false, false, true), 10);
  EXPECT_EQ(ScrollArrowFrame(false, true, false), 13);
  EXPECT_EQ(ScrollArrowFrame(false, true, true), 14);
}

TEST(ThumbDrag, PositionArithmetic) {
  const ScrollInfo paged{0, 99, 10, 0};
  EXPECT_EQ(ThumbDragPosition(0, 149, 149, paged), 90);   // to the end: maximum - page + 1
  EXPECT_EQ(ThumbDragPosition(0, 900, 149, paged), 90);   // beyond it
  EXPECT_EQ(ThumbDragPosition(75, 0, 149, paged), 50);    // 75 x 99 / 149 = 49.8
  EXPECT_EQ(ThumbDragPosition(20, -30, 149, paged), 0);   // before the start
  EXPECT_EQ(ThumbDragPosition(0, 149, 149, {0, 99, 0, 0}), 99);   // no page: the maximum
  EXPECT_EQ(ThumbDragPosition(0, 50, 100, {-50, 50, 0, 0}), 0);
  EXPECT_EQ(ThumbDragPosition(0, 100, 100, {10, 20, 50, 0}), 10);  // page beyond the range
  // Nothing to move: no usable length or no range.
  EXPECT_EQ(ThumbDragPosition(0, 10, 0, paged), std::nullopt);
  EXPECT_EQ(ThumbDragPosition(0, 10, -4, paged), std::nullopt);
  EXPECT_EQ(ThumbDragPosition(0, 10, 100, {7, 7, 0, 7}), std::nullopt);
  EXPECT_EQ(ThumbDragPosition(0, 10, 100, {8, 7, 0, 7}), std::nullopt);
  // Hostile extremes stay defined.
  EXPECT_EQ(ThumbDragPosition(INT_MAX, INT_MAX, INT_MAX, {INT_MIN, INT_MAX, 0, 0}), INT_MAX);
  EXPECT_EQ(ThumbDragPosition(INT_MIN, INT_MIN, 1, {INT_MIN, INT_MAX, 0, 0}), INT_MIN);
  EXPECT_EQ(ThumbDragPosition(0, 1, 1, {INT_MIN, INT_MAX, INT_MAX, 0}), 1);
}

TEST(Arithmetic, MulDivRoundsHalvesAwayFromZero) {
  EXPECT_EQ(SkinMulDiv(7, 3, 2), 11);
  EXPECT_EQ(SkinMulDiv(-7, 3, 2), -11);
  EXPECT_EQ(SkinMulDiv(7, 3, -2), -11);
  EXPECT_EQ(SkinMulDiv(5, 1, 3), 2);
  EXPECT_EQ(SkinMulDiv(1, 1, 0), -1);
  EXPECT_EQ(SkinMulDiv(INT_MAX, INT_MAX, 1), -1);  // overflow
  EXPECT_EQ(SkinMulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
  EXPECT_EQ(CentreIn({10, 10, 31, 30}, 5, 5), (TRectI{18, 17, 23, 22}));
}

}  // namespace
