// Draws every piece of a skin the engine draws, onto portable bitmaps, the way the Windows skins
// compose them: the window frame of each border kind, state and placement with its region, the
// preview, each control's pieces in each state, the menu bar, menu items and separators, at sizes
// from one pixel up. For the hostile-skin tests and the drawing fuzz target: whatever a skin
// holds, this must finish without a fault, in time and memory bounded by the sizes drawn.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "skin/render/ControlSkins_core.h"
#include "skin/render/FormSkin_core.h"
#include "skin/render/MenuSkin_core.h"
#include "skin/render/SkinPreview.h"

namespace zelvo::test {

// What drawing a skin gave: a sum over every pixel and rectangle produced (the same skin always
// gives the same sum, so two ways of loading a skin can be compared), and the broken promises
// found on the way.
struct TSkinDrawing {
  uint64_t Sum = 14695981039346656037ull;
  std::vector<std::string> Faults;
  bool Summing = true;  // off, the pixels are only drawn (the fuzz target wants no sum)

  void Add(int64_t v) {
    if (!Summing) return;
    for (int i = 0; i < 8; ++i) {
      Sum = (Sum ^ static_cast<uint8_t>(v >> (8 * i))) * 1099511628211ull;
    }
  }
  void Add(const TRectI& r) {
    Add(r.left);
    Add(r.top);
    Add(r.right);
    Add(r.bottom);
  }
  void Add(const TBitmap32& b) {
    if (!Summing) return;
    Add(b.Width);
    Add(b.Height);
    for (TPixel p : b.Pixels()) Sum = (Sum ^ p) * 1099511628211ull;
  }
  void Check(bool ok, const std::string& what) {
    if (!ok && Faults.size() < 20) Faults.push_back(what);
  }
};

namespace draw_detail {

inline TRectI R(const TRectI& r) { return TRectI{r.left, r.top, r.right, r.bottom}; }

inline TPixel Face(const TSkinObjects& skin) { return PreviewColour(skin.Colours.ButtonFace); }

// Control sizes: degenerate, small, typical and long.
struct TSize2 {
  int W, H;
};
inline constexpr TSize2 kControlSizes[] = {{1, 1}, {2, 3}, {17, 5}, {75, 23}, {12, 60}};

// An ordinary entry over the whole control in frames beyond both ends of its count (the drawing
// takes the first and the last).
inline void Entry(TSkinDrawing& d, const TSkinObjects& skin, const TDataSkinObject* entry, int w, int h) {
  if (entry == nullptr) return;
  for (int frame : {0, entry->FrameCount + 1}) {
    TBitmap32 bmp(w, h, Face(skin));
    RenderNinePart(bmp, TRectI{0, 0, w, h}, NinePartOf(*entry, entry->Trans != 0), frame);
    d.Add(bmp);
  }
}

inline void PushButton(TSkinDrawing& d, const TSkinObjects& skin, int w, int h) {
  TNinePart part = NinePartOf(skin.Buttons, skin.Buttons.Trans != 0);
  if (part.FrameCount < 2) part.FrameCount = 5;
  for (int frame = 1; frame <= 4; ++frame) {
    TBitmap32 bmp(w, h, Face(skin));
    RenderNinePart(bmp, TRectI{0, 0, w, h}, part, frame);
    d.Add(bmp);
  }
}

inline void CheckAndRadio(TSkinDrawing& d, const TSkinObjects& skin, int w, int h) {
  const TDataSkinButton& b = skin.Buttons;
  for (const auto& [image, frames] : {std::pair{&b.CheckImage, b.CheckButtonFrame},
                                      std::pair{&b.RadioImage, b.RadioButtonFrame}}) {
    if (image->Empty()) continue;
    for (int frame = 1; frame <= 4; ++frame) {
      const TRectI cell = FrameCell(*image, frames > 0 ? frames : 4, frame, false);
      for (bool right : {false, true}) {
        const CheckBoxGeometry g = LayoutCheckBox(w, h, 13, TSizeI{cell.Width(), cell.Height()}, right);
        TBitmap32 bmp(w, h, Face(skin));
        StretchCopy(bmp, R(g.Image), *image, cell, b.Trans != 0);
        d.Add(bmp);
        d.Add(g.Strip);
      }
    }
  }
}

inline void Combo(TSkinDrawing& d, const TSkinObjects& skin, int w, int h) {
  const TDataSkinBorder* button = skin.ComboButton.get();
  for (bool leftScroll : {false, true}) {
    ComboInput in;
    in.Width = w;
    in.Height = h;
    in.Flat = button != nullptr && button->Style == 1;
    in.ButtonWidth = in.Flat ? 17 : 16;
    in.LeftScrollBar = leftScroll;
    const ComboGeometry g = LayoutCombo(in);
    d.Add(g.Text);
    for (int frame = 1; frame <= 4; ++frame) {
      TBitmap32 bmp(w, h, Face(skin));
      if (skin.SunkEdge) {
        RenderNinePart(bmp, TRectI{0, 0, w, h}, NinePartOf(*skin.SunkEdge, skin.SunkEdge->Trans != 0), 1);
      }
      if (button != nullptr) {
        TNinePart part = NinePartOf(*button, button->Trans != 0);
        if (g.Mirrored && !button->Image2.Empty()) part.Image = &button->Image2;
        if (part.FrameCount < 2) part.FrameCount = 4;
        RenderNinePart(bmp, R(g.Button), part, frame);
      }
      if (skin.ExtraImages && !skin.ExtraImages->Image.Empty()) {
        const TRectI cell = FrameCell(skin.ExtraImages->Image, 5, frame, false);
        StretchCopy(bmp, R(CentreIn(g.Button, cell.Width(), cell.Height())), skin.ExtraImages->Image, cell, true);
      }
      d.Add(bmp);
    }
  }
}

// Both styles whatever the entry says, so that each is drawn with every skin.
inline void Progress(TSkinDrawing& d, const TSkinObjects& skin, int w, int h) {
  if (!skin.Progress) return;
  const TDataSkinBorder& pr = *skin.Progress;
  const TBitmap32& chunk = pr.Image2;
  for (bool vertical : {false, true}) {
    for (int position : {0, 37, 100}) {
      const TRectI fill = ProgressFillRect(w, h, position, 100, vertical);
      TBitmap32 bar(w, h, Face(skin));
      TNinePart whole = NinePartOf(pr, true);
      whole.FrameCount = 1;
      RenderNinePart(bar, TRectI{0, 0, w, h}, whole, 1);
      if (!fill.Empty() && !chunk.Empty()) {
        const TRectI src{0, 0, chunk.Width, chunk.Height};
        const int across = vertical ? ProgressChunkTop(w, chunk.Width) : ProgressChunkTop(h, chunk.Height);
        const std::vector<int> starts = vertical ? ProgressChunkLefts(fill.Height(), chunk.Height, pr.BottomHeight)
                                                 : ProgressChunkLefts(fill.Width(), chunk.Width, pr.LeftWidth);
        for (int from : starts) {
          const TRectI at = vertical ? TRectI{across, h - from - chunk.Height, across + chunk.Width, h - from}
                                     : TRectI{from, across, from + chunk.Width, across + chunk.Height};
          StretchCopy(bar, at, chunk, src, pr.Trans != 0);
        }
      }
      d.Add(bar);

      TBitmap32 framed(w, h, Face(skin));
      TNinePart part = NinePartOf(pr, pr.Trans != 0);
      if (part.FrameCount < 2) part.FrameCount = 2;
      RenderNinePart(framed, TRectI{0, 0, w, h}, part, 1);
      if (!fill.Empty()) RenderNinePart(framed, R(fill), part, 2);
      d.Add(framed);
    }
  }
}

inline void ScrollBars(TSkinDrawing& d, const TSkinObjects& skin, int length) {
  if (!skin.Scrollbar) return;
  const int t = kScrollComposeThickness;
  for (bool horizontal : {false, true}) {
    const ScrollInfo info{0, 100, 10, 50};
    const ScrollBarParts parts = LayoutScrollBar(length, 17, 8, info);
    auto along = [&](int a, int b) { return horizontal ? TRectI{a, 0, b, t} : TRectI{0, a, t, b}; };
    for (int held = 0; held <= 2; ++held) {
      TBitmap32 bmp(horizontal ? parts.Length : t, horizontal ? t : parts.Length,
                    PreviewColour(skin.Colours.Scrollbar));
      const TDataSkinObject* shaft = horizontal ? skin.HorzScroll.get() : skin.VertScroll.get();
      if (shaft && parts.TrackEnd > parts.TrackStart) {
        TNinePart part = NinePartOf(*shaft, shaft->Trans != 0);
        if (part.FrameCount < 2) part.FrameCount = 4;
        RenderNinePart(bmp, along(parts.TrackStart, parts.TrackEnd), part, 1);
      }
      for (int second = 0; second < 2; ++second) {
        const TRectI cell = FrameCell(skin.Scrollbar->Image, 23, ScrollArrowFrame(horizontal, second != 0, held == second + 1), false);
        const TRectI at = second ? along(parts.TrackEnd, parts.Length) : along(0, parts.ArrowLength);
        StretchCopy(bmp, at, skin.Scrollbar->Image, cell, skin.Scrollbar->Trans != 0);
      }
      const TDataSkinObject* thumb = horizontal ? skin.HorzScrollThumb.get() : skin.VertScrollThumb.get();
      if (thumb && parts.HasThumb) {
        RenderNinePart(bmp, along(parts.ThumbStart, parts.ThumbEnd), NinePartOf(*thumb, thumb->Trans != 0), held + 1);
      }
      d.Add(bmp);
    }
    if (const std::optional<int> pos = ThumbDragPosition(3, length, parts.Usable(), info)) d.Add(*pos);
  }
}

inline void UpDown(TSkinDrawing& d, const TSkinObjects& skin, int w, int h) {
  for (const TDataSkinBorder* entry : {skin.UpDownHorz.get(), skin.UpDownVert.get()}) {
    if (entry == nullptr) continue;
    TNinePart part = NinePartOf(*entry, entry->Trans != 0);
    part.FrameCount = 8;
    const UpDownGeometry g = LayoutUpDown(w, h, entry == skin.UpDownHorz.get());
    for (int state = 0; state < 4; ++state) {
      TBitmap32 bmp(w, h, Face(skin));
      for (int i = 0; i < 2; ++i) {
        const TRectI& b = i == 0 ? g.First : g.Second;
        const int frame = UpDownFrame(i == 1, state != 3, state == 1, state == 2);
        RenderNinePart(bmp, R(b), part, frame);
        if (!entry->Image2.Empty()) {
          const TRectI cell = FrameCell(entry->Image2, 8, frame, false);
          StretchCopy(bmp, R(CentreIn(b, cell.Width(), cell.Height())), entry->Image2, cell, true);
        }
      }
      d.Add(bmp);
    }
  }
}

// A page with a row of three tabs, the second selected and standing out.
inline void Tabs(TSkinDrawing& d, const TSkinObjects& skin, int w, int h) {
  const TDataSkinBorder* tabs = skin.Tabs.get();
  if (tabs == nullptr || tabs->Image.Empty()) return;
  TBitmap32 bmp(w, h, Face(skin));
  if (!tabs->Image2.Empty()) {
    TNinePart page = NinePartOf(*tabs, tabs->Trans != 0);
    page.Image = &tabs->Image2;
    page.FrameCount = 1;
    RenderNinePart(bmp, TRectI{0, std::min(h, 19), w, h}, page, 1);
  }
  for (int i = 0; i < 3; ++i) {
    const bool selected = i == 1;
    const TRectI t{i * 40 - (selected ? 2 : 0), selected ? 0 : 2, i * 40 + 40 + (selected ? 2 : 0), 20 + (selected ? 1 : 0)};
    RenderNinePart(bmp, t, NinePartOf(*tabs, tabs->Trans != 0), selected ? 2 : i + 3);
  }
  d.Add(bmp);
}

inline void StatusBar(TSkinDrawing& d, const TSkinObjects& skin, int w, int h) {
  const TDataSkinObject* edges = skin.StatusBarEdges.get();
  if (edges == nullptr || edges->Image.Empty()) return;
  TBitmap32 bmp(w, h, Face(skin));
  TNinePart part = NinePartOf(*edges, edges->Trans != 0);
  part.FrameCount = 3;
  RenderNinePart(bmp, TRectI{0, 0, w, h}, part, 1);
  RenderNinePart(bmp, TRectI{0, 0, w / 2, h}, part, 2);
  RenderNinePart(bmp, TRectI{w / 2, 0, w, h}, part, 3);
  if (skin.ExtraImages && !skin.ExtraImages->Image.Empty()) {
    const TRectI cell = FrameCell(skin.ExtraImages->Image, 5, 5, false);
    StretchCopy(bmp, TRectI{w - cell.Width() - 1, h - cell.Height() - 1, w - 1, h - 1}, skin.ExtraImages->Image, cell,
                skin.ExtraImages->Trans != 0);
  }
  // The panel text sits inside the edges' fixed widths.
  d.Add(static_cast<int64_t>(edges->LeftWidth) + 2);
  d.Add(static_cast<int64_t>(w) - edges->RightWidth);
  d.Add(bmp);
}

inline void Controls(TSkinDrawing& d, const TSkinObjects& skin) {
  for (const TSize2 s : kControlSizes) {
    PushButton(d, skin, s.W, s.H);
    CheckAndRadio(d, skin, s.W, s.H);
    Combo(d, skin, s.W, s.H);
    Progress(d, skin, s.W, s.H);
    UpDown(d, skin, s.W, s.H);
    Tabs(d, skin, s.W, s.H);
    StatusBar(d, skin, s.W, s.H);
    ScrollBars(d, skin, std::max(s.W, s.H));
    for (const auto& e : skin.OptionalEntries()) Entry(d, skin, e.Object, s.W, s.H);
  }
}

// ---- Menus ----------------------------------------------------------------------------------

inline void MenuItems(TSkinDrawing& d, const TSkinObjects& skin) {
  const std::optional<int> leftWidth = MenuItemLeftWidth(skin);
  for (int measured : {0, 100}) {
    for (bool list : {false, true}) {
      d.Check(PopupMenuItemWidth(measured, list, leftWidth) >= measured, "a popup item narrower than its text");
      d.Check(MainMenuItemWidth(measured, list, leftWidth) >= measured, "a menu-bar item narrower than its text");
    }
  }
  for (bool separator : {false, true}) {
    const TSizeI size = SystemMenuItemSize(60, 13, separator, skin.MenuItem.get(), false);
    d.Check(size.cx >= 60, "a system-menu item narrower than its text");
    d.Add(size.cx);
    d.Add(size.cy);
  }

  const TDataSkinObject* entry = skin.MenuItem.get();
  const TDataSkinObject* back = skin.MenuBackground.get();
  for (const TSize2 s : {TSize2{1, 1}, TSize2{60, 18}, TSize2{120, 8}, TSize2{90, 30}}) {
    const int w = s.W, h = s.H;
    // The popup window the items stand in: four items and the 3-pixel border.
    TBitmap32 popup(w + 2 * kPopupMenuBorder, 4 * h + 2 * kPopupMenuBorder, PreviewColour(skin.Colours.Menu));
    if (back != nullptr) RenderNinePart(popup, TRectI{0, 0, popup.Width, popup.Height}, NinePartOf(*back, false), 1);
    for (const TRectI& r : PopupMenuBorderRects(popup.Width, popup.Height)) d.Add(r);
    d.Add(popup);

    for (bool separator : {false, true}) {
      for (bool selected : {false, true}) {
        for (bool rtl : {false, true}) {
          TBitmap32 item(w, h, PreviewColour(skin.Colours.Menu));
          StretchCopy(item, TRectI{0, 0, w, h}, popup, R(MenuBackgroundSource(TRectI{0, h, w, 2 * h})), false);
          MenuItemContentsInput in;
          in.Width = w;
          in.Height = h;
          in.GlyphBox = MenuGlyphBoxSize(selected ? std::optional<int>(24) : std::nullopt, !separator);
          in.LeftWidth = leftWidth;
          in.Separator = separator;
          in.RightToLeft = rtl;
          const MenuItemContents c = LayoutMenuItemContents(in);
          const TRectI caption = PlaceMenuCaption(c, TSizeI{40, 13}, rtl, h);
          d.Add(c.GlyphBox);
          d.Add(caption);
          d.Add(MenuShortcutRect(caption, w, rtl));
          d.Add(MenuEtchedLineRect(TRectI{0, 0, w, h}));
          d.Add(MenuItemTextColour(skin.Colours, !rtl, selected));
          if (entry != nullptr && !separator) {
            TNinePart part = NinePartOf(*entry, true);
            part.FrameCount = 5;
            RenderNinePart(item, TRectI{0, 0, w, h}, part, MenuItemFrame(selected));
          } else if (entry != nullptr) {
            for (const SkinBlit& b : MenuSeparatorBlits(entry->Image.Width, entry->Image.Height, entry->LeftWidth,
                                                        entry->RightWidth, w, h)) {
              StretchCopy(item, R(b.Dest), entry->Image, R(b.Source), false);
            }
          }
          d.Add(item);
        }
      }
    }
  }
}

inline void MenuBar(TSkinDrawing& d, const TSkinObjects& skin) {
  for (bool rtl : {false, true}) {
    TMenuBarInput in;
    in.BarWidth = 400;
    in.BarHeight = 19;
    in.Entry = skin.MenuBar.get();
    in.RightToLeft = rtl;
    in.TextWidths = {0, 25, 40, 5000};
    for (const TMenuButtonPlace& p : LayoutMenuBar(in)) {
      d.Add(p.Rect);
      d.Add(p.Visible);
    }
  }
  for (bool active : {false, true}) {
    TBitmap32 bar(400, 19);
    RenderMenuBarBackground(bar, TRectI{0, 0, 400, 19}, skin.MenuBar.get(), active, PreviewColour(skin.Colours.Menubar));
    d.Add(bar);
  }
}

// ---- The window frame -----------------------------------------------------------------------

struct TFrameCase {
  uint32_t Style;
  uint32_t ExStyle;
  bool Active;
  TPlacement Placement;
  TWindowKind Kind;
  int32_t MenuBarHeight;
  int32_t Width, Height;
};

inline void Frames(TSkinDrawing& d, const TSkinObjects& skin, const TBitmap32& icon, int32_t windowLimit) {
  using namespace wstyle;
  const uint32_t sizeable = kCaption | kSysMenu | kThickFrame | kMinimizeBox | kMaximizeBox;
  const TFrameCase cases[] = {
      {sizeable, 0, true, TPlacement::Normal, TWindowKind::Other, 19, 418, 275},
      {sizeable, kExLeftScrollBar, false, TPlacement::Maximized, TWindowKind::Other, 0, 200, 120},
      {kCaption | kSysMenu | kMinimizeBox, 0, true, TPlacement::Normal, TWindowKind::Other, 0, 120, 60},
      {kPopup | kCaption | kSysMenu | kModalFrame, 0, true, TPlacement::Normal, TWindowKind::Other, 0, 1, 1},
      {kPopup | kCaption | kSysMenu, 0, false, TPlacement::Normal, TWindowKind::Other, 0, 80, 30},
      {kPopup, 0, true, TPlacement::Normal, TWindowKind::Other, 0, 50, 50},
      {sizeable, 0, true, TPlacement::Normal, TWindowKind::MdiFrame, 19, 160, 100},
      {sizeable, 0, true, TPlacement::Minimized, TWindowKind::Other, 19, 3, 2},
  };
  const int32_t buttons = static_cast<int32_t>(skin.CaptionButtons.size());
  for (TFrameCase c : cases) {
    c.Width = std::min(c.Width, windowLimit);
    c.Height = std::min(c.Height, windowLimit);
    for (int round = 0; round < 2; ++round) {
      TFrameInput in;
      in.Width = c.Width;
      in.Height = c.Height;
      in.Style = c.Style;
      in.ExStyle = c.ExStyle;
      in.HasSystemMenu = (c.Style & kSysMenu) != 0;
      in.Active = c.Active;
      in.Placement = c.Placement;
      in.Kind = c.Kind;
      in.MenuBarHeight = c.MenuBarHeight;
      in.MdiMaximizedChild = c.Kind == TWindowKind::MdiFrame;
      in.CaptionTextWidth = 90;
      in.CaptionTextHeight = 13;
      in.Icon = &icon;
      // Second round, for the smaller windows: one button hot and another pressed.
      if (round == 1 && c.Width * c.Height > 200 * 120) continue;
      if (round == 1 && buttons > 0) {
        in.HotButton = c.Width % buttons;
        in.PressedButton = (c.Width + 1) % buttons;
        in.PreviousRightmostButtonLeft = c.Width / 2;
      }
      const TFrameLayout layout = LayoutFrame(skin, in);
      const TFrameThickness& th = layout.Thickness;
      for (int32_t side : {th.Left, th.Top, th.Right, th.Bottom}) {
        d.Check(side >= 0 && side <= kMaxFrameThickness, "a frame side " + std::to_string(side) + " thick");
      }
      TBitmap32 window(c.Width, c.Height, Face(skin));
      ComposeFrame(window, skin, layout, in, PreviewColour(skin.Colours.Menubar));
      const std::vector<TRectI> region = FrameRegion(skin, layout, in, &window);
      for (const TRectI& r : region) {
        d.Check(!r.Empty() && r.left >= 0 && r.top >= 0 && r.right <= c.Width && r.bottom <= c.Height,
                "a region rectangle outside the window");
        d.Add(r);
      }
      d.Add(window);
      d.Add(layout.Text.Box);
      for (const TPlacedButton& b : layout.Buttons) {
        d.Add(b.Rect);
        d.Add(b.Visible);
        d.Add(b.Frame);
      }

      // The sizing and hit-testing arithmetic of the same window.
      const TRectI client = SkinClientRect(TRectI{0, 0, c.Width, c.Height}, th, c.MenuBarHeight);
      d.Check(!(client.right < client.left || client.bottom < client.top), "an inverted client rectangle");
      d.Add(client);
      const TSizeI outer = SkinnedWindowSize(TSizeI{c.Width, c.Height}, th, c.MenuBarHeight);
      const TSizeI detached = DetachedWindowSize(outer, th, c.MenuBarHeight, TSizeI{8, 31});
      d.Add(outer.cx + detached.cy);
      d.Add(SkinHitTest(hittest::kNowhere, TPointI{c.Width / 2, -1}, th, c.MenuBarHeight, false));
      const TMessageBoxWidening widened = WidenMessageBox(c.Width, 300, 4, th, skin.Title);
      d.Check(widened.Width <= 32767 && widened.ChildShift >= 0, "a message box widened past a coordinate");
      d.Add(widened.Width);
    }
  }
}

inline void Previews(TSkinDrawing& d, const TSkinObjects& skin, int32_t windowLimit) {
  TPreviewOptions options;
  options.Width = std::min(options.Width, windowLimit);
  options.Height = std::min(options.Height, windowLimit);
  d.Add(RenderPreview(skin, options).Bitmap);
  options.Active = false;
  options.Maximized = true;
  options.Caption = std::string(400, 'W');
  options.ExStyle = wstyle::kExLeftScrollBar;
  PreviewStyleByName("dialog", options.Style);
  options.Width = std::min(150, windowLimit);
  options.Height = std::min(40, windowLimit);
  const TPreview preview = RenderPreview(skin, options);
  d.Add(preview.Bitmap);
  d.Add(static_cast<int64_t>(preview.Region.size()));
}

}  // namespace draw_detail

// Windows are drawn at most `windowLimit` pixels wide and high (the program's own window is 418 x
// 275): the fuzz target draws small ones, to try many skins a second, and takes no sum.
inline TSkinDrawing DrawWholeSkin(const TSkinObjects& skin, int32_t windowLimit = kPreviewMaxSide,
                                  bool summing = true) {
  TSkinDrawing d;
  d.Summing = summing;
  TBitmap32 icon(16, 16, kMagenta);
  for (int i = 3; i < 13; ++i) icon.At(i, i) = MakePixel(0, 0, 128);
  draw_detail::Frames(d, skin, icon, windowLimit);
  draw_detail::Previews(d, skin, windowLimit);
  draw_detail::MenuBar(d, skin);
  draw_detail::MenuItems(d, skin);
  draw_detail::Controls(d, skin);
  return d;
}

}  // namespace zelvo::test
