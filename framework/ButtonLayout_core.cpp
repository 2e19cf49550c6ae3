#include "framework/ButtonLayout_core.h"

namespace zelvo {

TRectI CentreIn(const TRectI& area, int width, int height) {
  int left = area.left + (area.Width() - width) / 2;
  int top = area.top + (area.Height() - height) / 2;
  return {left, top, left + width, top + height};
}

BitButtonLayoutResult LayoutBitButton(const BitButtonLayoutInput& in) {
  const bool horizontal = in.Layout == GlyphLayout::GlyphLeft || in.Layout == GlyphLayout::GlyphRight;
  const int cw = in.Client.Width(), ch = in.Client.Height();
  const bool hasGlyph = in.Glyph.cx > 0 && in.Glyph.cy > 0;
  const bool hasText = in.Text.cx > 0;
  TPointI glyph, text;

  // Across the layout's axis both are centred.
  if (horizontal) {
    glyph.y = (ch - in.Glyph.cy + 1) / 2;
    text.y = (ch - in.Text.cy + 1) / 2;
  } else {
    glyph.x = (cw - in.Glyph.cx + 1) / 2;
    text.x = (cw - in.Text.cx + 1) / 2;
  }

  // Along it: Margin from the glyph's edge, Spacing to the caption; -1 shares the free room.
  const int room = horizontal ? cw : ch;
  const int glyphLen = horizontal ? in.Glyph.cx : in.Glyph.cy;
  const int textLen = horizontal ? in.Text.cx : in.Text.cy;
  int margin = in.Margin, spacing = in.Spacing;
  if (!hasGlyph || !hasText) spacing = 0;
  if (margin == -1) {
    if (spacing == -1) {
      margin = (room - (glyphLen + textLen)) / 3;
      spacing = margin;
    } else {
      margin = (room - (glyphLen + spacing + textLen) + 1) / 2;
    }
  } else if (spacing == -1) {
    spacing = (room - (margin + glyphLen) - textLen) / 2;
  }

  CaptionAlign align = CaptionAlign::Centre;
  switch (in.Layout) {
    case GlyphLayout::GlyphLeft:
      glyph.x = margin;
      text.x = glyph.x + in.Glyph.cx + spacing;
      align = CaptionAlign::Left;
      break;
    case GlyphLayout::GlyphRight:
      glyph.x = cw - margin - in.Glyph.cx;
      text.x = glyph.x - spacing - in.Text.cx;
      align = CaptionAlign::Right;
      break;
    case GlyphLayout::GlyphTop:
      glyph.y = margin;
      text.y = glyph.y + in.Glyph.cy + spacing;
      break;
    case GlyphLayout::GlyphBottom:
      glyph.y = ch - margin - in.Glyph.cy;
      text.y = glyph.y - spacing - in.Text.cy;
      break;
  }

  const int dx = in.Client.left + in.Shift.x, dy = in.Client.top + in.Shift.y;
  BitButtonLayoutResult r;
  r.GlyphPos = {glyph.x + dx, glyph.y + dy};
  r.TextRect = {text.x + dx, text.y + dy, text.x + dx + in.Text.cx, text.y + dy + in.Text.cy};
  r.Align = align;
  return r;
}

int BitButtonGlyphCell(const ControlState& st, int numGlyphs) {
  int cell = 1;
  if (!st.Enabled) cell = 2;
  else if (st.Pressed) cell = 3;
  return cell <= numGlyphs ? cell : 1;
}

}  // namespace zelvo
