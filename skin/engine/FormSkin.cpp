// The skinned frame of one top-level window: the Windows half. Everything that can be computed
// without the platform comes from skin/render/FormSkin_core.h; this file reads the window, calls the
// core, blits what it composed and draws the caption text with GDI.
#include "skin/engine/FormSkin.h"

#include "skin/engine/ControlSkins.h"
#include "skin/engine/MenuSkin.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/Subclass.h"
#include "skin/engine/SkinManage.h"
#include "skin/engine/SkinMenuBar.h"
#include "util/Exceptions.h"

namespace zelvo {

namespace {

// The process's fallback window icon: the first skinned window's icon, used by windows that
// have none of their own.
HICON g_fallbackIcon = nullptr;

// Marks the items of the skinned system menu (itemData high word) so that measuring and drawing
// recognise them among the window's other owner-drawn items.
constexpr ULONG_PTR kSysItemMark = 0x5C5D0000u;

struct TSysMenuItemText {
  int32_t Tag;
  UINT Command;
  const char* Text;
  const char* Shortcut;
};
constexpr TSysMenuItemText kSysMenuItems[] = {
    {kSysItemRestore, SC_RESTORE, " Restore ", ""},
    {kSysItemMaximize, SC_MAXIMIZE, " Maximize ", ""},
    {kSysItemMinimize, SC_MINIMIZE, " Minimize ", ""},
    {kSysItemSeparator, 0, "-", ""},
    {kSysItemClose, SC_CLOSE, " Close ", "Shift+F4"},
};

const TSysMenuItemText* SysItemByTag(int32_t tag) {
  for (const auto& item : kSysMenuItems)
    if (item.Tag == tag) return &item;
  return nullptr;
}

// The MDI client posts itself this message to recompute its scroll ranges after a child moved or
// was sized (maximized, restored, minimized).
constexpr UINT kMdiCalcChildScroll = 0x003F;

bool IsSystemCommandId(UINT id) {
  switch (id & 0xFFF0) {
    case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE: case SC_NEXTWINDOW:
    case SC_PREVWINDOW: case SC_CLOSE: case SC_RESTORE:
      return true;
    default:
      return false;
  }
}

// Portable pixel (red low) to DIB pixel (blue low) and back.
inline uint32_t ToDib(TPixel p) { return (PixelRed(p) << 16) | (PixelGreen(p) << 8) | PixelBlue(p); }

TPixel ToPixel(COLORREF c) { return MakePixel(GetRValue(c), GetGValue(c), GetBValue(c)); }

std::string ReadWindowText(HWND window, int limit) {
  std::string text(static_cast<size_t>(limit) + 1, '\0');
  int n = GetWindowTextA(window, text.data(), limit + 1);
  text.resize(static_cast<size_t>(std::max(0, n)));
  return text;
}


}  // namespace

// ---------------------------------------------------------------------------------------------
// TOffscreen

TOffscreen::~TOffscreen() { Free(); }

void TOffscreen::Free() {
  if (dc_) {
    if (oldBitmap_) SelectObject(dc_, oldBitmap_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  oldBitmap_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
}

bool TOffscreen::Ensure(int width, int height) {
  width = std::max(1, width);
  height = std::max(1, height);
  if (bits_ && width <= width_ && height <= height_) return true;
  int w = std::max(width, width_), h = std::max(height, height_);
  Free();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  bitmap_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  dc_ = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (!bitmap_ || !dc_ || !bits) {
    Free();
    return false;
  }
  oldBitmap_ = SelectObject(dc_, bitmap_);
  bits_ = static_cast<uint32_t*>(bits);
  width_ = w;
  height_ = h;
  return true;
}

void TOffscreen::Put(const TBitmap32& bitmap, int x, int y, bool magentaKey) {
  Put(bitmap, TRectI{0, 0, bitmap.Width, bitmap.Height}, x, y, magentaKey);
}

void TOffscreen::Put(const TBitmap32& bitmap, const TRectI& source, int x, int y, bool magentaKey) {
  if (!bits_ || bitmap.Empty()) return;
  GdiFlush();  // GDI may still be writing to the section
  int sl = std::max(0, source.left), st = std::max(0, source.top);
  int sr = std::min(bitmap.Width, source.right), sb = std::min(bitmap.Height, source.bottom);
  for (int sy = st; sy < sb; ++sy) {
    int dy = y + (sy - source.top);
    if (dy < 0 || dy >= height_) continue;
    uint32_t* row = bits_ + static_cast<size_t>(dy) * width_;
    for (int sx = sl; sx < sr; ++sx) {
      int dx = x + (sx - source.left);
      if (dx < 0 || dx >= width_) continue;
      TPixel p = bitmap.At(sx, sy);
      if (magentaKey && p == kMagenta) continue;
      row[dx] = ToDib(p);
    }
  }
}

uint32_t TOffscreen::PixelRGB(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();
  return bits_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFFu;
}

void TOffscreen::CopyTo(HDC dc, int dx, int dy, int x, int y, int w, int h) const {
  if (!dc_ || w <= 0 || h <= 0) return;
  BitBlt(dc, dx, dy, w, h, dc_, x, y, SRCCOPY);
}

// ---------------------------------------------------------------------------------------------
// Frame objects

void TNCObject::MouseDown() {
  State = kPressed;
  owner_.PaintFrame();
}

void TNCObject::MouseUp() {
  State = kHot;
  owner_.PaintFrame();
}

void TNCObject::MouseMove() {
  if (State == kNormal) {
    State = kHot;
    owner_.PaintFrame();
  }
}

void TNCObject::MouseLeave() {
  if (State != kNormal) {
    State = kNormal;
    owner_.PaintFrame();
  }
}

void TCaptionButton::MouseUp() {
  TNCObject::MouseUp();
  owner_.DoAction(Action());
}

int TCaptionButton::CurrentFrame() const {
  TButtonImage image = CaptionButtonImage(*skin_, owner_.iconBitmap_.Empty() ? nullptr : &owner_.iconBitmap_);
  TButtonState state = State == kPressed ? TButtonState::Pressed
                       : State == kHot   ? TButtonState::Hot
                                         : TButtonState::Normal;
  return CaptionButtonFrame(*skin_, image.FrameCount, state, owner_.active_);
}

void TCaptionButton::Paint(TOffscreen& canvas, POINT origin) {
  if (!Visible) return;
  TButtonImage image = CaptionButtonImage(*skin_, owner_.iconBitmap_.Empty() ? nullptr : &owner_.iconBitmap_);
  if (!image.Image || image.Image->Empty()) return;
  TRectI cell = FrameCell(*image.Image, image.FrameCount, CurrentFrame(), false);
  canvas.Put(*image.Image, cell, origin.x + Rect.left, origin.y + Rect.top, true);
}

// ---------------------------------------------------------------------------------------------
// TFormSkin

struct TFormSkin::Hooks {
  TWindowSubclass subclass;
  THookToken formHook;
  TWindowSubclass mdiClient;  // an MDI frame's client window
};

TFormSkin::TFormSkin(TSkinManage& manager, HWND window, TSkinData& data, TForm* form)
    : TComponent(nullptr), manager_(&manager), window_(window), data_(&data), form_(form),
      hooks_(std::make_unique<Hooks>()) {
  doubleClickTime_ = GetDoubleClickTime();
}

TFormSkin::~TFormSkin() {
  try {
    if (attached_ && state_ != TFormSkinState::Dead && IsWindow(window_)) Detach();
  } catch (...) {
  }
  StopHoverTimer();
  hooks_.reset();
  controlSkins_.clear();
  manager_->RemoveSkinForm(static_cast<const TComponent&>(*this));
  SkinTrace("Skinform DESTROY " + caption_);
}

void TFormSkin::Attach() {
  if (form_)
    AttachForm();
  else
    AttachWindow();
}

void TFormSkin::AttachForm() {
  if (attached_ || !form_) return;
  form_->AutoScroll = false;
  if (Flag(TSkinControlType::xcMainMenu)) {
    hooks_->formHook = form_->HookWindowProc([this](TMessage& m, const TNext& next) { FormMessage(m, next); });
  }
  try {
    AttachWindow();
  } catch (...) {
    hooks_->formHook.Reset();
    throw;
  }
  savedColour_ = form_->Color;
  colourSaved_ = true;
  form_->Color = data_->Colours().ButtonFace;
  form_->Invalidate();
  if (Flag(TSkinControlType::xcMainMenu)) OwnerDrawMainMenu();
}

void TFormSkin::AttachWindow() {
  if (attached_) return;
  ReadWindow();
  // Without the main-menu member the window keeps its system frame and only the always-handled
  // messages are answered.
  skinsFrame_ = Flag(TSkinControlType::xcMainMenu) && !((style_ & WS_CHILD) && windowKind_ != TWindowKind::MdiChild);
  BuildSystemMenu();
  if (skinsFrame_) {
    // The window's menu moves into the skinned bar under the caption: the system bar cannot
    // live inside a skinned frame. The client size read above still counts the system bar, so
    // the first sizing keeps the client area as it was.
    if (GetMenu(window_) && windowKind_ != TWindowKind::MdiChild) {
      auto bar = std::make_unique<TSkinMenuBar>(*manager_, window_, *data_);
      if (bar->TakeOver()) menuBar_ = std::move(bar);
    }
    if (placement_ != TPlacement::Minimized) StripCaption();
    Layout();
  }
  hooks_->subclass = TWindowSubclass(window_, [this](HWND, UINT msg, WPARAM wp, LPARAM lp) {
    return WindowMessage(msg, wp, lp);
  });
  attached_ = true;
  SubclassMdiClient();
  AttachControlSkins();
  InvalidateRect(window_, nullptr, TRUE);
}

void TFormSkin::ReadWindow() {
  style_ = static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE));
  exStyle_ = static_cast<DWORD>(GetWindowLongA(window_, GWL_EXSTYLE));
  caption_ = ReadWindowText(window_, 1000);
  char cls[101] = {};
  GetClassNameA(window_, cls, sizeof(cls));
  className_ = cls;
  ownerWindow_ = GetWindow(window_, GW_OWNER);
  GetClientRect(window_, &clientAtAttach_);
  RECT wr{};
  GetWindowRect(window_, &wr);
  systemFrame_ = SIZE{(wr.right - wr.left) - clientAtAttach_.right, (wr.bottom - wr.top) - clientAtAttach_.bottom};
  buttonFlags_ = AvailableButtonsOf(style_, false);
  placement_ = IsIconic(window_) ? TPlacement::Minimized
               : IsZoomed(window_) ? TPlacement::Maximized
                                   : TPlacement::Normal;
  HWND mdiClient = FindWindowExA(window_, nullptr, "MDIClient", nullptr);
  windowKind_ = WindowKindOf(mdiClient != nullptr, exStyle_);
  mdiClient_ = windowKind_ == TWindowKind::MdiFrame ? mdiClient : nullptr;
  if (mdiClient_) manager_->SetMdiClient(mdiClient_);
  borderKind_ = BorderKindOf(style_);
  active_ = GetActiveWindow() == window_;
  LoadIconBitmap();
}

void TFormSkin::LoadIconBitmap() {
  HICON icon = reinterpret_cast<HICON>(SendMessageA(window_, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window_, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(window_, WM_GETICON, ICON_BIG, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window_, GCLP_HICON));
  if (!icon && form_) icon = form_->Icon;
  // The process keeps its own copy: the window's icon may be destroyed with the window.
  if (icon && !g_fallbackIcon) g_fallbackIcon = CopyIcon(icon);
  if (!icon) icon = g_fallbackIcon;
  iconBitmap_ = TBitmap32();
  if (!icon) return;
  int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  TOffscreen surface;
  if (!surface.Ensure(cx, cy)) return;
  TBitmap32 magenta(cx, cy, kMagenta);
  surface.Put(magenta, 0, 0);
  DrawIconEx(surface.DC(), 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
  TBitmap32 bitmap(cx, cy);
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx; ++x) {
      uint32_t rgb = surface.PixelRGB(x, y);
      bitmap.At(x, y) = MakePixel(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                  static_cast<uint8_t>(rgb));
    }
  iconBitmap_ = std::move(bitmap);
}

void TFormSkin::StripCaption() {
  if (windowKind_ == TWindowKind::MdiChild && manager_->MdiMaximized()) return;
  DWORD current = static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE));
  TStrippedStyle stripped = StripCaptionStyle(current, buttonFlags_, ownerWindow_ != nullptr);
  buttonFlags_ = stripped.Flags;
  if (stripped.Style != current) SetWindowLongA(window_, GWL_STYLE, static_cast<LONG>(stripped.Style));
}

