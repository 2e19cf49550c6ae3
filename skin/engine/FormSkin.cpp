// The skinned frame of one top-level window: the Windows half. Everything that can be computed
// without the platform comes from skin/render/FormSkin_core.h; this file attaches and gives back,
// reads the window, calls the core and blits what it composed. The messages are answered in
// FormSkinMessages.cpp.
#include "skin/engine/FormSkin.h"

#include <algorithm>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/Subclass.h"
#include "skin/engine/ControlSkins.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinMenuBar.h"
#include "skin/engine/SkinTrace.h"
#include "skin/engine/WindowFacts.h"

namespace zelvo {

namespace {

// The longest caption the frame reads.
constexpr int kCaptionLimit = 1000;

// SetWindowPos flags that change nothing but have the frame measured and drawn again.
constexpr UINT kFrameChangedOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

SIZE SizeOf(const RECT& r) { return SIZE{r.right - r.left, r.bottom - r.top}; }

RECT WindowRectOf(HWND window) {
  RECT wr{};
  GetWindowRect(window, &wr);
  return wr;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Life cycle

TFormSkin::TFormSkin(ISkinEngine& engine, HWND window, TSkinData& data, TForm* form)
    : engine_(&engine), window_(window), data_(&data), form_(form), buttons_(*this),
      region_(window, [this](SIZE size) { return RegionRects(size); }), reveal_(window), sysMenu_(window, data, engine),
      mdi_(engine, [this] { MdiStateChanged(); }), mainMenu_(data) {}

TFormSkin::~TFormSkin() {
  try {
    if (attached_ && state_ != TFormSkinState::Dead && IsWindow(window_)) Detach();
  } catch (...) {
  }
  StopHoverTimer();
  subclass_.Reset();
  formHook_.Reset();
  mdi_.Unhook();
  controlSkins_.clear();
  engine_->RemoveSkinForm(*this);
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
    formHook_ = form_->HookWindowProc([this](TMessage& m, const TNext& next) { FormMessage(m, next); });
  }
  try {
    AttachWindow();
  } catch (...) {
    formHook_.Reset();
    throw;
  }
  savedColour_ = form_->Color;
  colourSaved_ = true;
  form_->Color = data_->Colours().ButtonFace;
  form_->Invalidate();
  if (Flag(TSkinControlType::xcMainMenu)) MainMenuRefilled(mainMenu_.OwnerDraw(*form_));
}

void TFormSkin::AttachWindow() {
  if (attached_) return;
  ReadWindow();
  // Without the main-menu member the window keeps its system frame and only the always-handled
  // messages are answered.
  skinsFrame_ = Flag(TSkinControlType::xcMainMenu) && !((style_ & WS_CHILD) && windowKind_ != TWindowKind::MdiChild);
  sysMenu_.Build(buttonFlags_);
  if (skinsFrame_) {
    // The window's menu moves into the skinned bar under the caption: the system bar cannot
    // live inside a skinned frame. The client size read above still counts the system bar, so
    // the first sizing keeps the client area as it was.
    if (GetMenu(window_) && windowKind_ != TWindowKind::MdiChild) {
      auto bar = std::make_unique<TSkinMenuBar>(*engine_, window_, *data_);
      if (bar->TakeOver()) menuBar_ = std::move(bar);
    }
    if (placement_ != TPlacement::Minimized) StripCaption();
    Layout();
  }
  subclass_ = TWindowSubclass(window_, [this](HWND, UINT msg, WPARAM wp, LPARAM lp) {
    return WindowMessage(msg, wp, lp);
  });
  attached_ = true;
  mdi_.Subclass();
  AttachControlSkins();
  InvalidateRect(window_, nullptr, TRUE);
}

void TFormSkin::ReadWindow() {
  style_ = static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE));
  exStyle_ = static_cast<DWORD>(GetWindowLongA(window_, GWL_EXSTYLE));
  ReadCaption();
  className_ = WindowClassName(window_);
  ownerWindow_ = GetWindow(window_, GW_OWNER);
  GetClientRect(window_, &clientAtAttach_);
  const SIZE size = SizeOf(WindowRectOf(window_));
  systemFrame_ = SIZE{size.cx - clientAtAttach_.right, size.cy - clientAtAttach_.bottom};
  buttonFlags_ = AvailableButtonsOf(style_, false);
  placement_ = IsIconic(window_) ? TPlacement::Minimized
               : IsZoomed(window_) ? TPlacement::Maximized
                                   : TPlacement::Normal;
  HWND mdiClient = FindWindowExA(window_, nullptr, "MDIClient", nullptr);
  windowKind_ = WindowKindOf(mdiClient != nullptr, exStyle_);
  mdi_.SetClient(windowKind_ == TWindowKind::MdiFrame ? mdiClient : nullptr);
  borderKind_ = BorderKindOf(style_);
  active_ = GetActiveWindow() == window_;
  iconBitmap_ = CaptionIconOf(window_, form_ ? static_cast<HICON>(form_->Icon) : nullptr);
}

