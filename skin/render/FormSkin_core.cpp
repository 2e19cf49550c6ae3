#include "skin/render/FormSkin_core.h"

#include <algorithm>

namespace zelvo {
namespace {

// Coordinates computed from skin values are kept well inside int32 so that later sums (a
// position plus an image size) cannot overflow, whatever a hostile skin says.
constexpr int64_t kCoordLimit = int64_t{1} << 28;

int32_t Coord(int64_t v) { return static_cast<int32_t>(std::clamp(v, -kCoordLimit, kCoordLimit)); }
int32_t NonNegative(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, 0, kCoordLimit)); }

// Thickness of one side: its image's width (or height) over its frame count.
int32_t SideThickness(const TDataSkinBorder& side, bool stacked, int32_t dpi) {
  if (side.Image.Empty()) return 0;
  const int32_t extent = stacked ? side.Image.Height : side.Image.Width;
  const int32_t count = std::clamp(side.FrameCount, 1, extent);
  return std::min(extent / count, MaxFrameThickness(dpi));
}

// A length of the 96-dpi design at `dpi`.
int32_t At(int32_t length, int32_t dpi) { return ScaleLength(length, dpi); }

// Frame of a window-frame side: 1 when active or single-framed, else 2.
int32_t SideFrame(const TDataSkinBorder& side, bool active) {
  return (active || side.FrameCount <= 1) ? 1 : 2;
}

bool IsIconAction(int32_t action) { return action == 3 || action == 11; }

// One visibility value; `second` selects the Visibility1 reading. `first` is the Visibility
// result, which Visibility1 = 100 repeats.
bool VisibilityRule(int32_t value, bool second, bool first, const TDataSkinSysButton& b,
                    const TButtonWindowFacts& f) {
  switch (value) {
    case 0:
      if (second) return true;
      return !f.DialogFrame && (b.Action != 0 || f.HasSystemMenu);
    case 1: return f.Maximized;
    case 2: return !f.Maximized;
    case 3: return f.Active;
    case 4: return !f.Active;
    case 6: return f.HasMaximizeBox && (second || f.HasSystemMenu);
    case 7: return !f.HasMaximizeBox;
    case 8: return f.HasMinimizeBox && (second || f.HasSystemMenu);
    case 9: return !f.HasMinimizeBox;
    case 100: return second ? first : f.MdiMaximizedChildWithMenuBar;
    default: return value >= 200 && value <= 2000;
  }
}

TNinePart ButtonPart(const TButtonImage& image) {
  TNinePart p;
  p.Image = image.Image;
  p.FrameCount = image.FrameCount;
  p.MagentaTransparent = true;
  return p;
}

}  // namespace

TBorderKind BorderKindOf(uint32_t style) {
  if ((style & wstyle::kPopup) != 0 && (style & wstyle::kCaption) != wstyle::kCaption) {
    return TBorderKind::CaptionlessPopup;
  }
  if ((style & wstyle::kThickFrame) != 0) return TBorderKind::Sizeable;
  if ((style & wstyle::kModalFrame) != 0) return TBorderKind::DialogFrame;
  return TBorderKind::Single;
}

TWindowKind WindowKindOf(bool hasMdiClientChild, uint32_t exStyle) {
  if (hasMdiClientChild) return TWindowKind::MdiFrame;
  if ((exStyle & wstyle::kExMdiChild) != 0) return TWindowKind::MdiChild;
  return TWindowKind::Other;
}

int32_t MaxFrameThickness(int32_t dpi) { return std::max(ScaleLength(kMaxFrameThickness, dpi), kMaxFrameThickness); }

TFrameThickness FrameThicknessOf(const TSkinObjects& skin, TBorderKind border) {
  if (border == TBorderKind::CaptionlessPopup) return {};
  const int32_t dpi = skin.Dpi;
  return TFrameThickness{SideThickness(skin.Left, false, dpi), SideThickness(skin.Top, true, dpi),
                         SideThickness(skin.Right, false, dpi), SideThickness(skin.Bottom, true, dpi)};
}