void TFormSkin::RestoreCaption() {
  DWORD current = static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE));
  DWORD restored = RestoreCaptionStyle(current, buttonFlags_);
  if (restored != current) SetWindowLongA(window_, GWL_STYLE, static_cast<LONG>(restored));
}

void TFormSkin::Layout() {
  thickness_ = FrameThicknessOf(data_->Skin(), borderKind_);
  menuBarHeight_ = menuBar_ && borderKind_ != TBorderKind::CaptionlessPopup ? GetSystemMetrics(SM_CYMENU) : 0;
  menuBarRect_ = RECT{};
  DropCaptionButtons();
  for (const auto& entry : data_->Skin().CaptionButtons)
    if (entry) buttons_.push_back(std::make_unique<TCaptionButton>(*this, *entry));
  regionSize_ = SIZE{-1, -1};
}

void TFormSkin::DropCaptionButtons() {
  hot_ = nullptr;
  pressed_ = nullptr;
  buttons_.clear();
}

// ---------------------------------------------------------------------------------------------
// Set-up after attach, sizing, region

void TFormSkin::HandleInit() {
  if (state_ != TFormSkinState::New) return;
  if (!skinsFrame_) {
    state_ = TFormSkinState::Active;
    return;
  }
  if (windowKind_ == TWindowKind::MdiChild && manager_->MdiMaximized()) {
    RestoreCaption();
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  } else if (placement_ != TPlacement::Minimized && borderKind_ != TBorderKind::CaptionlessPopup) {
    state_ = TFormSkinState::Sizing;
    if (placement_ == TPlacement::Maximized) {
      SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    } else {
      ResizeToFrame(firstSizing_);
      if (firstSizing_ && (className_ == "TMessageForm" || className_ == "#32770")) WidenForCaption();
    }
  }
  firstSizing_ = false;
  state_ = TFormSkinState::Active;
  // The sizing above shaped the window already (unless something changed its size since, or it
  // kept its maximized size): then this sets nothing.
  BuildRegion(false);
  active_ = GetActiveWindow() == window_;
  if (active_) StartHoverTimer();
  PaintFrame();
}

