// Button geometry shared by the framework's own bitmap button and the skinned one, free of any
// window code: rectangles, the state a button is drawn in, where glyph and caption go, and which
// cell of a glyph strip shows.
#pragma once

#include <cstdint>

namespace zelvo {

// A rectangle in pixels, right and bottom exclusive.
struct SkinRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr bool Empty() const { return Right <= Left || Bottom <= Top; }
  constexpr SkinRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
  constexpr bool operator==(const SkinRect&) const = default;
};
struct SkinPoint {
  int X = 0, Y = 0;
  constexpr bool operator==(const SkinPoint&) const = default;
};
struct SkinSize {
  int Width = 0, Height = 0;
  constexpr bool operator==(const SkinSize&) const = default;
};

// A box of the given size centred in `area` (halves rounded toward the top-left).
SkinRect CentreIn(const SkinRect& area, int width, int height);


// The control's state as a control skin tracks it.
struct ControlState {
  bool Enabled = true;
  bool Pressed = false;
  bool Hot = false;
  bool Focused = false;
};

enum class GlyphLayout : uint8_t { GlyphLeft, GlyphRight, GlyphTop, GlyphBottom };
enum class CaptionAlign : uint8_t { Left, Right, Centre };

struct BitButtonLayoutInput {
  SkinRect Client;              // where glyph and caption go
  SkinSize Glyph;               // one glyph cell; 0 x 0 without a glyph
  SkinSize Text;                // the measured caption; 0 x 0 without one
  GlyphLayout Layout = GlyphLayout::GlyphLeft;
  int Margin = -1;              // from the edge to the glyph; -1 centres glyph and caption
  int Spacing = 4;              // between glyph and caption; -1 spreads the free room evenly
  SkinPoint Shift;              // added to both (a pressed button moves its contents)
};
struct BitButtonLayoutResult {
  SkinPoint GlyphPos;
  SkinRect TextRect;
  CaptionAlign Align = CaptionAlign::Centre;
  constexpr bool operator==(const BitButtonLayoutResult&) const = default;
};
// The bitmap-button rule: along the layout's axis the glyph sits at Margin from its edge and the
// caption Spacing beyond it; across the axis both are centred. The framework's own bitmap button
// and the skinned one both place their contents with it.
BitButtonLayoutResult LayoutBitButton(const BitButtonLayoutInput& in);

// 1-based glyph cell of a bitmap button's glyph strip: 1 normal or hot, 2 disabled, 3 pressed;
// a cell the strip does not have falls back to 1.
int BitButtonGlyphCell(const ControlState& st, int numGlyphs);

}  // namespace zelvo