uint32_t AvailableButtonsOf(uint32_t style, bool hasSystemMenuHandle) {
  uint32_t flags = 0;
  if ((style & wstyle::kSysMenu) != 0 || hasSystemMenuHandle) flags |= buttons::kSystemMenu;
  if ((style & wstyle::kMinimizeBox) != 0) flags |= buttons::kMinimize;
  if ((style & wstyle::kMaximizeBox) != 0) flags |= buttons::kMaximize;
  return flags;
}

TStrippedStyle StripCaptionStyle(uint32_t style, uint32_t flags, bool owned) {
  if (owned) {
    return {style & ~(wstyle::kSysMenu | wstyle::kMinimizeBox | wstyle::kMaximizeBox), flags};
  }
  return {style & ~wstyle::kCaption, flags | buttons::kCaptionStripped};
}

uint32_t RestoreCaptionStyle(uint32_t style, uint32_t flags) {
  if ((flags & buttons::kSystemMenu) != 0) style |= wstyle::kSysMenu;
  if ((flags & buttons::kMinimize) != 0) style |= wstyle::kMinimizeBox;
  if ((flags & buttons::kMaximize) != 0) style |= wstyle::kMaximizeBox;
  if ((flags & buttons::kCaptionStripped) != 0) style |= wstyle::kCaption;
  return style;
}

// ---- Caption text ---------------------------------------------------------------------------

TCaptionTextLayout PlaceCaptionText(const TDataSkinTitle& title, const TCaptionTextInput& in) {
  const int64_t backLeft = NonNegative(title.TXTBackleft);
  const int64_t backRight = NonNegative(title.TXTBackRight);
  const int64_t width = static_cast<int64_t>(NonNegative(in.TextWidth)) + backLeft + backRight;
  const int64_t stripRight = NonNegative(in.WindowWidth);
  const int64_t clip = title.TextRightClip();

  int32_t alignment = title.TextAlignment;
  if (in.RightToLeft) alignment = 2;
  int64_t left = 0;
  switch (alignment) {
    case 1: left = (stripRight - width) / 2; break;  // rounds toward zero
    case 2: left = stripRight - clip - width; break;
    default: left = title.TextShift(); break;
  }
  int64_t right = left + width;
  if (!in.Popup) {
    if (right > stripRight - clip) right = stripRight - clip;
  } else if (in.RightmostButtonLeft && right < static_cast<int64_t>(*in.RightmostButtonLeft) - At(5, in.Dpi)) {
    right = static_cast<int64_t>(*in.RightmostButtonLeft) - At(5, in.Dpi);
  }
  if (right < left) right = left;

  const int64_t textHeight = NonNegative(in.TextHeight);
  const int64_t top = (static_cast<int64_t>(in.StripHeight) - textHeight) / 2 + title.TextShiftVert() / 2;

  TCaptionTextLayout out;
  out.Box = TRectI{Coord(left), Coord(top), Coord(right), Coord(top + textHeight)};
  const int32_t textLeft = Coord(std::min(left + backLeft, right));
  out.TextRect = TRectI{textLeft, out.Box.top, std::max(textLeft, Coord(right - backRight)), out.Box.bottom};
  out.RightAligned = in.RightToLeft;
  return out;
}

void RenderTextBack(TBitmap32& target, const TDataSkinTitle& title, const TCaptionTextLayout& layout,
                    bool active) {
  if (title.TextBack().Empty()) return;
  TNinePart p;
  p.Image = &title.TextBack();
  p.LeftWidth = title.TXTBackleft;
  p.RightWidth = title.TXTBackRight;
  p.FrameCount = 2;
  p.Stacked = true;
  p.MagentaTransparent = true;
  RenderNinePart(target, layout.Box, p, active ? 1 : 2);
}

// ---- Caption buttons ------------------------------------------------------------------------

bool CaptionButtonVisible(const TDataSkinSysButton& button, const TButtonWindowFacts& facts) {
  const bool first = VisibilityRule(button.Visibility, false, false, button, facts);
  const bool second = VisibilityRule(button.Visibility1, true, first, button, facts);
  if (!(first && second)) return false;
  if (button.Action == 1 && !facts.HasMaximizeBox) return false;
  if (button.Action == 2 && !facts.HasMinimizeBox) return false;
  return true;
}