void TFormSkin::ResizeToFrame(bool firstSizing) {
  // The client area keeps its size: on first sizing the size it had under the system frame
  // when the window was attached, later the size it has now.
  RECT client = clientAtAttach_;
  if (!firstSizing) GetClientRect(window_, &client);
  TSizeI size = SkinnedWindowSize(TSizeI{client.right - client.left, client.bottom - client.top}, thickness_,
                                  menuBarHeight_);
  ShapeAhead(SIZE{size.cx, size.cy});
  SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TFormSkin::WidenForCaption() {
  RECT wr{};
  GetWindowRect(window_, &wr);
  int width = wr.right - wr.left;
  int blank = 4;
  if (const SIZE space = TTextMeasure(CaptionFont()).Extent(" "); space.cx > 0) blank = space.cx;
  TMessageBoxWidening w = WidenMessageBox(width, static_cast<int32_t>(caption_.size()), blank, thickness_,
                                          data_->Skin().Title);
  if (w.Width <= width) return;
  // A caption of a thousand characters would ask for a window many screens wide: the box grows
  // at most to the width of the desktop, and its children move by half of what it really grew.
  int limit = std::max(width, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  if (w.Width > limit) {
    w.Width = limit;
    w.ChildShift = (limit - width) / 2;
  }
  SetWindowPos(window_, nullptr, 0, 0, w.Width, wr.bottom - wr.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (w.ChildShift == 0) return;
  std::vector<HWND> children;
  for (HWND c = GetWindow(window_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
  for (HWND c : children) {
    RECT r{};
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(c, nullptr, r.left + w.ChildShift, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

std::vector<TRectI> TFormSkin::RegionRects(std::optional<SIZE> size) {
  TFrameInput in = FrameInput(size);
  TFrameLayout layout = CurrentLayout(in);
  // The region follows the active look, whatever the window's state now.
  in.Active = true;
  in.HotButton = in.PressedButton = -1;
  TBitmap32& composed = Composition(in.Width, in.Height, 0);
  ComposeFrame(composed, data_->Skin(), layout, in);
  return FrameRegion(data_->Skin(), layout, in, &composed);
}

bool TFormSkin::RegionApplies() const {
  return skinsFrame_ && !(windowKind_ == TWindowKind::MdiChild && placement_ != TPlacement::Normal);
}

void TFormSkin::BuildRegion(bool force) {
  // Nested in ShapeAhead, the window still has its old size: the shape already set is the right one.
  if (!RegionApplies() || shapingAhead_) return;
  RECT wr{};
  GetWindowRect(window_, &wr);
  SIZE size{wr.right - wr.left, wr.bottom - wr.top};
  bool changed = size.cx != regionSize_.cx || size.cy != regionSize_.cy;
  if (!force && !changed && state_ != TFormSkinState::Refreshing && windowKind_ != TWindowKind::MdiChild) return;
  SetRegion(size, true);
}

void TFormSkin::ShapeAhead(SIZE size) {
  if (!RegionApplies() || windowKind_ == TWindowKind::MdiChild || placement_ != TPlacement::Normal) return;
  if (shapingAhead_ || (size.cx == regionSize_.cx && size.cy == regionSize_.cy)) return;
  struct Flag {
    bool& on;
    ~Flag() { on = false; }
  } flag{shapingAhead_};
  shapingAhead_ = true;
  SetRegion(size, false);
}

void TFormSkin::SetRegion(SIZE size, bool redraw) {
  if (size.cx <= 0 || size.cy <= 0) return;
  std::vector<TRectI> rects = RegionRects(size);
  std::vector<RECT> out;
  out.reserve(rects.size());
  for (const TRectI& r : rects) out.push_back(ToRect(r));
  RGNDATAHEADER header{};
  header.dwSize = sizeof(RGNDATAHEADER);
  header.iType = RDH_RECTANGLES;
  header.nCount = static_cast<DWORD>(out.size());
  header.nRgnSize = static_cast<DWORD>(out.size() * sizeof(RECT));
  header.rcBound = RECT{0, 0, size.cx, size.cy};
  std::vector<char> buffer(sizeof(header) + out.size() * sizeof(RECT));
  std::memcpy(buffer.data(), &header, sizeof(header));
  if (!out.empty()) std::memcpy(buffer.data() + sizeof(header), out.data(), out.size() * sizeof(RECT));
  HRGN region = out.empty() ? CreateRectRgn(0, 0, 0, 0)
                            : ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()),
                                              reinterpret_cast<const RGNDATA*>(buffer.data()));
  if (!region) return;
  // Once set, the system owns the region and frees it when it is replaced or the window goes.
  if (SetWindowRgn(window_, region, redraw ? TRUE : FALSE)) {
    region_ = region;
    regionSize_ = size;
  } else {
    DeleteObject(region);
  }
}

void TFormSkin::RemoveRegion() {
  if (!region_) return;
  SetWindowRgn(window_, nullptr, TRUE);  // the system frees the old region
  region_ = nullptr;
  regionSize_ = SIZE{-1, -1};
}

// ---------------------------------------------------------------------------------------------
// Layout and painting

HFONT TFormSkin::CaptionFont() {
  if (!captionFont_) captionFont_ = CreateCaptionFont();
  return FontOrDefault(captionFont_.Get());
}

TFrameInput TFormSkin::FrameInput(std::optional<SIZE> forSize) {
  RECT wr{};
  GetWindowRect(window_, &wr);
  TFrameInput in;
  in.Width = forSize ? forSize->cx : wr.right - wr.left;
  in.Height = forSize ? forSize->cy : wr.bottom - wr.top;
  in.Style = style_;
  in.ExStyle = exStyle_;
  in.HasSystemMenu = (buttonFlags_ & buttons::kSystemMenu) != 0;
  in.Active = active_;
  in.Placement = placement_;
  in.Kind = windowKind_;
  in.MenuBarHeight = menuBarHeight_;
  // Only a frame's own answer counts: the menu bar shows the MDI buttons for its active child.
  in.MdiMaximizedChild = windowKind_ == TWindowKind::MdiFrame && mdiChildMaximized_;
  // The caption is measured once for each text (the caption font stays for the skin's life).
  if (!captionMeasured_ || measuredCaption_ != caption_) {
    const std::string text = "  " + caption_ + " ";
    const TTextMeasure measure(CaptionFont());
    captionTextWidth_ = measure.Extent(text).cx;
    captionTextHeight_ = measure.Metrics().tmHeight;
    measuredCaption_ = caption_;
    captionMeasured_ = true;
  }
  in.CaptionTextWidth = captionTextWidth_;
  in.CaptionTextHeight = captionTextHeight_;
  in.Icon = iconBitmap_.Empty() ? nullptr : &iconBitmap_;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (buttons_[i].get() == hot_ && hot_->State == TNCObject::kHot) in.HotButton = static_cast<int32_t>(i);
    if (buttons_[i]->State == TNCObject::kPressed) in.PressedButton = static_cast<int32_t>(i);
  }
  in.PreviousRightmostButtonLeft = rightmostButtonLeft_;
  return in;
}

TFrameLayout TFormSkin::CurrentLayout(TFrameInput& in) {
  TFrameLayout layout = LayoutFrame(data_->Skin(), in);
  for (auto& b : buttons_) b->Visible = false;
  for (const TPlacedButton& placed : layout.Buttons) {
    if (placed.Index < 0 || static_cast<size_t>(placed.Index) >= buttons_.size()) continue;
    TCaptionButton& b = *buttons_[static_cast<size_t>(placed.Index)];
    b.Rect = ToRect(placed.Rect);
    // The MDI buttons (in the menu bar) are placed by the core only while they show.
    b.Visible = placed.Visible;
  }
  return layout;
}

bool TFormSkin::FramePaintable() const {
  if (!skinsFrame_ || !attached_) return false;
  if (state_ != TFormSkinState::Active && state_ != TFormSkinState::Refreshing) return false;
  if (borderKind_ == TBorderKind::CaptionlessPopup) return false;
  if (windowKind_ == TWindowKind::MdiChild && placement_ != TPlacement::Normal) return false;
  return true;
}

RECT TFormSkin::ClientInWindow() const {
  RECT wr{}, cr{};
  GetWindowRect(window_, &wr);
  GetClientRect(window_, &cr);
  MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&cr), 2);
  OffsetRect(&cr, -wr.left, -wr.top);
  return cr;
}

void TFormSkin::PaintCaptionText(HDC dc, const TFrameLayout& layout) {
  if (layout.Text.TextRect.Empty()) return;
  const TSkinColours& colours = data_->Colours();
  HGDIOBJ old = SelectObject(dc, CaptionFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(active_ ? colours.TitleTextActive : colours.TitleTextNoActive));
  RECT r = ToRect(layout.Text.TextRect);
  std::string text = "  " + caption_ + " ";
  UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | (layout.Text.RightAligned ? DT_RIGHT : DT_LEFT);
  SkinDrawText(dc, AnsiToWide(text), r, format);
  SelectObject(dc, old);
}

TBitmap32& TFormSkin::Composition(int width, int height, TPixel fill) {
  if (composed_.Width != width || composed_.Height != height) {
    composed_ = TBitmap32(width, height, fill);
  } else {
    std::span<TPixel> pixels = composed_.MutablePixels();
    std::fill(pixels.begin(), pixels.end(), fill);
  }
  return composed_;
}

void TFormSkin::RenderToCanvas(int width, int height) {
  TFrameInput in = FrameInput();
  TFrameLayout layout = CurrentLayout(in);
  rightmostButtonLeft_ = layout.RightmostButtonLeft;
  Composition(width, height, ToPixel(ColorToRGB(data_->Colours().ButtonFace)));
  ComposeFrame(composed_, data_->Skin(), layout, in, ToPixel(ColorToRGB(data_->Colours().Menubar)));
  if (!canvas_.Ensure(width, height)) return;
  // Only the frame goes onto the canvas: the client area is never copied from it.
  const RECT client = ClientInWindow();
  if (client.left < client.right && client.top < client.bottom && client.left >= 0 && client.top >= 0 &&
      client.right <= width && client.bottom <= height) {
    canvas_.Put(composed_, TRectI{0, 0, width, client.top}, 0, 0, false);
    canvas_.Put(composed_, TRectI{0, client.bottom, width, height}, 0, client.bottom, false);
    canvas_.Put(composed_, TRectI{0, client.top, client.left, client.bottom}, 0, client.top, false);
    canvas_.Put(composed_, TRectI{client.right, client.top, width, client.bottom}, client.right, client.top, false);
  } else {
    canvas_.Put(composed_, 0, 0);
  }
  PaintCaptionText(canvas_.DC(), layout);
  if (menuBar_ && !layout.MenuBar.Empty()) {
    const RECT bar = ToRect(layout.MenuBar);
    if (!EqualRect(&bar, &menuBarRect_)) {
      menuBar_->Layout(bar);
      menuBarRect_ = bar;
    }
    menuBar_->Paint(canvas_.DC(), bar, active_);
    // The bar paints over the whole bar rectangle: the MDI buttons go on top of it.
    for (const auto& b : buttons_)
      if (b->Visible && b->Skin().Align == kMenuBarButtonAlign) b->Paint(canvas_, POINT{0, 0});
  }
}

void TFormSkin::PaintFrame(HRGN clip) {
  if (!FramePaintable()) return;
  try {
    RECT wr{};
    GetWindowRect(window_, &wr);
    int width = wr.right - wr.left, height = wr.bottom - wr.top;
    if (width <= 0 || height <= 0) return;
    RenderToCanvas(width, height);
    HDC dc = GetWindowDC(window_);
    if (!dc) return;
    int saved = SaveDC(dc);
    if (clip && clip != reinterpret_cast<HRGN>(1)) {
      HRGN local = CreateRectRgn(0, 0, 0, 0);
      if (CombineRgn(local, clip, nullptr, RGN_COPY) != ERROR) {
        OffsetRgn(local, -wr.left, -wr.top);
        ExtSelectClipRgn(dc, local, RGN_AND);
      }
      DeleteObject(local);
    }
    RECT client = ClientInWindow();
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    canvas_.CopyTo(dc, 0, 0, 0, 0, width, height);
    RestoreDC(dc, saved);
    ReleaseDC(window_, dc);
  } catch (...) {
    // A failed frame paint simply ends; the next paint tries again.
  }
}

void TFormSkin::PaintFrameTo(HDC dc) {
  if (!FramePaintable() || !dc) return;
  try {
    RECT wr{};
    GetWindowRect(window_, &wr);
    int width = wr.right - wr.left, height = wr.bottom - wr.top;
    if (width <= 0 || height <= 0) return;
    RenderToCanvas(width, height);
    int saved = SaveDC(dc);
    RECT client = ClientInWindow();
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    canvas_.CopyTo(dc, 0, 0, 0, 0, width, height);
    RestoreDC(dc, saved);
  } catch (...) {
  }
}

// ---------------------------------------------------------------------------------------------
// Mouse, hover, actions

POINT TFormSkin::ScreenToWindow(LPARAM lp) const {
  RECT wr{};
  GetWindowRect(window_, &wr);
  return POINT{static_cast<short>(LOWORD(lp)) - wr.left, static_cast<short>(HIWORD(lp)) - wr.top};
}

TNCObject* TFormSkin::ObjectAt(POINT p) const {
  for (const auto& b : buttons_)
    if (b->Visible && b->Action() >= 0 && PtInRect(&b->Rect, p)) return b.get();
  return nullptr;
}

void TFormSkin::SetHot(TNCObject* object) {
  if (object == hot_) {
    if (object) object->MouseMove();
    return;
  }
  TNCObject* old = std::exchange(hot_, object);
  if (old) old->MouseLeave();
  if (object) object->MouseMove();
}

void TFormSkin::StartHoverTimer() {
  if (hoverTimer_ || !IsWindow(window_)) return;
  hoverTimer_ = UniqueTimer::Set(window_, kFrameHoverTimerId, kFrameHoverIntervalMs);
}

void TFormSkin::StopHoverTimer() {
  hoverTimer_.Reset();
}

void TFormSkin::OnHoverTimer() {
  if (menuShowing_ || manager_->MenuTracking()) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  RECT wr{};
  GetWindowRect(window_, &wr);
  POINT p{cursor.x - wr.left, cursor.y - wr.top};
  const bool overWindow = WindowFromPoint(cursor) == window_;
  if (hot_ && (!PtInRect(&hot_->Rect, p) || !overWindow)) SetHot(nullptr);
  if (menuBar_ && !menuBar_->Tracking() && (!overWindow || !menuBar_->HitTest(p))) menuBar_->MouseLeave();
}

void TFormSkin::PostSysCommand(WPARAM command) { PostMessageA(window_, WM_SYSCOMMAND, command, 0); }

void TFormSkin::DoAction(int32_t action) {
  switch (action) {
    case 0:
      StopHoverTimer();
      PostMessageA(window_, WM_CLOSE, 0, 0);
      break;
    case 1: case 22:
      PostSysCommand(placement_ == TPlacement::Maximized ? SC_RESTORE : SC_MAXIMIZE);
      break;
    case 2: case 23:
      PostSysCommand(placement_ == TPlacement::Minimized ? SC_RESTORE : SC_MINIMIZE);
      break;
    case 3: case 11: case 12: {
      POINT p{0, 0};
      for (const auto& b : buttons_)
        if (b->Action() == action) p = POINT{b->Rect.left, b->Rect.bottom};
      RECT wr{};
      GetWindowRect(window_, &wr);
      ShowSystemMenu(POINT{wr.left + p.x + 1, wr.top + p.y + 1});
      break;
    }
    case 7: case 60: case 8: case 61: case 9: case 62: {
      if (windowKind_ != TWindowKind::MdiFrame || !mdiClient_) break;
      HWND child = reinterpret_cast<HWND>(SendMessageA(mdiClient_, WM_MDIGETACTIVE, 0, 0));
      if (!child) break;
      WPARAM command = (action == 7 || action == 60) ? SC_MINIMIZE : (action == 8 || action == 61) ? SC_RESTORE : SC_CLOSE;
      SendMessageA(child, WM_SYSCOMMAND, command, 0);
      // Usually the client's own messages have told already; an unskinned child restored by
      // its own system command has not.
      SyncMdiMaximized();
      break;
    }
    default:
      PostMessageA(window_, SKIN_QUERY, static_cast<WPARAM>(action), 0);
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// MDI

void TFormSkin::SubclassMdiClient() {
  if (windowKind_ != TWindowKind::MdiFrame || !mdiClient_ || hooks_->mdiClient.Attached()) return;
  try {
    hooks_->mdiClient = TWindowSubclass(mdiClient_, [this](HWND client, UINT msg, WPARAM wp, LPARAM lp) {
      return MdiClientMessage(client, msg, wp, lp);
    });
  } catch (const Exception&) {
    // A client of another thread: the frame is skinned without the MDI buttons.
    mdiClient_ = nullptr;
    return;
  }
  SyncMdiMaximized();
}

void TFormSkin::ReleaseMdiClient() {
  hooks_->mdiClient.Reset();
  if (mdiClient_ && manager_->MdiClient() == mdiClient_) manager_->SetMdiClient(nullptr);
  mdiClient_ = nullptr;
  // Nobody follows the children any more: the flag must not outlive the frame's skin.
  if (std::exchange(mdiChildMaximized_, false) && manager_->MdiMaximized()) manager_->SetMdiMaximized(false);
}

LRESULT TFormSkin::MdiClientMessage(HWND client, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = TWindowSubclass::CallNext(client, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    // The subclass takes itself off after this message; the frame only forgets the client.
    if (client == mdiClient_) ReleaseMdiClient();
  } else if ((msg >= WM_MDICREATE && msg <= WM_MDIREFRESHMENU && msg != WM_MDIGETACTIVE) ||
             msg == kMdiCalcChildScroll) {
    // Creating, destroying, activating, maximizing, restoring, cascading, tiling: any of them
    // may have changed whether the active child is maximized. A child maximized or restored
    // through its own system menu does not go through the client's MDI messages, but the client
    // posts itself the scroll-range message after any child was sized.
    SyncMdiMaximized();
  }
  return result;
}

bool TFormSkin::SyncMdiMaximized() {
  if (!mdiClient_ || mdiSyncing_ || !IsWindow(mdiClient_)) return false;
  BOOL maximized = FALSE;
  mdiSyncing_ = true;
  const HWND active = reinterpret_cast<HWND>(
      SendMessageA(mdiClient_, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
  mdiSyncing_ = false;
  const bool now = active != nullptr && maximized != FALSE;
  if (manager_->MdiMaximized() != now) manager_->SetMdiMaximized(now);
  if (now == mdiChildMaximized_) return false;
  mdiChildMaximized_ = now;
  // The MDI code retitles the frame ("Frame - [Child]") without passing its window procedure.
  caption_ = ReadWindowText(window_, 1000);
  // A hot MDI button may be about to disappear.
  if (hot_) {
    hot_->State = TNCObject::kNormal;
    hot_ = nullptr;
  }
  menuBarRect_ = RECT{};
  PaintFrame();
  return true;
}

void TFormSkin::MdiChildSized(bool maximized) {
  // Only when the flag may be wrong: dragging a child's border sends WM_SIZE all the time.
  if (maximized != manager_->MdiMaximized()) {
    HWND client = GetParent(window_);
    if (HWND frame = client ? GetParent(client) : nullptr) SendMessageA(frame, SKIN_REPAINTFRAME, 0, 0);
  }
  // Restored through its own system menu while the flag was still set, the child kept its
  // system caption; the flag is right now.
  if (!maximized && placement_ == TPlacement::Normal) StripCaption();
}

// ---------------------------------------------------------------------------------------------
// System menu

void TFormSkin::BuildSystemMenu() {
  if (sysMenu_) return;
  sysMenu_ = UniqueMenu(CreatePopupMenu());
  if (!sysMenu_) return;
  const HMENU menu = sysMenu_.Get();
  MENUINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = MIM_MENUDATA;
  info.dwMenuData = kSkinSystemMenuTag;
  SetMenuInfo(menu, &info);
  for (const auto& item : kSysMenuItems) {
    if (item.Tag == kSysItemMaximize && !(buttonFlags_ & buttons::kMaximize)) continue;
    if (item.Tag == kSysItemMinimize && !(buttonFlags_ & buttons::kMinimize)) continue;
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
    mi.fType = MFT_OWNERDRAW | (item.Tag == kSysItemSeparator ? MFT_SEPARATOR : 0);
    mi.wID = item.Command;
    mi.dwItemData = kSysItemMark | static_cast<ULONG_PTR>(item.Tag);
    InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &mi);
  }
}

void TFormSkin::UpdateSystemMenu() {
  auto apply = [this](HMENU menu) {
    if (!menu) return;
    EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | (placement_ != TPlacement::Normal ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | (placement_ != TPlacement::Maximized ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | (placement_ != TPlacement::Minimized ? MF_ENABLED : MF_GRAYED));
  };
  apply(sysMenu_.Get());
  apply(GetSystemMenu(window_, FALSE));
}

void TFormSkin::ShowSystemMenu(POINT screen, bool doubleClickCloses) {
  DWORD now = GetTickCount();
  if (doubleClickCloses && sysMenuClicked_ && now - lastSysMenuClick_ <= doubleClickTime_) {
    sysMenuClicked_ = false;
    StopHoverTimer();
    PostMessageA(window_, WM_CLOSE, 0, 0);
    return;
  }
  sysMenuClicked_ = doubleClickCloses;
  lastSysMenuClick_ = now;
  UpdateSystemMenu();
  HMENU menu = (Flag(TSkinControlType::xcSystemMenu) && windowKind_ != TWindowKind::MdiChild && sysMenu_)
                   ? sysMenu_.Get()
                   : GetSystemMenu(window_, FALSE);
  if (!menu) return;
  menuShowing_ = true;
  // A menu tracked for a window that is not in front would not close when clicked beside.
  SetForegroundWindow(window_);
  UINT command = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, window_, nullptr));
  menuShowing_ = false;
  // The chosen item goes the way every menu command goes: WM_COMMAND, turned into a system
  // command below.
  if (command != 0 && IsWindow(window_)) PostMessageA(window_, WM_COMMAND, command, 0);
}

bool TFormSkin::MeasureMenuItem(MEASUREITEMSTRUCT& mis) {
  if (mis.CtlType != ODT_MENU || (mis.itemData & 0xFFFF0000u) != kSysItemMark) return false;
  const TSysMenuItemText* item = SysItemByTag(static_cast<int32_t>(mis.itemData & 0xFFFF));
  if (!item) return false;
  if (!menuFont_) menuFont_ = CreateMenuFont();
  const TTextMeasure measure(FontOrDefault(menuFont_.Get()));
  const SIZE text = measure.Extent(item->Text);
  SIZE shortcut{};
  if (*item->Shortcut) {
    shortcut = measure.Extent(item->Shortcut);
    shortcut.cx += 16;  // room between caption and shortcut
  }
  TSizeI size = SystemMenuItemSize(text.cx + shortcut.cx, text.cy, item->Tag == kSysItemSeparator,
                                   data_->Skin().MenuItem.get(), false);
  // The width the skinned item needs: the text measured, widened for the glyph list and LeftWidth.
  size.cx = SkinnedPopupItemWidth(*data_, text.cx + shortcut.cx, true);
  mis.itemWidth = static_cast<UINT>(std::max(0, size.cx));
  mis.itemHeight = static_cast<UINT>(std::max(0, size.cy));
  return true;
}

bool TFormSkin::DrawMenuItem(const DRAWITEMSTRUCT& dis) {
  if (dis.CtlType != ODT_MENU || (dis.itemData & 0xFFFF0000u) != kSysItemMark) return false;
  const TSysMenuItemText* item = SysItemByTag(static_cast<int32_t>(dis.itemData & 0xFFFF));
  if (!item) return false;
  // The skin's menu-item drawing: MenuItem picture over the popup window's background, the glyph
  // (index = tag), caption and shortcut.
  TSkinMenuItem mi;
  mi.Caption = item->Tag == kSysItemSeparator ? "-" : item->Text;
  mi.Shortcut = item->Shortcut;
  mi.Enabled = (dis.itemState & (ODS_GRAYED | ODS_DISABLED)) == 0;
  mi.Images = data_->MenuGlyphs();
  mi.ImageIndex = item->Tag < kMenuGlyphCount ? item->Tag : -1;
  TMenuItemBackground background;
  if (TPopupMenuSkin* popup = manager_->FindPopupByMenu(sysMenu_.Get())) background.Bitmap = popup->Background();
  DrawSkinnedMenuItem(*data_, dis.hDC, dis.rcItem, (dis.itemState & ODS_SELECTED) != 0, mi, background);
  return true;
}

void TFormSkin::OwnerDrawMainMenu() {
  if (!form_ || !form_->Menu || ownerDrawnMenu_) return;
  ownerDrawnMenu_ = form_->Menu;
  menuOwnerDrawBefore_ = ownerDrawnMenu_->OwnerDraw;
  ownerDrawnMenu_->OwnerDraw = true;
  RebuildMainMenu();
}

// Refills the form's main menu (owner-drawn or not) and lets the skinned bar read it again: the
// refill replaces the submenus the bar's buttons open.
void TFormSkin::RebuildMainMenu() {
  if (!ownerDrawnMenu_ || !ownerDrawnMenu_->HandleIfCreated()) return;
  ownerDrawnMenu_->Rebuild();
  if (menuBar_ && menuBar_->Menu() == ownerDrawnMenu_->HandleIfCreated()) {
    menuBar_->Rebuild(menuBar_->Menu());
    if (attached_ && FramePaintable()) PaintFrame();
  }
}

void TFormSkin::RestoreMainMenu() {
  if (!ownerDrawnMenu_ || !form_ || form_->Menu != ownerDrawnMenu_) return;
  ownerDrawnMenu_->OwnerDraw = menuOwnerDrawBefore_;
  RebuildMainMenu();
}

// A measure or draw request for a menu item: an item of the form's main menu is measured by the
// main-menu rule and drawn by the skin; any other owner-drawn item that is not the framework's
// (whose handlers answer for it) nor the skinned system menu's is drawn as a foreign item.
bool TFormSkin::MainMenuItemMessage(TMessage& m) {
  if (m.WParam != 0 || !m.LParam) return false;
  TMainMenu* menu = form_ ? form_->Menu : nullptr;
  if (m.Msg == WM_MEASUREITEM) {
    auto& mis = *reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
    if (mis.CtlType != ODT_MENU || !menu) return false;
    TMenuItem* item = menu->FindCommand(static_cast<UINT>(mis.itemData));
    if (!item) return false;
    WindowDC screen(nullptr);
    ScopedSelect font(screen.Get(), SkinMenuFont());
    int width = static_cast<int>(mis.itemWidth), height = static_cast<int>(mis.itemHeight);
    MeasureSkinnedMainMenuItem(*data_, *item, screen.Get(), width, height);
    mis.itemWidth = static_cast<UINT>(std::max(width, 0));
    mis.itemHeight = static_cast<UINT>(std::max(height, 0));
    m.Result = TRUE;
    return true;
  }
  const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
  if (dis.CtlType != ODT_MENU) return false;
  if (TMenuItem* item = menu ? menu->FindCommand(static_cast<UINT>(dis.itemData)) : nullptr) {
    DrawSkinnedFrameworkItem(*data_, *item, dis.hDC, dis.rcItem, (dis.itemState & ODS_SELECTED) != 0,
                             reinterpret_cast<HMENU>(dis.hwndItem));
    m.Result = TRUE;
    return true;
  }
  if (TMenuItem::FromCommand(static_cast<UINT>(dis.itemData))) return false;
  if ((dis.itemData & 0xFFFF0000u) == kSysItemMark) return false;
  if (!DrawSkinnedForeignItem(*data_, dis)) return false;
  m.Result = TRUE;
  return true;
}

bool TFormSkin::DrawMenuGlyph(HDC dc, int x, int y, int tag, bool enabled) const {
  if (tag < 0 || tag >= kMenuGlyphCount) return false;
  return data_->DrawMenuGlyph(dc, x, y, tag, enabled);
}

// ---------------------------------------------------------------------------------------------
// Control skins (attached to the window's children by the control-skin unit)

void TFormSkin::AttachControlSkins() { ::zelvo::AttachControlSkins(*this); }

void TFormSkin::DetachControlSkins() { ::zelvo::DetachControlSkins(*this); }

// ---------------------------------------------------------------------------------------------
// Recolour and detach

void TFormSkin::Recolor() {
  if (!attached_) return;
  TFormSkinState before = state_;
  state_ = TFormSkinState::Refreshing;
  if (form_) {
    form_->Color = data_->Colours().ButtonFace;
    form_->Invalidate();
  } else {
    InvalidateRect(window_, nullptr, TRUE);
  }
  if (skinsFrame_ && before != TFormSkinState::New) {
    if (placement_ == TPlacement::Normal) ResizeToFrame(false);
    BuildRegion(true);
  }
  state_ = before == TFormSkinState::New ? before : TFormSkinState::Active;
  PaintFrame();
}

void TFormSkin::Detach() {
  if (!attached_) return;
  bool destroying = state_ == TFormSkinState::Destroying || !IsWindow(window_);
  sysMenu_.Reset();
  StopHoverTimer();
  if (!destroying) RestoreMainMenu();
  ownerDrawnMenu_ = nullptr;
  hooks_->formHook.Reset();
  hooks_->subclass.Reset();
  ReleaseMdiClient();
  DetachControlSkins();
  hot_ = pressed_ = nullptr;
  if (menuBar_) {
    if (!destroying) menuBar_->GiveBack();
    menuBar_.reset();
  }
  if (form_ && colourSaved_ && !destroying) {
    form_->Color = savedColour_;
    form_->Invalidate();
  }
  attached_ = false;
  if (destroying) return;
  if (skinsFrame_) {
    RestoreCaption();
    bool child = (style_ & WS_CHILD) != 0;
    if (!child || windowKind_ == TWindowKind::MdiChild) {
      RECT wr{};
      GetWindowRect(window_, &wr);
      if (placement_ == TPlacement::Normal && state_ != TFormSkinState::New && borderKind_ != TBorderKind::CaptionlessPopup) {
        TSizeI size = DetachedWindowSize(TSizeI{wr.right - wr.left, wr.bottom - wr.top}, thickness_, menuBarHeight_,
                                         TSizeI{systemFrame_.cx, systemFrame_.cy});
        SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      } else {
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      }
    }
  }
  RemoveRegion();
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT TFormSkin::CallPrevious(UINT msg, WPARAM wp, LPARAM lp) {
  return TWindowSubclass::CallNext(window_, msg, wp, lp);
}

LRESULT TFormSkin::OnNcDestroy(WPARAM wp, LPARAM lp) {
  state_ = TFormSkinState::Destroying;
  SkinTrace("WM_NCDESTROY " + caption_);
  StopHoverTimer();
  DetachControlSkins();
  hooks_->formHook.Reset();
  // The system frees the window region with the window.
  region_ = nullptr;
  LRESULT result = CallPrevious(WM_NCDESTROY, wp, lp);
  hooks_->subclass.Reset();
  // The client went before its frame (children first); this only forgets it.
  ReleaseMdiClient();
  attached_ = false;
  state_ = TFormSkinState::Dead;
  return result;
}

void TFormSkin::FormMessage(TMessage& m, const TNext& next) {
  switch (m.Msg) {
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (attached_ && state_ != TFormSkinState::Dead && MainMenuItemMessage(m)) return;
      next(m);
      return;
    case WM_SETTEXT:
      next(m);
      caption_ = ReadWindowText(window_, 1000);
      PaintFrame();
      return;
    default:
      if (m.Msg == SKIN_RECOLOR) {
        Recolor();
        m.Result = 0;
        return;
      }
      next(m);
      return;
  }
}

LRESULT TFormSkin::WindowMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == SKIN_QUERY) return 1;
  if (msg == WM_NCDESTROY) return OnNcDestroy(wp, lp);
  if (!attached_ || state_ == TFormSkinState::Dead) return CallPrevious(msg, wp, lp);
  if (msg == SKIN_INIT) {
    HandleInit();
    return 0;
  }
  if (msg == SKIN_REPAINTFRAME) {
    // A skinned MDI child sends it to its frame after it was maximized or restored through its
    // own caption or system menu, which the MDI client is not told of.
    if (!SyncMdiMaximized()) PaintFrame();
    return 0;
  }
  // The window's menu goes back before the window's own WM_DESTROY handling, which takes a
  // framework form's menu off as it does without a skin; a foreign window's menu is then
  // destroyed with the window, as the system would have done.
  if (msg == WM_DESTROY && menuBar_) menuBar_->GiveBack();
  // The framework form's own handler chain takes these when it is hooked.
  bool formHooked = hooks_->formHook.Linked();
  if (msg == SKIN_RECOLOR && !formHooked) {
    Recolor();
    return 0;
  }
  switch (msg) {
    case WM_ERASEBKGND:
      if (!form_) {
        RECT r{};
        GetClientRect(window_, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, data_->ButtonFaceBrush() ? data_->ButtonFaceBrush()
                                                                         : GetSysColorBrush(COLOR_BTNFACE));
        return 1;
      }
      break;
    case WM_CTLCOLORBTN:
      if (!form_) {
        SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        return CallPrevious(msg, wp, lp);
      }
      break;
    case WM_CTLCOLORSTATIC:
      if (!form_) {
        SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        return reinterpret_cast<LRESULT>(data_->ButtonFaceBrush() ? data_->ButtonFaceBrush()
                                                                  : GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_STYLECHANGED:
      if (wp == static_cast<WPARAM>(GWL_STYLE)) {
        // Keep what the frame rules read; the caption bits this skin removed stay counted as present.
        DWORD now = reinterpret_cast<const STYLESTRUCT*>(lp)->styleNew;
        style_ = (now & ~static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) |
                 (style_ & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) |
                 (now & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
      } else if (wp == static_cast<WPARAM>(GWL_EXSTYLE)) {
        exStyle_ = reinterpret_cast<const STYLESTRUCT*>(lp)->styleNew;
      }
      break;
    default:
      break;
  }
  if (!skinsFrame_) return CallPrevious(msg, wp, lp);
  bool handled = false;
  LRESULT result = FrameMessage(msg, wp, lp, handled);
  return handled ? result : CallPrevious(msg, wp, lp);
}

LRESULT TFormSkin::FrameMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  handled = true;
  switch (msg) {
    case WM_SIZE: {
      placement_ = wp == SIZE_MAXIMIZED ? TPlacement::Maximized
                   : wp == SIZE_MINIMIZED ? TPlacement::Minimized
                                          : TPlacement::Normal;
      LRESULT r = CallPrevious(msg, wp, lp);
      if (state_ == TFormSkinState::Active || state_ == TFormSkinState::Refreshing) BuildRegion(false);
      if (windowKind_ == TWindowKind::MdiChild && wp <= SIZE_MAXIMIZED) MdiChildSized(wp == SIZE_MAXIMIZED);
      return r;
    }
    case WM_GETMINMAXINFO: {
      if (placement_ == TPlacement::Minimized)
        RestoreCaption();
      else
        StripCaption();
      LRESULT r = CallPrevious(msg, wp, lp);
      if (borderKind_ == TBorderKind::Sizeable) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lp);
        info->ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
      }
      return r;
    }
    case WM_WINDOWPOSCHANGING: {
      LRESULT r = CallPrevious(msg, wp, lp);
      // A new size of a shown, normally placed window: its shape for that size goes on first,
      // so that the size change repaints and uncovers with the new shape, once. (Set after the
      // change, with a redraw of its own, the window and its controls would be erased and the
      // frame painted a second time.)
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
      if (pos && !(pos->flags & SWP_NOSIZE) && state_ == TFormSkinState::Active && !IsIconic(window_) &&
          !IsZoomed(window_)) {
        ShapeAhead(SIZE{pos->cx, pos->cy});
      }
      return r;
    }
    case WM_WINDOWPOSCHANGED:
      placement_ = IsIconic(window_) ? TPlacement::Minimized
                   : IsZoomed(window_) ? TPlacement::Maximized
                                       : TPlacement::Normal;
      return CallPrevious(msg, wp, lp);
    case WM_SETTEXT:
      if (!hooks_->formHook.Linked()) {
        LRESULT r = CallPrevious(msg, wp, lp);
        caption_ = ReadWindowText(window_, 1000);
        PaintFrame();
        return r;
      }
      break;
    case WM_ACTIVATE:
      active_ = LOWORD(wp) != WA_INACTIVE;
      break;
    case WM_NCACTIVATE:
      if (borderKind_ == TBorderKind::CaptionlessPopup) break;
      active_ = wp != 0;
      if (active_) {
        if (state_ == TFormSkinState::Active) StartHoverTimer();
      } else {
        StopHoverTimer();
        SetHot(nullptr);
      }
      PaintFrame();
      return TRUE;
    case WM_NCPAINT:
      if (borderKind_ == TBorderKind::CaptionlessPopup) break;
      if (windowKind_ == TWindowKind::MdiChild && placement_ != TPlacement::Normal) break;
      // Before the set-up has run the frame is left unpainted rather than drawn by the system
      // (which would flash its own caption); the set-up paints it once the size is right.
      PaintFrame(reinterpret_cast<HRGN>(wp));
      return 0;
    case WM_PRINT:
      if ((lp & PRF_NONCLIENT) && FramePaintable()) {
        PaintFrameTo(reinterpret_cast<HDC>(wp));
        return (lp & ~PRF_NONCLIENT) ? CallPrevious(msg, wp, lp & ~PRF_NONCLIENT) : 0;
      }
      break;
    case WM_TIMER:
      if (wp == kFrameHoverTimerId) {
        OnHoverTimer();
        return 0;
      }
      break;
    case WM_NCHITTEST: {
      LRESULT previous = CallPrevious(msg, wp, lp);
      if (borderKind_ == TBorderKind::CaptionlessPopup) return previous;
      POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      ScreenToClient(window_, &p);
      return SkinHitTest(static_cast<int32_t>(previous), TPointI{p.x, p.y}, thickness_, menuBarHeight_,
                         placement_ == TPlacement::Minimized);
    }
    case WM_NCCALCSIZE: {
      if (borderKind_ == TBorderKind::CaptionlessPopup ||
          (windowKind_ == TWindowKind::MdiChild && placement_ != TPlacement::Normal)) {
        break;
      }
      if (wp) {
        auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lp);
        const RECT& w = params->rgrc[0];
        TRectI client = SkinClientRect(TRectI{w.left, w.top, w.right, w.bottom}, thickness_, menuBarHeight_);
        params->rgrc[0] = params->rgrc[1] = params->rgrc[2] = ToRect(client);
        return WVR_VALIDRECTS;
      }
      auto* r = reinterpret_cast<RECT*>(lp);
      *r = ToRect(SkinClientRect(TRectI{r->left, r->top, r->right, r->bottom}, thickness_, menuBarHeight_));
      return 0;
    }
    case WM_NCMOUSEMOVE: {
      if (!active_) break;
      const POINT p = ScreenToWindow(lp);
      TNCObject* object = ObjectAt(p);
      if (object) {
        if (menuBar_) menuBar_->MouseLeave();
        SetHot(object);
        return 0;
      }
      SetHot(nullptr);
      if (TMenuBtn* button = menuBar_ ? menuBar_->HitTest(p) : nullptr) {
        menuBar_->MouseMove(button);
        return 0;
      }
      if (menuBar_) menuBar_->MouseLeave();
      break;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
      TNCObject* object = ObjectAt(ScreenToWindow(lp));
      if (object) {
        if (!active_) SetForegroundWindow(window_);
        if (hot_ != object) SetHot(object);
        pressed_ = object;
        object->MouseDown();
        return 0;
      }
      if (TMenuBtn* button = menuBar_ ? menuBar_->HitTest(ScreenToWindow(lp)) : nullptr) {
        if (!active_) SetForegroundWindow(window_);
        // Opens the button's submenu (or posts its command); returns once the menu has closed.
        menuBar_->MouseDown(button);
        return 0;
      }
      if (msg == WM_NCLBUTTONDBLCLK) {
        if (wp == HTCAPTION) {
          if (placement_ != TPlacement::Normal)
            PostSysCommand(SC_RESTORE);
          else if (buttonFlags_ & buttons::kMaximize)
            PostSysCommand(SC_MAXIMIZE);
          return 0;
        }
        break;
      }
      // A maximized window cannot be dragged by its caption.
      if (wp == HTCAPTION && placement_ == TPlacement::Maximized && active_) {
        return CallPrevious(msg, HTMENU, lp);
      }
      break;
    }
    case WM_NCLBUTTONUP: {
      TNCObject* object = ObjectAt(ScreenToWindow(lp));
      TNCObject* pressed = std::exchange(pressed_, nullptr);
      if (pressed && object == pressed) {
        pressed->MouseUp();
        return 0;
      }
      if (pressed) pressed->MouseLeave();
      break;
    }
    case WM_NCRBUTTONDOWN:
      if (windowKind_ != TWindowKind::MdiChild && wp == HTCAPTION) {
        ShowSystemMenu(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}, false);
        return 0;
      }
      break;
    case WM_COMMAND:
      if (lp == 0 && HIWORD(wp) == 0 && IsSystemCommandId(LOWORD(wp))) {
        PostSysCommand(LOWORD(wp));
        return 0;
      }
      break;
    case WM_SYSCOMMAND: {
      UINT command = static_cast<UINT>(wp & 0xFFF0);
      if (command == SC_KEYMENU && !menuShowing_ && !manager_->MenuTracking() && GetCapture() == nullptr) {
        if (lp == 0) return 0;  // a bare Alt: the skinned bar is not entered from the keyboard
        if (TMenuBtn* button = menuBar_ ? menuBar_->FindAccelerator(static_cast<char>(lp)) : nullptr) {
          menuBar_->MouseDown(button);  // Alt+letter opens the bar's button with that accelerator
          return 0;
        }
        if (lp == ' ') {
          // Alt+Space: the skinned system menu under the caption's left end.
          RECT wr{};
          GetWindowRect(window_, &wr);
          ShowSystemMenu(POINT{wr.left + thickness_.Left, wr.top + thickness_.Top}, false);
          return 0;
        }
      }
      if (command == SC_MINIMIZE) {
        placement_ = TPlacement::Minimized;
        if (windowKind_ == TWindowKind::MdiChild) RestoreCaption();
      } else if (command == SC_MAXIMIZE) {
        placement_ = TPlacement::Maximized;
      } else if (command == SC_RESTORE) {
        placement_ = TPlacement::Normal;
        if (windowKind_ == TWindowKind::MdiChild) StripCaption();
      }
      break;
    }
    case WM_MEASUREITEM:
      if (wp == 0 && MeasureMenuItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) return TRUE;
      break;
    case WM_DRAWITEM:
      if (wp == 0 && DrawMenuItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
      break;
    default:
      break;
  }
  handled = false;
  return 0;
}

}  // namespace zelvo
