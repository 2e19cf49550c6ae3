#include "skin/engine/PopupMenuSkin.h"

#include "skin/engine/SkinMessages.h"
#include "skin/render/FormSkin_core.h"
#include "skin/render/NinePart.h"

namespace zelvo {

namespace {

// Whether the window's client area covers the whole window.
bool HasNoFrame(HWND h) {
  RECT wr{}, cr{};
  GetWindowRect(h, &wr);
  GetClientRect(h, &cr);
  return cr.right == wr.right - wr.left && cr.bottom == wr.bottom - wr.top;
}

// The popup skin of a menu window that still exists and is still skinned, or nullptr.
TPopupMenuSkin* StillSkinned(HWND h) {
  ISkinEngine* engine = ISkinEngine::Instance();
  return engine && IsWindow(h) ? engine->FindPopup(h) : nullptr;
}

}  // namespace

TPopupMenuSkin::TPopupMenuSkin(ISkinEngine& engine, HWND window, TSkinData& data)
    : engine_(&engine), window_(window), data_(&data) {
  subclass_ = TWindowSubclass(window_, [this](HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return WndProc(h, msg, wp, lp);
  });
}

TPopupMenuSkin::~TPopupMenuSkin() { Unsubclass(); }

// Removing our own link leaves any procedure installed above or below it in place.
void TPopupMenuSkin::Unsubclass() { subclass_.Reset(); }

HMENU TPopupMenuSkin::Menu() const {
  if (!IsWindow(window_)) return nullptr;
  return reinterpret_cast<HMENU>(SendMessageA(window_, kMenuGetMenu, 0, 0));
}

POINT TPopupMenuSkin::ClientOrigin() const {
  RECT wr{};
  GetWindowRect(window_, &wr);
  POINT p{0, 0};
  ClientToScreen(window_, &p);
  return POINT{p.x - wr.left, p.y - wr.top};
}

void TPopupMenuSkin::SkinChanged() {
  background_.Reset();
  backgroundSize_ = SIZE{0, 0};
  if (IsWindow(window_)) RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

HBITMAP TPopupMenuSkin::Background() {
  const TDataSkinObject* obj = data_->Skin().MenuBackground.get();
  if (!obj || obj->Image.Empty()) return nullptr;
  RECT wr{};
  if (!GetWindowRect(window_, &wr)) return nullptr;
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0) return nullptr;
  if (background_ && backgroundSize_.cx == w && backgroundSize_.cy == h) return background_.Get();
  TBitmap32 rendered(w, h);
  RenderNinePart(rendered, TRectI{0, 0, w, h}, NinePartOf(*obj, false), 1);
  UniqueGdi<HBITMAP> bmp = CreateGdiBitmap(rendered);
  if (!bmp) return nullptr;
  background_ = std::move(bmp);
  backgroundSize_ = SIZE{w, h};
  return background_.Get();
}

bool TPopupMenuSkin::PaintBorder(HDC dc) {
  HBITMAP bg = Background();
  if (!bg || !dc) return false;
  const UniqueDC mem = CompatibleDC(dc);
  if (!mem) return false;
  const ScopedSelect select(mem.Get(), bg);
  for (const TRectI& r : PopupMenuBorderRects(backgroundSize_.cx, backgroundSize_.cy)) {
    if (!r.Empty()) BitBlt(dc, r.left, r.top, r.Width(), r.Height(), mem.Get(), r.left, r.top, SRCCOPY);
  }
  return true;
}

LRESULT TPopupMenuSkin::WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  // Every path that passes the message on returns straight away: the object may be freed while
  // the previous procedure runs (the hook frees it when the menu window is destroyed).
  if (msg == SKIN_QUERY) return 1;
  if (!engine_->SkinningEnabled()) return TWindowSubclass::CallNext(h, msg, wp, lp);
  switch (msg) {
    case WM_DESTROY:
      Unsubclass();
      return TWindowSubclass::CallNext(h, msg, wp, lp);
    case WM_NCPAINT: {
      if (!Background()) return TWindowSubclass::CallNext(h, msg, wp, lp);
      PaintBorder(WindowDC::Whole(h).Get());
      return 0;
    }
    case WM_PAINT: {
      // Where the menu window has no non-client frame (Wine's menus draw their edge inside the
      // client area while painting), the skinned border goes over that edge afterwards.
      // This object is looked up again afterwards: it may be gone by then.
      const LRESULT r = TWindowSubclass::CallNext(h, msg, wp, lp);
      TPopupMenuSkin* self = StillSkinned(h);
      if (!self || !HasNoFrame(h) || !self->Background()) return r;
      self->PaintBorder(WindowDC::Whole(h).Get());
      return r;
    }
    case WM_PRINTCLIENT: {
      const LRESULT r = TWindowSubclass::CallNext(h, msg, wp, lp);
      TPopupMenuSkin* self = StillSkinned(h);
      if (self && HasNoFrame(h) && self->Background()) self->PaintBorder(reinterpret_cast<HDC>(wp));
      return r;
    }
    case WM_PRINT: {
      if (!Background()) return TWindowSubclass::CallNext(h, msg, wp, lp);
      // The menu draws its items (and its own frame) first; the skinned border goes on top.
      const LRESULT r = TWindowSubclass::CallNext(h, msg, wp, lp);
      if (lp & PRF_NONCLIENT) PaintBorder(reinterpret_cast<HDC>(wp));
      return r;
    }
    default:
      return TWindowSubclass::CallNext(h, msg, wp, lp);
  }
}

}  // namespace zelvo
