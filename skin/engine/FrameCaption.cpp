#include "skin/engine/FrameCaption.h"

#include <utility>

#include "framework/Graphics.h"
#include "skin/engine/SkinData.h"

namespace zelvo {

namespace {

// The caption as the frame draws and measures it.
std::string Padded(const std::string& caption) { return "  " + caption + " "; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Frame objects

void TNCObject::MouseDown() {
  State = kPressed;
  owner_.RepaintFrame();
}

void TNCObject::MouseUp() {
  State = kHot;
  owner_.RepaintFrame();
}

void TNCObject::MouseMove() {
  if (State == kNormal) {
    State = kHot;
    owner_.RepaintFrame();
  }
}

void TNCObject::MouseLeave() {
  if (State != kNormal) {
    State = kNormal;
    owner_.RepaintFrame();
  }
}

void TCaptionButton::MouseUp() {
  TNCObject::MouseUp();
  owner_.RunAction(Action());
}

int TCaptionButton::CurrentFrame() const {
  const TButtonImage image = CaptionButtonImage(*skin_, owner_.CaptionIcon());
  const TButtonState state = State == kPressed ? TButtonState::Pressed
                             : State == kHot   ? TButtonState::Hot
                                               : TButtonState::Normal;
  return CaptionButtonFrame(*skin_, image.FrameCount, state, owner_.IsActiveWindow());
}

void TCaptionButton::Paint(TOffscreen& canvas, POINT origin) {
  if (!Visible) return;
  const TButtonImage image = CaptionButtonImage(*skin_, owner_.CaptionIcon());
  if (!image.Image || image.Image->Empty()) return;
  const TRectI cell = FrameCell(*image.Image, image.FrameCount, CurrentFrame(), false);
  canvas.Put(*image.Image, cell, origin.x + Rect.left, origin.y + Rect.top, true);
}

// ---------------------------------------------------------------------------------------------
// TCaptionButtons

void TCaptionButtons::Rebuild(const TSkinObjects& skin) {
  Clear();
  for (const auto& entry : skin.CaptionButtons)
    if (entry) buttons_.push_back(std::make_unique<TCaptionButton>(owner_, *entry));
}

void TCaptionButtons::Clear() {
  Forget();
  buttons_.clear();
}

void TCaptionButtons::Forget() {
  hot_ = nullptr;
  pressed_ = nullptr;
}

void TCaptionButtons::Place(const TFrameLayout& layout) {
  for (auto& b : buttons_) b->Visible = false;
  for (const TPlacedButton& placed : layout.Buttons) {
    if (placed.Index < 0 || static_cast<size_t>(placed.Index) >= buttons_.size()) continue;
    TCaptionButton& b = *buttons_[static_cast<size_t>(placed.Index)];
    b.Rect = ToRect(placed.Rect);
    // The MDI buttons (in the menu bar) are placed by the core only while they show.
    b.Visible = placed.Visible;
  }
}

void TCaptionButtons::MarkStates(TFrameInput& in) const {
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (buttons_[i].get() == hot_ && hot_->State == TNCObject::kHot) in.HotButton = static_cast<int32_t>(i);
    if (buttons_[i]->State == TNCObject::kPressed) in.PressedButton = static_cast<int32_t>(i);
  }
}

TNCObject* TCaptionButtons::At(POINT p) const {
  for (const auto& b : buttons_)
    if (b->Visible && b->Action() >= 0 && PtInRect(&b->Rect, p)) return b.get();
  return nullptr;
}

POINT TCaptionButtons::BottomLeftOf(int32_t action) const {
  POINT p{0, 0};
  for (const auto& b : buttons_)
    if (b->Action() == action) p = POINT{b->Rect.left, b->Rect.bottom};
  return p;
}

void TCaptionButtons::PaintMenuBarButtons(TOffscreen& canvas) const {
  for (const auto& b : buttons_)
    if (b->Visible && b->Skin().Align == kMenuBarButtonAlign) b->Paint(canvas, POINT{0, 0});
}

void TCaptionButtons::SetHot(TNCObject* object) {
  if (object == hot_) {
    if (object) object->MouseMove();
    return;
  }
  TNCObject* old = std::exchange(hot_, object);
  if (old) old->MouseLeave();
  if (object) object->MouseMove();
}

void TCaptionButtons::DropHot() {
  if (!hot_) return;
  hot_->State = TNCObject::kNormal;
  hot_ = nullptr;
}

void TCaptionButtons::Press(TNCObject* object) {
  if (hot_ != object) SetHot(object);
  pressed_ = object;
  object->MouseDown();
}

bool TCaptionButtons::Release(TNCObject* object) {
  TNCObject* pressed = std::exchange(pressed_, nullptr);
  if (!pressed) return false;
  if (object == pressed) {
    pressed->MouseUp();
    return true;
  }
  pressed->MouseLeave();
  return false;
}

// ---------------------------------------------------------------------------------------------
// TCaptionText

HFONT TCaptionText::Font() {
  if (!font_) font_ = CreateCaptionFont();
  return FontOrDefault(font_.Get());
}

SIZE TCaptionText::Measure(const std::string& caption) {
  if (!measured_ || measuredText_ != caption) {
    const TTextMeasure measure(Font());
    const SIZE size{measure.Extent(Padded(caption)).cx, measure.Metrics().tmHeight};
    measuredText_ = caption;
    size_ = size;
    measured_ = true;
  }
  return size_;
}

void TCaptionText::Paint(HDC dc, const RECT& r, const std::string& caption, COLORREF colour, bool rightAligned) {
  const ScopedSelect font(dc, Font());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  RECT box = r;
  const UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | (rightAligned ? DT_RIGHT : DT_LEFT);
  SkinDrawText(dc, AnsiToWide(Padded(caption)), box, format);
}

// ---------------------------------------------------------------------------------------------
// The caption icon

namespace {

// The process's fallback window icon: a copy of the first skinned window's icon (the window's
// own may be destroyed with it), used by windows that have none of their own.
UniqueIcon& FallbackIcon() {
  static UniqueIcon icon;
  return icon;
}

HICON WindowIcon(HWND window, HICON formIcon) {
  HICON icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
  if (!icon) icon = formIcon;
  return icon;
}

}  // namespace

TBitmap32 CaptionIconOf(HWND window, HICON formIcon) {
  HICON icon = WindowIcon(window, formIcon);
  if (icon && !FallbackIcon()) FallbackIcon() = UniqueIcon(CopyIcon(icon));
  if (!icon) icon = FallbackIcon().Get();
  if (!icon) return {};
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  TOffscreen surface;
  if (!surface.Ensure(cx, cy)) return {};
  surface.Put(TBitmap32(cx, cy, kMagenta), 0, 0);
  DrawIconEx(surface.DC(), 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
  TBitmap32 bitmap(cx, cy);
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx; ++x) {
      const uint32_t rgb = surface.PixelRGB(x, y);
      bitmap.At(x, y) = MakePixel(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                  static_cast<uint8_t>(rgb));
    }
  return bitmap;
}

}  // namespace zelvo
