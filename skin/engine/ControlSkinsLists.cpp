#include "skin/engine/ControlSkinsLists.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "skin/engine/ControlSkinsDraw.h"
#include "skin/render/NinePart.h"

namespace zelvo {

namespace {

void RepaintNow(HWND h) {
  if (h && IsWindow(h)) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

TNinePart PartOf(const TDataSkinObject& entry, int frames) {
  TNinePart part = NinePartOf(entry, entry.Trans != 0);
  part.FrameCount = frames;
  return part;
}

bool Has(const TDataSkinObject* entry) { return entry && !entry->Image.Empty(); }

// Text in the control's font and `colour`, transparent, into `r` with `flags`.
void DrawLabel(HDC dc, HFONT font, const std::string& text, RECT r, UINT flags, TColor colour) {
  if (text.empty()) return;
  ScopedSelect sel(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(colour));
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TSkinStatusBar

bool TSkinStatusBar::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  return !PaintWholeControl(*this, m, CanDraw() && Has(Skin().StatusBarEdges.get()));
}

void TSkinStatusBar::DrawControl(HDC dc, const RECT& r) {
  const TDataSkinObject* edges = Skin().StatusBarEdges.get();
  if (!Has(edges)) return;
  TBitmap32 bmp(r.right, r.bottom, SkinColourPixel(Colours().ButtonFace));
  const TNinePart part = PartOf(*edges, 3);
  RenderNinePart(bmp, TRectI{0, 0, r.right, r.bottom}, part, 1);

  const bool simple = SendMessageA(handle_, SB_ISSIMPLE, 0, 0) != 0;
  int count = simple ? 1 : static_cast<int>(SendMessageA(handle_, SB_GETPARTS, 0, 0));
  count = std::clamp(count, 0, 256);
  struct Panel {
    RECT rect;
    std::string text;
  };
  std::vector<Panel> panels;
  for (int i = 0; i < count; ++i) {
    Panel p{};
    const WPARAM index = simple ? 255 : static_cast<WPARAM>(i);  // the simple text's slot
    if (simple) {
      GetClientRect(handle_, &p.rect);
    } else if (!SendMessageA(handle_, SB_GETRECT, index, reinterpret_cast<LPARAM>(&p.rect))) {
      continue;
    }
    const LRESULT info = SendMessageA(handle_, SB_GETTEXTLENGTHA, index, 0);
    const int length = LOWORD(info);
    if (length > 0 && !(HIWORD(info) & SBT_OWNERDRAW)) {
      std::string text(static_cast<size_t>(length) + 1, '\0');
      SendMessageA(handle_, SB_GETTEXTA, index, reinterpret_cast<LPARAM>(text.data()));
      text.resize(std::strlen(text.c_str()));
      p.text = text;
    }
    panels.push_back(p);
  }
  for (size_t i = 0; i < panels.size(); ++i) {
    RECT pr = panels[i].rect;
    // The last panel may run to the window's edge (right -1 in the control's answer).
    if (pr.right < 0 || pr.right > r.right) pr.right = r.right;
    RenderNinePart(bmp, ToRectI(pr), part, i + 1 == panels.size() ? 3 : 2);
  }
  const bool grip = (GetWindowLongA(handle_, GWL_STYLE) & SBARS_SIZEGRIP) != 0;
  const TDataSkinObject* extra = Skin().ExtraImages.get();
  if (grip && Has(extra)) {
    TRectI cell = FrameCell(extra->Image, 5, 5, false);
    const int gw = cell.Width(), gh = cell.Height();
    StretchCopy(bmp, TRectI{r.right - gw - 1, r.bottom - gh - 1, r.right - 1, r.bottom - 1}, extra->Image, cell,
                extra->Trans != 0);
  }
  HFONT font = ControlFont();
  const TColor ink = enabled_ ? Colours().ButtonText : Colours().ButtonShadow;
  BlitComposed(dc, bmp, 0, 0, [&](HDC odc) {
    for (const Panel& p : panels) {
      RECT tr = p.rect;
      tr.left += edges->LeftWidth + 2;
      tr.right -= edges->RightWidth;
      DrawLabel(odc, font, p.text, tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS, ink);
    }
  });
}

// ---------------------------------------------------------------------------------------------
// TSkinTab

namespace {
bool TopTabs(HWND h) { return (GetWindowLongA(h, GWL_STYLE) & (TCS_BOTTOM | TCS_VERTICAL)) == 0; }
}  // namespace

int TSkinTab::TabFrame(int index) const {
  if (!enabled_) return 3;
  const int selected = static_cast<int>(SendMessageA(handle_, TCM_GETCURSEL, 0, 0));
  if (index == selected) return GetFocus() == handle_ ? 5 : 2;
  if (index == hotTab_) return 4;
  return 1;
}

bool TSkinTab::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      TCHITTESTINFO hit{MousePoint(m.LParam), 0};
      const int tab = static_cast<int>(SendMessageA(handle_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      if (tab != hotTab_) {
        hotTab_ = tab;
        TrackMouseLeave(handle_);
        RepaintNow(handle_);
      }
      return true;
    }
    case WM_MOUSELEAVE:
      if (hotTab_ >= 0) {
        hotTab_ = -1;
        RepaintNow(handle_);
      }
      return true;
    default:
      return !PaintWholeControl(*this, m, CanDraw() && Skin().Tabs && Has(Skin().Tabs.get()) && TopTabs(handle_));
  }
}

void TSkinTab::DrawControl(HDC dc, const RECT& r) {
  const TDataSkinBorder* tabs = Skin().Tabs.get();
  if (!Has(tabs) || !TopTabs(handle_)) return;
  TBitmap32 bmp(r.right, r.bottom, SkinColourPixel(Colours().ButtonFace));
  const int count = std::clamp(static_cast<int>(SendMessageA(handle_, TCM_GETITEMCOUNT, 0, 0)), 0, 1000);
  const int selected = static_cast<int>(SendMessageA(handle_, TCM_GETCURSEL, 0, 0));
  std::vector<RECT> rects(static_cast<size_t>(count));
  int rowBottom = 0;
  for (int i = 0; i < count; ++i) {
    SendMessageA(handle_, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rects[i]));
    rowBottom = std::max<int>(rowBottom, rects[i].bottom);
  }
  // The page: the Border image under the row of tabs (the whole control without tabs).
  if (!tabs->Image2.Empty()) {
    TNinePart page = NinePartOf(*tabs, tabs->Trans != 0);
    page.Image = &tabs->Image2;
    page.FrameCount = 1;
    RenderNinePart(bmp, TRectI{0, std::max(0, rowBottom - 1), r.right, r.bottom}, page, 1);
  }
  // The selected tab stands out: 2 pixels wider on each side and higher, drawn last over the page.
  auto tabRect = [&](int i) {
    RECT t = rects[static_cast<size_t>(i)];
    if (i == selected) {
      t.left -= 2;
      t.right += 2;
      t.top = std::max<LONG>(0, t.top - 2);
      t.bottom += 1;
    }
    return t;
  };
  const TNinePart part = PartOf(*tabs, 5);
  for (int i = 0; i < count; ++i)
    if (i != selected) RenderNinePart(bmp, ToRectI(tabRect(i)), part, TabFrame(i));
  if (selected >= 0 && selected < count) RenderNinePart(bmp, ToRectI(tabRect(selected)), part, TabFrame(selected));