void TFormSkin::ReadCaption() { caption_ = WindowText(window_, kCaptionLimit); }

void TFormSkin::StripCaption() {
  if (windowKind_ == TWindowKind::MdiChild && engine_->MdiMaximized()) return;
  const auto current = static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE));
  const TStrippedStyle stripped = StripCaptionStyle(current, buttonFlags_, ownerWindow_ != nullptr);
  buttonFlags_ = stripped.Flags;
  if (stripped.Style != current) SetWindowLongA(window_, GWL_STYLE, static_cast<LONG>(stripped.Style));
}

void TFormSkin::RestoreCaption() {
  const auto current = static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE));
  const DWORD restored = RestoreCaptionStyle(current, buttonFlags_);
  if (restored != current) SetWindowLongA(window_, GWL_STYLE, static_cast<LONG>(restored));
}

void TFormSkin::Layout() {
  thickness_ = FrameThicknessOf(data_->Skin(), borderKind_);
  menuBarHeight_ = menuBar_ && borderKind_ != TBorderKind::CaptionlessPopup ? GetSystemMetrics(SM_CYMENU) : 0;
  menuBarRect_ = RECT{};
  buttons_.Rebuild(data_->Skin());
  region_.Invalidate();
}

void TFormSkin::DropCaptionButtons() { buttons_.Clear(); }

void TFormSkin::AttachControlSkins() { ::zelvo::AttachControlSkins(*this); }

void TFormSkin::DetachControlSkins() { ::zelvo::DetachControlSkins(*this); }

// Lets the skinned bar read the refilled main menu again: the refill replaced the submenus its
// buttons open.
void TFormSkin::MainMenuRefilled(HMENU menu) {
  if (!menu || !menuBar_ || menuBar_->Menu() != menu) return;
  menuBar_->Rebuild(menu);
  if (attached_ && FramePaintable()) PaintFrame();
}

// ---------------------------------------------------------------------------------------------
// Set-up after attach, sizing, region

void TFormSkin::PrepareShow(WINDOWPOS& showing) { BeforeShow(showing); }

void TFormSkin::BeforeShow(WINDOWPOS& showing) {
  if (!attached_) return;
  SetUp(&showing);
  if (skinsFrame_ && state_ == TFormSkinState::Active) reveal_.HoldBack();
}

void TFormSkin::HandleInit() { SetUp(nullptr); }

void TFormSkin::SetUp(WINDOWPOS* showing) {
  if (state_ != TFormSkinState::New) return;
  if (!skinsFrame_) {
    state_ = TFormSkinState::Active;
    return;
  }
  if (windowKind_ == TWindowKind::MdiChild && engine_->MdiMaximized()) {
    RestoreCaption();
    FrameChanged(showing);
  } else if (placement_ != TPlacement::Minimized && borderKind_ != TBorderKind::CaptionlessPopup) {
    state_ = TFormSkinState::Sizing;
    if (placement_ == TPlacement::Maximized) {
      FrameChanged(showing);
    } else {
      SIZE size = SkinnedSize(firstSizing_, showing);
      if (firstSizing_ && (className_ == "TMessageForm" || className_ == "#32770")) size.cx = WidenForCaption(size);
      Resize(size, showing);
    }
  }
  firstSizing_ = false;
  state_ = TFormSkinState::Active;
  if (showing) {
    // Shaped for the size the show gives it; the system draws the window with that shape.
    if (RegionApplies()) {
      region_.ShapeAhead((showing->flags & SWP_NOSIZE) != 0 ? SizeOf(WindowRectOf(window_))
                                                            : SIZE{showing->cx, showing->cy});
    }
  } else {
    // The sizing above shaped the window already (unless something changed its size since, or it
    // kept its maximized size): then this sets nothing.
    BuildRegion(false);
  }
  active_ = GetActiveWindow() == window_;
  if (active_) StartHoverTimer();
  // A window about to be shown is painted as it appears.
  if (!showing) PaintFrame();
}