TButtonImage CaptionButtonImage(const TDataSkinSysButton& button, const TBitmap32* windowIcon) {
  if (IsIconAction(button.Action) && button.Image.Empty()) {
    return TButtonImage{windowIcon, 1};
  }
  return TButtonImage{&button.Image, std::max(button.FrameCount, 1)};
}

TSizeI CaptionButtonSize(const TButtonImage& image) {
  if (image.Image == nullptr || image.Image->Empty()) return {};
  const int32_t count = std::clamp(image.FrameCount, 1, image.Image->Width);
  return TSizeI{image.Image->Width / count, image.Image->Height};
}

TRectI PlaceCaptionButton(const TDataSkinSysButton& button, TSizeI size, const TButtonPlaceInput& in) {
  const int64_t w = NonNegative(size.cx);
  const int64_t h = NonNegative(size.cy);
  int64_t x = button.Xcoord;
  int64_t y = button.Ycoord;
  switch (button.Align) {
    case 1: x = static_cast<int64_t>(in.WindowWidth) - button.Xcoord; break;
    case 2:
    case 8: x = static_cast<int64_t>(in.Text.left) - w - button.Xcoord; break;
    case 3:
    case 9: x = static_cast<int64_t>(in.Text.right) + button.Xcoord; break;
    case 100:
      if (in.RightToLeft) {
        x = static_cast<int64_t>(in.Thickness.Left) + button.Xcoord + in.MenuBarLeftWidth;
      } else {
        x = static_cast<int64_t>(in.WindowWidth) - button.Xcoord - in.Thickness.Right - in.MenuBarLeftWidth;
      }
      y = static_cast<int64_t>(in.MenuBar.top) + (static_cast<int64_t>(in.MenuBar.bottom) - in.MenuBar.top - h) / 2;
      break;
    default: break;  // 0 and unknown values: from the top-left
  }
  const int32_t left = Coord(x);
  const int32_t top = Coord(y);
  return TRectI{left, top, left + static_cast<int32_t>(w), top + static_cast<int32_t>(h)};
}

int32_t CaptionButtonFrame(const TDataSkinSysButton& button, int32_t frameCount, TButtonState state,
                           bool windowActive) {
  int32_t frame = 1;
  switch (state) {
    case TButtonState::Pressed: frame = 2; break;
    case TButtonState::Hot: frame = button.Visibility == 100 ? 4 : 3; break;
    default: frame = 1; break;
  }
  if (!windowActive && frameCount >= 4) frame = 4;
  return std::clamp(frame, 1, std::max(frameCount, 1));
}

// ---- Hit testing, client area, sizing -------------------------------------------------------

int32_t SkinHitTest(int32_t previousAnswer, TPointI clientPoint, const TFrameThickness& thickness,
                    int32_t menuBarHeight, bool minimized, int32_t dpi) {
  if (previousAnswer != hittest::kNowhere) return previousAnswer;
  const int64_t y = minimized ? clientPoint.y
                              : static_cast<int64_t>(clientPoint.y) + thickness.Top + menuBarHeight;
  if (y <= At(3, dpi)) return hittest::kNowhere;
  return y >= thickness.Top ? hittest::kMenu : hittest::kCaption;
}

TRectI SkinClientRect(const TRectI& window, const TFrameThickness& thickness, int32_t menuBarHeight) {
  const int64_t left = static_cast<int64_t>(window.left) + thickness.Left;
  const int64_t top = static_cast<int64_t>(window.top) + thickness.Top + menuBarHeight;
  int64_t right = static_cast<int64_t>(window.right) - thickness.Right;
  int64_t bottom = static_cast<int64_t>(window.bottom) - thickness.Bottom;
  right = std::max(right, left);
  bottom = std::max(bottom, top);
  return TRectI{Coord(left), Coord(top), Coord(right), Coord(bottom)};
}

TSizeI SkinnedWindowSize(TSizeI client, const TFrameThickness& thickness, int32_t menuBarHeight) {
  return TSizeI{NonNegative(static_cast<int64_t>(client.cx) + thickness.Left + thickness.Right),
                NonNegative(static_cast<int64_t>(client.cy) + thickness.Top + thickness.Bottom + menuBarHeight)};
}

