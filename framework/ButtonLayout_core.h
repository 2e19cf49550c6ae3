// Button geometry shared by the framework's own bitmap button and the skinned one, free of any
// window code: rectangles, the state a button is drawn in, where glyph and caption go, and which
// cell of a glyph strip shows.
#pragma once

#include <cstdint>

#include "util/Geometry.h"

namespace zelvo {

// A box of the given size centred in `area` (halves rounded toward the top-left).
TRectI CentreIn(const TRectI& area, int width, int height);


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
  TRectI Client;              // where glyph and caption go
  TSizeI Glyph;               // one glyph cell; 0 x 0 without a glyph
  TSizeI Text;                // the measured caption; 0 x 0 without one
  GlyphLayout Layout = GlyphLayout::GlyphLeft;
  int Margin = -1;              // from the edge to the glyph; -1 centres glyph and caption
  int Spacing = 4;              // between glyph and caption; -1 spreads the free room evenly
  TPointI Shift;              // added to both (a pressed button moves its contents)
};
struct BitButtonLayoutResult {
  TPointI GlyphPos;
  TRectI TextRect;
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