SIZE TFormSkin::SkinnedSize(bool firstSizing, const WINDOWPOS* showing) const {
  RECT client = clientAtAttach_;
  if (!firstSizing) {
    GetClientRect(window_, &client);
  } else if (showing && (showing->flags & SWP_NOSIZE) == 0) {
    client = RECT{0, 0, std::max(0, static_cast<int>(showing->cx - systemFrame_.cx)),
                  std::max(0, static_cast<int>(showing->cy - systemFrame_.cy))};
  }
  const TSizeI size = SkinnedWindowSize(TSizeI{client.right - client.left, client.bottom - client.top}, thickness_,
                                        menuBarHeight_);
  return SIZE{size.cx, size.cy};
}

void TFormSkin::Resize(SIZE size, WINDOWPOS* showing) {
  if (showing) {
    showing->cx = size.cx;
    showing->cy = size.cy;
    showing->flags = (showing->flags & ~SWP_NOSIZE) | SWP_FRAMECHANGED;
    return;
  }
  ShapeAhead(size);
  SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TFormSkin::FrameChanged(WINDOWPOS* showing) {
  if (showing)
    showing->flags |= SWP_FRAMECHANGED;
  else
    SetWindowPos(window_, nullptr, 0, 0, 0, 0, kFrameChangedOnly);
}

void TFormSkin::ResizeToFrame(bool firstSizing) { Resize(SkinnedSize(firstSizing, nullptr), nullptr); }

int TFormSkin::WidenForCaption(SIZE size) {
  const int width = size.cx;
  int blank = 4;
  if (const SIZE space = TTextMeasure(captionText_.Font()).Extent(" "); space.cx > 0) blank = space.cx;
  TMessageBoxWidening w = WidenMessageBox(width, static_cast<int32_t>(caption_.size()), blank, thickness_,
                                          data_->Skin().Title);
  if (w.Width <= width) return width;
  // A caption of a thousand characters would ask for a window many screens wide: the box grows
  // at most to the width of the desktop, and its children move by half of what it really grew.
  const int limit = std::max(width, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  if (w.Width > limit) {
    w.Width = limit;
    w.ChildShift = (limit - width) / 2;
  }
  if (w.ChildShift == 0) return w.Width;
  std::vector<HWND> children;
  for (HWND c = GetWindow(window_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
  for (HWND c : children) {
    RECT r = WindowRectOf(c);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(c, nullptr, r.left + w.ChildShift, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return w.Width;
}

std::vector<TRectI> TFormSkin::RegionRects(std::optional<SIZE> size) {
  TFrameInput in = FrameInput(size);
  const TFrameLayout layout = CurrentLayout(in);
  // The region follows the active look, whatever the window's state now.
  in.Active = true;
  in.HotButton = in.PressedButton = -1;
  // Of the composed frame only the caption strip shapes the region (the other sides are rendered
  // on their own): only the strip is composed.
  TBitmap32 strip(in.Width, std::clamp(layout.Thickness.Top, 0, std::max(in.Height, 0)), 0);
  ComposeCaptionStrip(strip, data_->Skin(), layout, in);
  return FrameRegion(data_->Skin(), layout, in, &strip);
}

bool TFormSkin::RegionApplies() const {
  return skinsFrame_ && !(windowKind_ == TWindowKind::MdiChild && placement_ != TPlacement::Normal);
}

void TFormSkin::BuildRegion(bool force) {
  if (!RegionApplies()) return;
  region_.Build(force || state_ == TFormSkinState::Refreshing || windowKind_ == TWindowKind::MdiChild);
}

void TFormSkin::ShapeAhead(SIZE size) {
  if (!RegionApplies() || windowKind_ == TWindowKind::MdiChild || placement_ != TPlacement::Normal) return;
  region_.ShapeAhead(size);
}

// ---------------------------------------------------------------------------------------------
// Recolour and detach

void TFormSkin::Recolor() {
  if (!attached_) return;
  const TFormSkinState before = state_;
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
  const bool destroying = state_ == TFormSkinState::Destroying || !IsWindow(window_);
  if (destroying)
    reveal_.Forget();
  else
    reveal_.Release();
  sysMenu_.Destroy();
  StopHoverTimer();
  if (!destroying && form_) MainMenuRefilled(mainMenu_.Restore(*form_));
  mainMenu_.Forget();
  formHook_.Reset();
  subclass_.Reset();
  mdi_.Release();
  DetachControlSkins();
  buttons_.Forget();
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
  if (skinsFrame_) GiveSizeBack();
  region_.Remove();
}

void TFormSkin::GiveSizeBack() {
  RestoreCaption();
  if ((style_ & WS_CHILD) != 0 && windowKind_ != TWindowKind::MdiChild) return;
  if (placement_ != TPlacement::Normal || state_ == TFormSkinState::New ||
      borderKind_ == TBorderKind::CaptionlessPopup) {
    SetWindowPos(window_, nullptr, 0, 0, 0, 0, kFrameChangedOnly);
    return;
  }
  const SIZE now = SizeOf(WindowRectOf(window_));
  const TSizeI size = DetachedWindowSize(TSizeI{now.cx, now.cy}, thickness_, menuBarHeight_,
                                         TSizeI{systemFrame_.cx, systemFrame_.cy});
  SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ---------------------------------------------------------------------------------------------
// Composition and painting

TFrameInput TFormSkin::FrameInput(std::optional<SIZE> forSize) {
  const SIZE size = forSize ? *forSize : SizeOf(WindowRectOf(window_));
  TFrameInput in;
  in.Width = size.cx;
  in.Height = size.cy;
  in.Style = style_;
  in.ExStyle = exStyle_;
  in.HasSystemMenu = (buttonFlags_ & buttons::kSystemMenu) != 0;
  in.Active = active_;
  in.Placement = placement_;
  in.Kind = windowKind_;
  in.MenuBarHeight = menuBarHeight_;
  // Only a frame's own answer counts: the menu bar shows the MDI buttons for its active child.
  in.MdiMaximizedChild = windowKind_ == TWindowKind::MdiFrame && mdi_.ChildMaximized();
  const SIZE text = captionText_.Measure(caption_);
  in.CaptionTextWidth = text.cx;
  in.CaptionTextHeight = text.cy;
  in.Icon = CaptionIcon();
  buttons_.MarkStates(in);
  in.PreviousRightmostButtonLeft = rightmostButtonLeft_;
  return in;
}

TFrameLayout TFormSkin::CurrentLayout(TFrameInput& in) {
  TFrameLayout layout = LayoutFrame(data_->Skin(), in);
  buttons_.Place(layout);
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
  const RECT wr = WindowRectOf(window_);
  RECT cr{};
  GetClientRect(window_, &cr);
  MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&cr), 2);
  OffsetRect(&cr, -wr.left, -wr.top);
  return cr;
}

void TFormSkin::RenderToCanvas(int width, int height) {
  TFrameInput in = FrameInput();
  const TFrameLayout layout = CurrentLayout(in);
  rightmostButtonLeft_ = layout.RightmostButtonLeft;
  paintedActive_ = in.Active;
  const TSkinColours& colours = data_->Colours();
  // Only the frame is composed: the client area is never copied.
  const RECT client = ClientInWindow();
  const bool inside = client.left < client.right && client.top < client.bottom && client.left >= 0 &&
                      client.top >= 0 && client.right <= width && client.bottom <= height;
  if (inside) {
    strips_[0].Rect = TRectI{0, 0, width, client.top};
    strips_[1].Rect = TRectI{0, client.bottom, width, height};
    strips_[2].Rect = TRectI{0, client.top, client.left, client.bottom};
    strips_[3].Rect = TRectI{client.right, client.top, width, client.bottom};
  } else {
    strips_[0].Rect = TRectI{0, 0, width, height};
    for (size_t i = 1; i < strips_.size(); ++i) strips_[i].Rect = TRectI{};
  }
  const TPixel fill = PixelOf(colours.ButtonFace), menuFill = PixelOf(colours.Menubar);
  for (TFrameStrip& strip : strips_) {
    const TRectI& r = strip.Rect;
    if (strip.Pixels.Width != r.Width() || strip.Pixels.Height != r.Height()) {
      strip.Pixels = r.Empty() ? TBitmap32{} : TBitmap32(r.Width(), r.Height(), fill);
    } else {
      std::span<TPixel> pixels = strip.Pixels.MutablePixels();
      std::fill(pixels.begin(), pixels.end(), fill);
    }
    if (!r.Empty()) ComposeFrame(strip.Pixels, TPointI{r.left, r.top}, data_->Skin(), layout, in, menuFill);
  }
  if (!canvas_.Ensure(width, strips_[0].Rect.bottom)) return;
  canvas_.Put(strips_[0].Pixels, 0, 0);
  if (!layout.Text.TextRect.Empty()) {
    captionText_.Paint(canvas_.DC(), ToRect(layout.Text.TextRect), caption_,
                       ColorToRGB(active_ ? colours.TitleTextActive : colours.TitleTextNoActive),
                       layout.Text.RightAligned);
  }
  if (menuBar_ && !layout.MenuBar.Empty()) {
    const RECT bar = ToRect(layout.MenuBar);
    if (!EqualRect(&bar, &menuBarRect_)) {
      menuBar_->Layout(bar);
      menuBarRect_ = bar;
    }
    menuBar_->Paint(canvas_.DC(), bar, active_);
    // The bar paints over the whole bar rectangle: the MDI buttons go on top of it.
    buttons_.PaintMenuBarButtons(canvas_);
  }
}

void TFormSkin::DrawFrame(HDC dc, const RECT& window, HRGN clip) {
  // Everything done to the DC below is undone when the paint ends, also when it fails.
  const SavedDC saved(dc);
  if (clip && clip != reinterpret_cast<HRGN>(1)) {
    const UniqueGdi<HRGN> local(CreateRectRgn(0, 0, 0, 0));
    if (local && CombineRgn(local.Get(), clip, nullptr, RGN_COPY) != ERROR) {
      OffsetRgn(local.Get(), -window.left, -window.top);
      ExtSelectClipRgn(dc, local.Get(), RGN_AND);
    }
  }
  const SIZE size = SizeOf(window);
  RenderToCanvas(size.cx, size.cy);
  // Each side is copied on its own: one copy of the whole window clipped to a frame-shaped area
  // cost the first paint of a window more than twice as much.
  canvas_.CopyTo(dc, 0, 0, 0, 0, size.cx, strips_[0].Rect.bottom);
  for (size_t i = 1; i < strips_.size(); ++i) {
    DrawBitmap(dc, strips_[i].Pixels, strips_[i].Rect.left, strips_[i].Rect.top, stripScratch_);
  }
}

void TFormSkin::PaintFrame(HRGN clip) {
  if (!FramePaintable()) return;
  try {
    const RECT wr = WindowRectOf(window_);
    if (wr.right <= wr.left || wr.bottom <= wr.top) return;
    const WindowDC dc = WindowDC::Whole(window_);
    if (dc) DrawFrame(dc.Get(), wr, clip);
  } catch (...) {
    // A failed frame paint simply ends; the next paint tries again.
  }
}

void TFormSkin::PaintFrameTo(HDC dc) {
  if (!FramePaintable() || !dc) return;
  try {
    const RECT wr = WindowRectOf(window_);
    if (wr.right > wr.left && wr.bottom > wr.top) DrawFrame(dc, wr, nullptr);
  } catch (...) {
  }
}

bool TFormSkin::DrawMenuGlyph(HDC dc, int x, int y, int tag, bool enabled) const {
  if (tag < 0 || tag >= kMenuGlyphCount) return false;
  return data_->DrawMenuGlyph(dc, x, y, tag, enabled);
}

// ---------------------------------------------------------------------------------------------
// Hover, actions, the system menu, MDI

void TFormSkin::StartHoverTimer() {
  if (hoverTimer_ || !IsWindow(window_)) return;
  hoverTimer_ = UniqueTimer::Set(window_, kFrameHoverTimerId, kFrameHoverIntervalMs);
}

void TFormSkin::StopHoverTimer() { hoverTimer_.Reset(); }

void TFormSkin::OnHoverTimer() {
  if (sysMenu_.Showing() || engine_->MenuTracking()) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  const RECT wr = WindowRectOf(window_);
  const POINT p{cursor.x - wr.left, cursor.y - wr.top};
  const bool overWindow = WindowFromPoint(cursor) == window_;
  if (TNCObject* hot = buttons_.Hot(); hot && (!PtInRect(&hot->Rect, p) || !overWindow)) buttons_.SetHot(nullptr);
  if (menuBar_ && !menuBar_->Tracking() && (!overWindow || !menuBar_->HitTest(p))) menuBar_->MouseLeave();
}

void TFormSkin::PostSysCommand(WPARAM command) { PostMessageA(window_, WM_SYSCOMMAND, command, 0); }

void TFormSkin::CloseWindow() {
  StopHoverTimer();
  PostMessageA(window_, WM_CLOSE, 0, 0);
}

void TFormSkin::DoAction(int32_t action) {
  switch (action) {
    case 0:
      CloseWindow();
      break;
    case 1: case 22:
      PostSysCommand(placement_ == TPlacement::Maximized ? SC_RESTORE : SC_MAXIMIZE);
      break;
    case 2: case 23:
      PostSysCommand(placement_ == TPlacement::Minimized ? SC_RESTORE : SC_MINIMIZE);
      break;
    case 3: case 11: case 12: {
      const POINT p = buttons_.BottomLeftOf(action);
      const RECT wr = WindowRectOf(window_);
      ShowSystemMenu(POINT{wr.left + p.x + 1, wr.top + p.y + 1});
      break;
    }
    case 7: case 60:
      mdi_.CommandActiveChild(SC_MINIMIZE);
      break;
    case 8: case 61:
      mdi_.CommandActiveChild(SC_RESTORE);
      break;
    case 9: case 62:
      mdi_.CommandActiveChild(SC_CLOSE);
      break;
    default:
      PostMessageA(window_, SKIN_QUERY, static_cast<WPARAM>(action), 0);
      break;
  }
}

void TFormSkin::ShowSystemMenu(POINT screen, bool doubleClickCloses) {
  if (sysMenu_.ClickCloses(doubleClickCloses)) {
    CloseWindow();
    return;
  }
  sysMenu_.Show(screen, placement_, Flag(TSkinControlType::xcSystemMenu) && windowKind_ != TWindowKind::MdiChild);
}

void TFormSkin::MdiStateChanged() {
  // The MDI code retitles the frame ("Frame - [Child]") without passing its window procedure.
  ReadCaption();
  // A hot MDI button may be about to disappear.
  buttons_.DropHot();
  menuBarRect_ = RECT{};
  PaintFrame();
}

void TFormSkin::MdiChildSized(bool maximized) {
  // Only when the flag may be wrong: dragging a child's border sends WM_SIZE all the time.
  if (maximized != engine_->MdiMaximized()) {
    HWND client = GetParent(window_);
    if (HWND frame = client ? GetParent(client) : nullptr) SendMessageA(frame, SKIN_REPAINTFRAME, 0, 0);
  }
  // Restored through its own system menu while the flag was still set, the child kept its
  // system caption; the flag is right now.
  if (!maximized && placement_ == TPlacement::Normal) StripCaption();
}

}  // namespace zelvo