int32_t FirstSizingClientHeight(int32_t windowHeight, int32_t menuHeight, int32_t cyFrame, int32_t cyCaption) {
  return NonNegative(static_cast<int64_t>(windowHeight) - menuHeight - 2 * static_cast<int64_t>(cyFrame) - cyCaption);
}

TSizeI DetachedWindowSize(TSizeI current, const TFrameThickness& thickness, int32_t menuBarHeight,
                          TSizeI systemFrame) {
  return TSizeI{
      NonNegative(static_cast<int64_t>(current.cx) - thickness.Left - thickness.Right + systemFrame.cx),
      NonNegative(static_cast<int64_t>(current.cy) - thickness.Top - thickness.Bottom - menuBarHeight +
                  systemFrame.cy)};
}

TMessageBoxWidening WidenMessageBox(int32_t windowWidth, int32_t captionLength, int32_t blankWidth,
                                    const TFrameThickness& thickness, const TDataSkinTitle& title) {
  const int64_t required = (static_cast<int64_t>(std::max(captionLength, 0)) + 7) * std::max(blankWidth, 0) +
                           thickness.Left + thickness.Right + title.TextShift() + title.TextRightClip() +
                           title.TXTBackleft + title.TXTBackRight;
  TMessageBoxWidening out{windowWidth, 0};
  // A window never grows past what the platform accepts as a coordinate.
  const int64_t limit = 32767;
  const int64_t target = std::min(required, limit);
  if (target > windowWidth) {
    out.Width = static_cast<int32_t>(target);
    out.ChildShift = static_cast<int32_t>((target - windowWidth) / 2);
  }
  return out;
}

// ---- Menu bar and menus ---------------------------------------------------------------------

std::vector<TMenuButtonPlace> LayoutMenuBar(const TMenuBarInput& in) {
  std::vector<TMenuButtonPlace> out(in.TextWidths.size());
  const int32_t dpi = in.Dpi;
  const int64_t barWidth = NonNegative(in.BarWidth);
  const int32_t height = NonNegative(static_cast<int64_t>(in.BarHeight) - At(1, dpi));
  const int64_t pad = At(10, dpi);
  int64_t total = 0;
  for (int32_t w : in.TextWidths) total += static_cast<int64_t>(NonNegative(w)) + pad;

  bool fits = true;
  if (!in.RightToLeft) {
    // Without a menu-bar entry TileLeftMenu keeps its default of 1.
    int64_t x = static_cast<int64_t>(in.Entry ? NonNegative(in.Entry->LeftWidth) : At(1, dpi)) + At(4, dpi);
    for (size_t i = 0; i < in.TextWidths.size(); ++i) {
      const int64_t w = static_cast<int64_t>(NonNegative(in.TextWidths[i])) + pad;
      fits = fits && x + w <= barWidth;
      out[i].Rect = TRectI{Coord(x), 0, Coord(x + w), height};
      out[i].Visible = fits;
      x += w;
    }
  } else {
    int64_t offset = At(6, dpi);
    if (in.Entry) offset = static_cast<int64_t>(NonNegative(in.Entry->RightWidth)) + At(barWidth < total ? 12 : 8, dpi);
    int64_t x = barWidth - offset;
    for (size_t i = 0; i < in.TextWidths.size(); ++i) {
      const int64_t w = static_cast<int64_t>(NonNegative(in.TextWidths[i])) + pad;
      fits = fits && x - w >= 0;
      out[i].Rect = TRectI{Coord(x - w), 0, Coord(x), height};
      out[i].Visible = fits;
      x -= w;
    }
  }
  return out;
}

void RenderMenuBarBackground(TBitmap32& target, const TRectI& bar, const TDataSkinObject* entry,
                             bool active, TPixel fill) {
  if (entry != nullptr && !entry->Image.Empty()) {
    TNinePart p = NinePartOf(*entry, false);
    p.Stacked = true;
    RenderNinePart(target, bar, p, active ? 1 : 2);
    return;
  }
  const int32_t l = std::max(bar.left, 0), r = std::min(bar.right, target.Width);
  const int32_t t = std::max(bar.top, 0), b = std::min(bar.bottom, target.Height);
  for (int32_t y = t; y < b; ++y) {
    for (int32_t x = l; x < r; ++x) target.At(x, y) = fill;
  }
}