  HFONT font = ControlFont();
  BlitComposed(dc, bmp, 0, 0, [&](HDC odc) {
    for (int i = 0; i < count; ++i) {
      char text[260] = {};
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      SendMessageA(handle_, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      RECT t = tabRect(i);
      if (i == selected) t.bottom -= 1;
      DrawLabel(odc, font, text, t, DT_SINGLELINE | DT_VCENTER | DT_CENTER,
           enabled_ ? Colours().ButtonText : Colours().ButtonShadow);
    }
  });
}

// ---------------------------------------------------------------------------------------------
// TSkinTrackBar

const TDataSkinObject* TSkinTrackBar::ThumbEntry() const {
  const LONG style = GetWindowLongA(handle_, GWL_STYLE);
  if (style & TBS_NOTHUMB) return nullptr;
  const TSkinObjects& s = Skin();
  const TDataSkinObject* e;
  if (style & TBS_VERT) {
    e = (style & TBS_BOTH) ? s.TrackbarThumbVert.get() : (style & TBS_LEFT) ? s.TrackbarThumbLeft.get()
                                                                            : s.TrackbarThumbRight.get();
  } else {
    e = (style & TBS_BOTH) ? s.TrackbarThumbHorz.get() : (style & TBS_TOP) ? s.TrackbarThumbUp.get()
                                                                           : s.TrackbarThumbDown.get();
  }
  return Has(e) ? e : nullptr;
}

int TSkinTrackBar::ThumbFrame() const {
  if (!enabled_) return 3;
  if (dragging_) return 2;
  if (Hot()) return 4;
  if (focused_) return 5;
  return 1;
}

bool TSkinTrackBar::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  switch (m.Msg) {
    case WM_LBUTTONDOWN: {
      RECT thumb{};
      SendMessageA(handle_, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
      dragging_ = PtInRect(&thumb, MousePoint(m.LParam)) != FALSE;
      return true;
    }
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (dragging_) {
        dragging_ = false;
        InvalidateRect(handle_, nullptr, FALSE);
      }
      return true;
    case WM_MOUSEMOVE: {
      RECT thumb{};
      SendMessageA(handle_, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
      const bool over = PtInRect(&thumb, MousePoint(m.LParam)) != FALSE;
      if (over != Hot()) {
        SetMouse(kHot, over);
        if (over) TrackMouseLeave(handle_);
        InvalidateRect(handle_, nullptr, FALSE);
      }
      return true;
    }
    case WM_MOUSELEAVE:
      if (Hot()) {
        SetMouse(kHot, false);
        InvalidateRect(handle_, nullptr, FALSE);
      }
      return true;
    default:
      return !PaintWholeControl(*this, m, CanDraw() && ThumbEntry());
  }
}

void TSkinTrackBar::DrawControl(HDC dc, const RECT& r) {
  const TDataSkinObject* thumbEntry = ThumbEntry();
  if (!thumbEntry) return;
  const LONG style = GetWindowLongA(handle_, GWL_STYLE);
  const bool vertical = (style & TBS_VERT) != 0;
  const TPixel shadow = SkinColourPixel(Colours().ButtonShadow);
  TBitmap32 bmp(r.right, r.bottom, SkinColourPixel(Colours().ButtonFace));
  RECT channel{};
  SendMessageA(handle_, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  // The control reports a vertical channel lying down.
  if (vertical && channel.right - channel.left > channel.bottom - channel.top)
    channel = RECT{channel.top, channel.left, channel.bottom, channel.right};
  RECT thumb{};
  SendMessageA(handle_, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));

  auto fill = [&](int l, int t, int rr, int b, TPixel p) {
    for (int y = std::max(0, t); y < std::min(b, bmp.Height); ++y)
      for (int x = std::max(0, l); x < std::min(rr, bmp.Width); ++x) bmp.At(x, y) = p;
  };
  // Channel: a ButtonShadow frame on a white bed.
  fill(channel.left, channel.top, channel.right, channel.bottom, shadow);
  fill(channel.left + 1, channel.top + 1, channel.right - 1, channel.bottom - 1, MakePixel(255, 255, 255));

  // Ticks at both ends and where the control puts its own, on the side(s) the style names.
  if (!(style & TBS_NOTICKS)) {
    std::vector<int> at;
    const int n = std::clamp(static_cast<int>(SendMessageA(handle_, TBM_GETNUMTICS, 0, 0)), 0, 1000);
    const int half = vertical ? (thumb.bottom - thumb.top) / 2 : (thumb.right - thumb.left) / 2;
    at.push_back((vertical ? channel.top : channel.left) + half);
    at.push_back((vertical ? channel.bottom : channel.right) - half - 1);
    for (int i = 0; i + 2 < n; ++i) {
      const int p = static_cast<int>(SendMessageA(handle_, TBM_GETTICPOS, static_cast<WPARAM>(i), 0));
      if (p >= 0) at.push_back(p);
    }
    const bool before = (style & TBS_BOTH) || (style & TBS_TOP);  // TBS_TOP == TBS_LEFT
    const bool after = (style & TBS_BOTH) || !(style & TBS_TOP);
    for (int p : at) {
      if (vertical) {
        if (after) fill(thumb.right + 1, p, thumb.right + 4, p + 1, shadow);
        if (before) fill(thumb.left - 4, p, thumb.left - 1, p + 1, shadow);
      } else {
        if (after) fill(p, thumb.bottom + 1, p + 1, thumb.bottom + 4, shadow);
        if (before) fill(p, thumb.top - 4, p + 1, thumb.top - 1, shadow);
      }
    }
  }
  RenderNinePart(bmp, ToRectI(thumb), PartOf(*thumbEntry, 5), ThumbFrame());
  BlitComposed(dc, bmp, 0, 0);
}

// ---------------------------------------------------------------------------------------------
// TSkinHeader

int TSkinHeader::SectionFrame(int index) const {
  if (!enabled_) return 3;
  if (index == pressed_) return 2;
  if (index == hot_) return 4;
  HDITEMA item{};
  item.mask = HDI_FORMAT;
  if (index >= 0 && SendMessageA(handle_, HDM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) &&
      (item.fmt & (HDF_SORTUP | HDF_SORTDOWN)))
    return 5;
  return 1;
}

bool TSkinHeader::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  auto sectionAt = [&](LPARAM lp) {
    HDHITTESTINFO hit{};
    hit.pt = MousePoint(lp);
    const int i = static_cast<int>(SendMessageA(handle_, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & HHT_ONHEADER) ? i : -1;  // not on a divider
  };
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
      pressed_ = (GetWindowLongA(handle_, GWL_STYLE) & HDS_BUTTONS) ? sectionAt(m.LParam) : -1;
      InvalidateRect(handle_, nullptr, FALSE);
      return true;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (pressed_ >= 0) {
        pressed_ = -1;
        InvalidateRect(handle_, nullptr, FALSE);
      }
      return true;
    case WM_MOUSEMOVE: {
      const int section = sectionAt(m.LParam);
      if (section != hot_) {
        hot_ = section;
        TrackMouseLeave(handle_);
        InvalidateRect(handle_, nullptr, FALSE);
      }
      return true;
    }
    case WM_MOUSELEAVE:
      if (hot_ >= 0) {
        hot_ = -1;
        InvalidateRect(handle_, nullptr, FALSE);
      }
      return true;
    default:
      return !PaintWholeControl(*this, m, CanDraw() && Has(Skin().Headerbar.get()));
  }
}

void TSkinHeader::DrawControl(HDC dc, const RECT& r) {
  const TDataSkinObject* bar = Skin().Headerbar.get();
  if (!Has(bar)) return;
  TBitmap32 bmp(r.right, r.bottom, SkinColourPixel(Colours().ButtonFace));
  const TNinePart part = PartOf(*bar, 5);
  const int count = std::clamp(static_cast<int>(SendMessageA(handle_, HDM_GETITEMCOUNT, 0, 0)), 0, 1000);
  struct Section {
    RECT rect;
    std::string text;
    int fmt;
  };
  std::vector<Section> sections;
  int end = 0;
  for (int i = 0; i < count; ++i) {
    Section s{};
    if (!SendMessageA(handle_, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&s.rect))) continue;
    char text[260] = {};
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(handle_, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    s.text = text;
    s.fmt = item.fmt;
    s.rect.top = 0;
    s.rect.bottom = r.bottom;
    end = std::max<int>(end, s.rect.right);
    RenderNinePart(bmp, ToRectI(s.rect), part, SectionFrame(i));
    sections.push_back(s);
  }
  if (end < r.right) RenderNinePart(bmp, TRectI{end, 0, r.right, r.bottom}, part, 1);
  HFONT font = ControlFont();
  BlitComposed(dc, bmp, 0, 0, [&](HDC odc) {
    for (const Section& s : sections) {
      RECT t{s.rect.left + 6, s.rect.top, s.rect.right - 6, s.rect.bottom};
      UINT align = (s.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                   : (s.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT ? DT_RIGHT
                                                            : DT_LEFT;
      DrawLabel(odc, font, s.text, t, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | align,
           enabled_ ? Colours().ButtonText : Colours().ButtonShadow);
    }
  });
}

// ---------------------------------------------------------------------------------------------
// TSkinListView

void TSkinListView::AttachHandle(HWND window, TSkinData& data, TSkinHost* formSkin) {
  if (IsAttached()) return;
  SetThumbDragging(true);
  TSkinScrollbar::AttachHandle(window, data, formSkin);
  AttachHeader();
}

void TSkinListView::Attach(TSkinHost* formSkin, TSkinData& data, TWinControl& control, bool recolour) {
  if (IsAttached()) return;
  SetThumbDragging(true);
  TSkinScrollbar::Attach(formSkin, data, control, recolour);
  AttachHeader();
}

void TSkinListView::AttachHeader() {
  HWND header = reinterpret_cast<HWND>(SendMessageA(handle_, LVM_GETHEADER, 0, 0));
  if (!header || !IsWindow(header)) return;
  auto skin = std::make_unique<TSkinHeader>();
  try {
    skin->AttachHandle(header, *data_, formSkin_);
  } catch (...) {
    return;  // a header that cannot be subclassed stays native
  }
  header_ = std::move(skin);
}

void TSkinListView::TrackThumb(int bar, int pos) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_POS;
  if (!GetScrollInfo(handle_, bar, &si)) return;
  const int delta = pos - si.nPos;
  if (delta == 0) return;
  // Scroll positions count items in report view (vertically) and columns in list view
  // (horizontally); everywhere else they are pixels, which LVM_SCROLL takes.
  const DWORD view = static_cast<DWORD>(GetWindowLongA(handle_, GWL_STYLE)) & LVS_TYPEMASK;
  int unit = 1;
  if (view == LVS_REPORT && bar == SB_VERT) {
    RECT item{};
    item.left = LVIR_BOUNDS;
    const LRESULT top = SendMessageA(handle_, LVM_GETTOPINDEX, 0, 0);
    if (SendMessageA(handle_, LVM_GETITEMRECT, static_cast<WPARAM>(top), reinterpret_cast<LPARAM>(&item)))
      unit = std::max<int>(1, item.bottom - item.top);
  } else if (view == LVS_LIST && bar == SB_HORZ) {
    unit = std::max<int>(1, static_cast<int>(SendMessageA(handle_, LVM_GETCOLUMNWIDTH, 0, 0)));
  }
  const int amount = static_cast<int>(std::clamp<long long>(static_cast<long long>(delta) * unit, INT_MIN / 2, INT_MAX / 2));
  SendMessageA(handle_, LVM_SCROLL, bar == SB_HORZ ? amount : 0, bar == SB_VERT ? amount : 0);
}

void TSkinListView::Detach() {
  header_.reset();  // the header's skin detaches itself
  TSkinScrollbar::Detach();
}

// ---------------------------------------------------------------------------------------------
// Making

std::unique_ptr<TSkinControl> MakeListControlSkin(ControlSkinClass kind) {
  switch (kind) {
    case ControlSkinClass::TSkinStatusBar: return std::make_unique<TSkinStatusBar>();
    case ControlSkinClass::TSkinTab: return std::make_unique<TSkinTab>();
    case ControlSkinClass::TSkinTrackBar: return std::make_unique<TSkinTrackBar>();
    case ControlSkinClass::TSkinHeader: return std::make_unique<TSkinHeader>();
    case ControlSkinClass::TSkinListView: return std::make_unique<TSkinListView>();
    default: return nullptr;
  }
}

}  // namespace zelvo
