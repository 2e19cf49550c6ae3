#include "skin/render/SkinPreview.h"

#include <algorithm>
#include <cstddef>

namespace zelvo {

TPixel PreviewColour(TColor colour) {
  if ((colour & 0xFF000000u) == 0xFF000000u) {
    // The platform's usual values of the system colours the skin table falls back on.
    switch (colour & 0xFFu) {
      case syscolour::Scrollbar: return MakePixel(200, 200, 200);
      case syscolour::CaptionText:
      case syscolour::HighlightText:
      case syscolour::BtnHighlight: return MakePixel(255, 255, 255);
      case syscolour::Highlight: return MakePixel(0, 120, 215);
      case syscolour::Menu:
      case syscolour::BtnFace: return MakePixel(240, 240, 240);
      case syscolour::BtnShadow: return MakePixel(160, 160, 160);
      case syscolour::DkShadow3D: return MakePixel(105, 105, 105);
      default: return MakePixel(0, 0, 0);
    }
  }
  return colour & 0x00FFFFFFu;
}

bool PreviewStyleByName(const std::string& name, uint32_t& style) {
  using namespace wstyle;
  if (name == "sizeable") style = kCaption | kSysMenu | kThickFrame | kMinimizeBox | kMaximizeBox;
  else if (name == "single") style = kCaption | kSysMenu | kMinimizeBox;
  else if (name == "dialog") style = kPopup | kCaption | kSysMenu | kModalFrame;
  else if (name == "popup") style = kPopup;
  else return false;
  return true;
}

TPreview RenderPreview(const TSkinObjects& skin, const TPreviewOptions& options) {
  TFrameInput in;
  in.Width = std::clamp(options.Width, 1, kPreviewMaxSide);
  in.Height = std::clamp(options.Height, 1, kPreviewMaxSide);
  in.Style = options.Style;
  in.ExStyle = options.ExStyle;
  in.HasSystemMenu = (options.Style & wstyle::kSysMenu) != 0;
  in.Active = options.Active;
  in.Placement = options.Maximized ? TPlacement::Maximized : TPlacement::Normal;
  const int32_t chars = static_cast<int32_t>(std::min<size_t>(options.Caption.size(), 1000)) + 3;
  in.CaptionTextWidth = options.TextWidth > 0 ? std::min(options.TextWidth, 1000000) : chars * 7;
  in.CaptionTextHeight =
      options.TextHeight > 0 ? std::min(options.TextHeight, 1000) : std::clamp(skin.Title.FontHeight, 1, 200);
  in.Icon = options.Icon;

  TPreview out;
  out.Layout = LayoutFrame(skin, in);
  out.Bitmap = TBitmap32(in.Width, in.Height, PreviewColour(skin.Colours.ButtonFace));
  ComposeFrame(out.Bitmap, skin, out.Layout, in, PreviewColour(skin.Colours.Menubar));
  out.Region = FrameRegion(skin, out.Layout, in, &out.Bitmap);

  // Caption placeholder: a bar a third of the text height, as long as the caption would be.
  const TRectI& text = out.Layout.Text.TextRect;
  if (!text.Empty() && !options.Caption.empty()) {
    TColor colour = options.Active ? skin.Colours.TitleTextActive : skin.Colours.TitleTextNoActive;
    const TColor own = options.Active ? skin.Title.ActiveTextColour : skin.Title.InactiveTextColour;
    if (own != clNone) colour = own;
    const TPixel pixel = PreviewColour(colour);
    const int32_t barHeight = std::max(2, text.Height() / 3);
    const int32_t top = text.top + (text.Height() - barHeight) / 2;
    // The bar covers the caption's share of the measured text (the rest is the blanks around it).
    const int64_t measured = in.CaptionTextWidth;
    const int64_t captionChars = chars - 3;
    const int32_t length = static_cast<int32_t>(std::min<int64_t>(text.Width(), measured * captionChars / chars));
    const int32_t lead = static_cast<int32_t>(measured * 2 / chars);
    const int32_t start = out.Layout.Text.RightAligned ? text.right - length : text.left + lead;
    const int32_t right = std::min({start + length, text.right, in.Width});
    for (int32_t y = std::max(top, 0); y < std::min(top + barHeight, in.Height); ++y) {
      for (int32_t x = std::max({start, text.left, 0}); x < right; ++x) out.Bitmap.At(x, y) = pixel;
    }
  }

  // Outside the window region the desktop shows through.
  std::vector<uint8_t> covered(static_cast<size_t>(in.Width) * static_cast<size_t>(in.Height), 0);
  for (const TRectI& r : out.Region) {
    for (int32_t y = r.top; y < r.bottom; ++y) {
      std::fill_n(covered.begin() + static_cast<ptrdiff_t>(y) * in.Width + r.left, r.Width(), uint8_t{1});
    }
  }
  for (int32_t y = 0; y < in.Height; ++y) {
    for (int32_t x = 0; x < in.Width; ++x) {
      if (covered[static_cast<size_t>(y) * static_cast<size_t>(in.Width) + static_cast<size_t>(x)] == 0) {
        out.Bitmap.At(x, y) = options.Backdrop;
      }
    }
  }
  return out;
}

}  // namespace zelvo