TSizeI SystemMenuItemSize(int32_t textWidth, int32_t textHeight, bool separator,
                          const TDataSkinObject* menuItem, bool windows9x, int32_t dpi) {
  int64_t width = static_cast<int64_t>(NonNegative(textWidth)) + At(26, dpi);
  if (menuItem != nullptr) width += menuItem->LeftWidth;
  if (windows9x) width += At(4, dpi);
  const int64_t height = separator ? At(8, dpi) : static_cast<int64_t>(NonNegative(textHeight)) + At(4, dpi);
  return TSizeI{NonNegative(width), NonNegative(height)};
}

std::array<TRectI, 4> PopupMenuBorderRects(int32_t width, int32_t height, int32_t dpi) {
  const int32_t w = std::max(width, 0);
  const int32_t h = std::max(height, 0);
  const int32_t b = At(3, dpi);
  return {TRectI{0, 0, w, std::min(b, h)}, TRectI{0, std::max(h - b, 0), w, h},
          TRectI{0, 0, std::min(b, w), h}, TRectI{std::max(w - b, 0), 0, w, h}};
}

// ---- The whole frame ------------------------------------------------------------------------

TFrameLayout LayoutFrame(const TSkinObjects& skin, const TFrameInput& in) {
  TFrameLayout out;
  out.Border = BorderKindOf(in.Style);
  out.Thickness = FrameThicknessOf(skin, out.Border);
  if (out.Border == TBorderKind::CaptionlessPopup) return out;
  const int32_t width = std::max(in.Width, 0);
  const int32_t height = std::max(in.Height, 0);
  const TFrameThickness& th = out.Thickness;
  out.CaptionStrip = TRectI{0, 0, width, std::min(th.Top, height)};
  if (in.MenuBarHeight > 0) {
    out.MenuBar = TRectI{th.Left, th.Top, std::max(th.Left, width - th.Right),
                         Coord(static_cast<int64_t>(th.Top) + in.MenuBarHeight)};
  }

  TButtonWindowFacts facts;
  facts.Maximized = in.Placement == TPlacement::Maximized;
  facts.Active = in.Active;
  facts.HasSystemMenu = in.HasSystemMenu;
  facts.HasMaximizeBox = (in.Style & wstyle::kMaximizeBox) != 0;
  facts.HasMinimizeBox = (in.Style & wstyle::kMinimizeBox) != 0;
  facts.DialogFrame = out.Border == TBorderKind::DialogFrame;
  facts.MdiMaximizedChildWithMenuBar =
      in.Kind == TWindowKind::MdiFrame && in.MdiMaximizedChild && in.MenuBarHeight > 0;
  const bool rtl = (in.ExStyle & wstyle::kExLeftScrollBar) != 0;

  TButtonPlaceInput place;
  place.WindowWidth = width;
  place.Thickness = th;
  place.MenuBar = out.MenuBar;
  place.MenuBarLeftWidth = skin.MenuBar ? skin.MenuBar->LeftWidth : 0;
  place.RightToLeft = rtl;

  // Buttons that do not depend on the text first: the popup text rule needs the right-aligned ones.
  out.Buttons.resize(skin.CaptionButtons.size());
  for (size_t i = 0; i < skin.CaptionButtons.size(); ++i) {
    const TDataSkinSysButton& b = *skin.CaptionButtons[i];
    TPlacedButton& p = out.Buttons[i];
    p.Index = static_cast<int32_t>(i);
    p.Image = CaptionButtonImage(b, in.Icon);
    p.Visible = CaptionButtonVisible(b, facts) && p.Image.Image != nullptr && !p.Image.Image->Empty();
    p.InMenuBar = b.Align == 100;
    if (p.InMenuBar && out.MenuBar.Empty()) p.Visible = false;
    TButtonState state = TButtonState::Normal;
    if (in.PressedButton == p.Index) state = TButtonState::Pressed;
    else if (in.HotButton == p.Index) state = TButtonState::Hot;
    p.Frame = CaptionButtonFrame(b, p.Image.FrameCount, state, in.Active);
    if (b.Align != 2 && b.Align != 8 && b.Align != 3 && b.Align != 9) {
      p.Rect = PlaceCaptionButton(b, CaptionButtonSize(p.Image), place);
      if (b.Align == 1 && p.Visible && (!out.RightmostButtonLeft || p.Rect.left > *out.RightmostButtonLeft)) {
        out.RightmostButtonLeft = p.Rect.left;
      }
    }
  }

  TCaptionTextInput text;
  text.WindowWidth = width;
  text.StripHeight = out.CaptionStrip.Height();
  text.TextWidth = in.CaptionTextWidth;
  text.TextHeight = in.CaptionTextHeight;
  text.RightToLeft = rtl;
  text.Popup = (in.Style & wstyle::kPopup) != 0;
  text.RightmostButtonLeft = in.PreviousRightmostButtonLeft ? in.PreviousRightmostButtonLeft : out.RightmostButtonLeft;
  text.Dpi = skin.Dpi;
  out.Text = PlaceCaptionText(skin.Title, text);

  place.Text = out.Text.Box;
  for (size_t i = 0; i < skin.CaptionButtons.size(); ++i) {
    const TDataSkinSysButton& b = *skin.CaptionButtons[i];
    if (b.Align == 2 || b.Align == 8 || b.Align == 3 || b.Align == 9) {
      out.Buttons[i].Rect = PlaceCaptionButton(b, CaptionButtonSize(out.Buttons[i].Image), place);
    }
  }
  return out;
}

