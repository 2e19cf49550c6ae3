#include "framework/ButtonLayout_core.h"

namespace zelvo {

SkinRect CentreIn(const SkinRect& area, int width, int height) {
  int left = area.Left + (area.Width() - width) / 2;
  int top = area.Top + (area.Height() - height) / 2;
  return {left, top, left + width, top + height};
}

BitButtonLayoutResult LayoutBitButton(const BitButtonLayoutInput& in) {
  const bool horizontal = in.Layout == GlyphLayout::GlyphLeft || in.Layout == GlyphLayout::GlyphRight;
  const int cw = in.Client.Width(), ch = in.Client.Height();
  const bool hasGlyph = in.Glyph.Width > 0 && in.Glyph.Height > 0;
  const bool hasText = in.Text.Width > 0;
  SkinPoint glyph, text;

  // Across the layout's axis both are centred.
  if (horizontal) {
    glyph.Y = (ch - in.Glyph.Height + 1) / 2;
    text.Y = (ch - in.Text.Height + 1) / 2;
  } else {
    glyph.X = (cw - in.Glyph.Width + 1) / 2;
    text.X = (cw - in.Text.Width + 1) / 2;
  }

  // Along it: Margin from the glyph's edge, Spacing to the caption; -1 shares the free room.
  const int room = horizontal ? cw : ch;
  const int glyphLen = horizontal ? in.Glyph.Width : in.Glyph.Height;
  const int textLen = horizontal ? in.Text.Width : in.Text.Height;
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
      glyph.X = margin;
      text.X = glyph.X + in.Glyph.Width + spacing;
      align = CaptionAlign::Left;
      break;
    case GlyphLayout::GlyphRight:
      glyph.X = cw - margin - in.Glyph.Width;
      text.X = glyph.X - spacing - in.Text.Width;
      align = CaptionAlign::Right;
      break;
    case GlyphLayout::GlyphTop:
      glyph.Y = margin;
      text.Y = glyph.Y + in.Glyph.Height + spacing;
      break;
    case GlyphLayout::GlyphBottom:
      glyph.Y = ch - margin - in.Glyph.Height;
      text.Y = glyph.Y - spacing - in.Text.Height;
      break;
  }

  const int dx = in.Client.Left + in.Shift.X, dy = in.Client.Top + in.Shift.Y;
  BitButtonLayoutResult r;
  r.GlyphPos = {glyph.X + dx, glyph.Y + dy};
  r.TextRect = {text.X + dx, text.Y + dy, text.X + dx + in.Text.Width, text.Y + dy + in.Text.Height};
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
