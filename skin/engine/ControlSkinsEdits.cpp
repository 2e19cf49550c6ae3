// Single-line edits (a two-pixel border over the native edge) and drop-down combo boxes (sunken
// edge and combo button from the skin; the text area stays native).
#include "skin/engine/ControlSkins.h"
#include "skin/engine/ControlSkinsDraw.h"
#include "skin/render/NinePart.h"

namespace zelvo {

// ---------------------------------------------------------------------------------------------
// TSkinEdit

bool TSkinEdit::BorderDrawn() const {
  RECT wr{}, cr{};
  GetWindowRect(handle_, &wr);
  GetClientRect(handle_, &cr);
  return EditBorderDrawn(wr.right - wr.left, wr.bottom - wr.top, cr.right, cr.bottom);
}

void TSkinEdit::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT:
      Paint(nullptr);
      break;
    case WM_PRINT:
      PrintNonClient(*this, m);
      break;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      break;  // the border is not in the client area
    default:
      TSkinControl::AfterMessage(m);
  }
}

void TSkinEdit::DrawControl(HDC dc, const RECT& r) {
  if (!BorderDrawn()) return;
  FrameColour(dc, r, Colours().ButtonShadow);
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  FrameColour(dc, inner, 0x00FFFFFF);
}

// ---------------------------------------------------------------------------------------------
// TSkinComBox

void TSkinComBox::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case CB_SHOWDROPDOWN:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CB_SETCURSEL:
      ReadState();
      if (m.Msg == WM_MOUSEMOVE && !Hot()) {
        SetMouse(kHot, true);
        TrackMouseLeave(handle_);
      } else if (m.Msg == WM_MOUSELEAVE) {
        SetMouse(kHot, false);
      } else if (m.Msg == WM_MOUSEMOVE) {
        break;
      }
      Paint(nullptr);
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

ComboGeometry TSkinComBox::Geometry() const {
  RECT wr{};
  GetWindowRect(handle_, &wr);
  const TDataSkinBorder* button = Skin().ComboButton.get();
  ComboInput in;
  in.Width = wr.right - wr.left;
  in.Height = wr.bottom - wr.top;
  in.Flat = button && button->Style == 1;
  in.ButtonWidth = GetSystemMetrics(in.Flat ? SM_CYVTHUMB : SM_CXHSCROLL);
  in.LeftScrollBar = (GetWindowLongA(handle_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  return LayoutCombo(in);
}

void TSkinComBox::DrawControl(HDC dc, const RECT& r) {
  const TSkinObjects& skin = Skin();
  ComboGeometry g = Geometry();
  ControlState st{enabled_, SendMessageA(handle_, CB_GETDROPPEDSTATE, 0, 0) != 0, Hot(), focused_};
  const int frame = ButtonFrame(st);
  TBitmap32 bmp(r.right, r.bottom, SkinColourPixel(Colours().ButtonFace));
  if (skin.SunkEdge) {
    RenderNinePart(bmp, TRectI{0, 0, r.right, r.bottom}, NinePartOf(*skin.SunkEdge, skin.SunkEdge->Trans != 0), 1);
  }
  const TRectI& button = g.Button;
  if (skin.ComboButton) {
    TNinePart part = NinePartOf(*skin.ComboButton, skin.ComboButton->Trans != 0);
    if (g.Mirrored && !skin.ComboButton->Image2.Empty()) part.Image = &skin.ComboButton->Image2;
    if (part.FrameCount < 2) part.FrameCount = 4;
    RenderNinePart(bmp, button, part, frame);
  }
  if (skin.ExtraImages && !skin.ExtraImages->Image.Empty()) {
    TRectI cell = FrameCell(skin.ExtraImages->Image, 5, frame, false);
    StretchCopy(bmp, CentreIn(button, cell.Width(), cell.Height()), skin.ExtraImages->Image, cell, true);
  }
  if (!g.OuterFrame.Empty()) {
    TPixel shadow = SkinColourPixel(Colours().ButtonShadow), face = SkinColourPixel(Colours().ButtonFace);
    for (int x = 0; x < bmp.Width; ++x)
      for (int y = 0; y < bmp.Height; ++y) {
        bool outer = x == 0 || y == 0 || x == bmp.Width - 1 || y == bmp.Height - 1;
        bool inset = !outer && (x == 1 || y == 1 || x == bmp.Width - 2 || y == bmp.Height - 2);
        bool inButton = button.Contains(x, y);
        if (outer) bmp.At(x, y) = shadow;
        else if (inset && !inButton) bmp.At(x, y) = face;
      }
  }
  // The text area stays the native control's.
  ExcludeClipRect(dc, g.Text.left, g.Text.top, g.Text.right, g.Text.bottom);
  BlitComposed(dc, bmp, 0, 0);
}

}  // namespace zelvo