void ComposeCaptionStrip(TBitmap32& target, const TSkinObjects& skin, const TFrameLayout& layout,
                         const TFrameInput& in) {
  if (layout.Border == TBorderKind::CaptionlessPopup || layout.CaptionStrip.Empty()) return;
  // The strip is composed in a bitmap of its own, which clips the text plate and the caption
  // buttons to it: a skin may place them anywhere, and hundreds of large ones then cost the
  // strip's area each, not the window's. The strip starts at the window's top-left, so its
  // coordinates are the window's, and its rows are the first rows of the target.
  const int32_t width = target.Width;
  const int32_t rows = std::min(layout.CaptionStrip.bottom, target.Height);
  if (width <= 0 || rows <= 0) return;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(rows);
  TBitmap32 strip(width, rows);
  std::copy_n(target.Pixels().begin(), count, strip.MutablePixels().begin());

  const TFrameThickness& th = layout.Thickness;
  const TRectI top{th.Left, 0, std::max(th.Left, layout.CaptionStrip.right - th.Right), layout.CaptionStrip.bottom};
  RenderNinePart(strip, top, FrameSidePart(skin.Top, true), SideFrame(skin.Top, in.Active));
  RenderTextBack(strip, skin.Title, layout.Text, in.Active);
  for (const TPlacedButton& b : layout.Buttons) {
    if (!b.Visible || b.InMenuBar) continue;
    RenderNinePart(strip, b.Rect, ButtonPart(b.Image), b.Frame);
  }
  std::copy_n(strip.Pixels().begin(), count, target.MutablePixels().begin());
}

void ComposeFrame(TBitmap32& target, const TSkinObjects& skin, const TFrameLayout& layout,
                  const TFrameInput& in, TPixel menuFill) {
  ComposeFrame(target, TPointI{0, 0}, skin, layout, in, menuFill);
}

void ComposeFrame(TBitmap32& target, TPointI origin, const TSkinObjects& skin, const TFrameLayout& layout,
                  const TFrameInput& in, TPixel menuFill) {
  if (layout.Border == TBorderKind::CaptionlessPopup) return;
  const int32_t width = std::max(in.Width, 0);
  const int32_t height = std::max(in.Height, 0);
  const TFrameThickness& th = layout.Thickness;
  // Window coordinates to the target's.
  const auto at = [origin](const TRectI& r) { return r.Offset(-origin.x, -origin.y); };
  RenderNinePart(target, at(TRectI{0, 0, th.Left, height}), FrameSidePart(skin.Left, false),
                 SideFrame(skin.Left, in.Active));
  RenderNinePart(target, at(TRectI{width - th.Right, 0, width, height}), FrameSidePart(skin.Right, false),
                 SideFrame(skin.Right, in.Active));
  RenderNinePart(target, at(TRectI{th.Left, height - th.Bottom, width - th.Right, height}),
                 FrameSidePart(skin.Bottom, true), SideFrame(skin.Bottom, in.Active));
  const TRectI held = TRectI{0, 0, target.Width, target.Height}.Offset(origin.x, origin.y);
  const TRectI& caption = layout.CaptionStrip;
  const bool holdsCaption = held.left < caption.right && caption.left < held.right && held.top < caption.bottom &&
                            caption.top < held.bottom;
  if (origin == TPointI{0, 0}) {
    ComposeCaptionStrip(target, skin, layout, in);
  } else if (holdsCaption) {
    // The strip is composed at the window's top-left over what the target holds of it.
    TBitmap32 strip(width, caption.bottom, 0);
    for (int32_t y = std::max(held.top, 0); y < std::min(held.bottom, caption.bottom); ++y)
      for (int32_t x = std::max(held.left, 0); x < std::min(held.right, width); ++x)
        strip.At(x, y) = target.At(x - origin.x, y - origin.y);
    ComposeCaptionStrip(strip, skin, layout, in);
    for (int32_t y = std::max(held.top, 0); y < std::min(held.bottom, caption.bottom); ++y)
      for (int32_t x = std::max(held.left, 0); x < std::min(held.right, width); ++x)
        target.At(x - origin.x, y - origin.y) = strip.At(x, y);
  }
  if (!layout.MenuBar.Empty()) {
    RenderMenuBarBackground(target, at(layout.MenuBar), skin.MenuBar.get(), in.Active, menuFill);
    for (const TPlacedButton& b : layout.Buttons) {
      if (b.Visible && b.InMenuBar) RenderNinePart(target, at(b.Rect), ButtonPart(b.Image), b.Frame);
    }
  }
}

std::vector<TRectI> FrameRegion(const TSkinObjects& skin, const TFrameLayout& layout, const TFrameInput& in,
                                const TBitmap32* composed) {
  const int32_t width = std::max(in.Width, 0);
  const int32_t height = std::max(in.Height, 0);
  TRegionBuilder region(width, height);
  const TRectI whole{0, 0, width, height};
  const bool anyTrans = skin.Left.Trans == 1 || skin.Right.Trans == 1 || skin.Top.Trans == 1 ||
                        skin.Bottom.Trans == 1;
  if (layout.Border == TBorderKind::CaptionlessPopup || !anyTrans) {
    region.AddRect(whole);
    return region.Rects();
  }
  const TFrameThickness& th = layout.Thickness;
  region.AddRect(TRectI{th.Left, th.Top, width - th.Right, height - th.Bottom});

  // A side's shape: its active frame rendered onto magenta, so that pixels it does not cover
  // are cut as well.
  auto addSide = [&](const TDataSkinBorder& side, bool stacked, const TRectI& rect) {
    if (rect.Empty()) return;
    TBitmap32 rendered(rect.Width(), rect.Height(), kMagenta);
    RenderNinePart(rendered, TRectI{0, 0, rect.Width(), rect.Height()}, FrameSidePart(side, stacked), 1);
    region.AddOpaque(rendered, TRectI{0, 0, rect.Width(), rect.Height()}, TPointI{rect.left, rect.top});
  };

  const TRectI left{0, 0, th.Left, height};
  const TRectI right{width - th.Right, 0, width, height};
  const TRectI top{th.Left, 0, std::max(th.Left, width - th.Right), std::min(th.Top, height)};
  const TRectI bottom{th.Left, height - th.Bottom, std::max(th.Left, width - th.Right), height};

  if (skin.Left.Trans == 1 && height > 1) addSide(skin.Left, false, left);
  else region.AddRect(left);
  if (skin.Right.Trans == 1 && height > 1) addSide(skin.Right, false, right);
  else region.AddRect(right);
  if (skin.Top.Trans == 1 && th.Top > 1) {
    if (composed != nullptr && composed->Width >= width && composed->Height >= top.bottom) {
      region.AddOpaque(*composed, top, TPointI{top.left, top.top});
    } else {
      addSide(skin.Top, true, top);
    }
  } else {
    region.AddRect(top);
  }
  if (skin.Bottom.Trans == 1 && th.Bottom >= 2) addSide(skin.Bottom, true, bottom);
  else region.AddRect(bottom);
  return region.Rects();
}

}  // namespace zelvo
