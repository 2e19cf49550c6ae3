// Check boxes and radio buttons (the box drawn from the skin over the native control), group
// boxes (a rounded frame instead of the native one) and panels (a ButtonFace background).
#include <algorithm>
#include <string>

#include "skin/engine/ControlSkins.h"
#include "skin/engine/ControlSkinsDraw.h"
#include "skin/render/NinePart.h"

namespace zelvo {

// ---------------------------------------------------------------------------------------------
// TSkinCheckBox, TSkinRadioButton

void TSkinCheckBox::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    // The native control redraws its box on these without a WM_PAINT: draw the skin's box again.
    case BM_SETCHECK:
    case BM_SETSTATE:
    case BM_CLICK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_UPDATEUISTATE:
      ReadState();
      Paint(nullptr);
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

CheckState TSkinCheckBox::CurrentCheck() const {
  if (control_) {
    TPropInfo info = control_->GetPropInfo("Checked");
    int32_t value = 0;
    if (info.exists && control_->GetOrdProp("Checked", value)) {
      return CheckedFromPropertyText(value ? "True" : "False") ? CheckState::Checked : CheckState::Unchecked;
    }
  }
  LRESULT s = SendMessageA(handle_, BM_GETCHECK, 0, 0);
  if (s == BST_INDETERMINATE) return CheckState::Indeterminate;
  return s == BST_CHECKED ? CheckState::Checked : CheckState::Unchecked;
}

const TBitmap32& TSkinCheckBox::BoxImage() const { return Skin().Buttons.CheckImage; }
int TSkinCheckBox::BoxFrames() const { return Skin().Buttons.CheckButtonFrame; }
const TBitmap32& TSkinRadioButton::BoxImage() const { return Skin().Buttons.RadioImage; }
int TSkinRadioButton::BoxFrames() const { return Skin().Buttons.RadioButtonFrame; }

void TSkinCheckBox::DrawControl(HDC dc, const RECT& r) {
  const TBitmap32& image = BoxImage();
  if (image.Empty()) return;
  int frames = BoxFrames() > 0 ? BoxFrames() : 4;
  TRectI cell = FrameCell(image, frames, CurrentFrame(), false);
  bool right = (GetWindowLongA(handle_, GWL_STYLE) & BS_RIGHTBUTTON) != 0;
  CheckBoxGeometry g = LayoutCheckBox(r.right, r.bottom, GetSystemMetrics(SM_CXMENUCHECK),
                                      TSizeI{cell.Width(), cell.Height()}, right);
  // One composed piece covering the strip and the image, clipped to the control.
  int left = std::max(0, std::min(g.Strip.left, g.Image.left));
  int top = std::max(0, std::min(g.Strip.top, g.Image.top));
  int rgt = std::min<int>(r.right, std::max(g.Strip.right, g.Image.right));
  int bot = std::min<int>(r.bottom, std::max(g.Strip.bottom, g.Image.bottom));
  if (rgt <= left || bot <= top) return;
  TBitmap32 bmp(rgt - left, bot - top, SkinColourPixel(Colours().ButtonFace));
  StretchCopy(bmp, g.Image.Offset(-left, -top), image, cell, Skin().Buttons.Trans != 0);
  BlitComposed(dc, bmp, left, top);
}

// ---------------------------------------------------------------------------------------------
// TSkinGroupBox

void TSkinGroupBox::DrawControl(HDC dc, const RECT& r) {
  const HFONT font = ControlFont();
  const std::string caption = text_;
  GroupBoxGeometry g;
  {
    const TTextMeasure measure(font);
    const SIZE measured = caption.empty() ? SIZE{0, 0} : measure.DrawnSize(caption);
    g = LayoutGroupBox(r.right, r.bottom, measure.Extent("0").cy, TSizeI{measured.cx, measured.cy});
  }
  ScopedSelect fontSel(dc, font);
  FrameColour(dc, ToRect(g.Wipe1), Colours().ButtonFace);
  FrameColour(dc, ToRect(g.Wipe2), Colours().ButtonFace);
  UniqueGdi<HPEN> pen(CreatePen(PS_SOLID, 1, ColorToRGB(Colours().ButtonShadow)));
  ScopedSelect penSel(dc, pen.Get());
  ScopedSelect brushSel(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, g.Frame.left, g.Frame.top, g.Frame.right, g.Frame.bottom, kGroupBoxCorner, kGroupBoxCorner);
  if (!g.Caption.Empty()) {
    RECT cr = ToRect(g.Caption);
    FillColour(dc, cr, Colours().ButtonFace);
    SetBkMode(dc, TRANSPARENT);
    TColor textColour = control_ ? control_->EffectiveFont().color : clBtnText;
    SetTextColor(dc, ColorToRGB(enabled_ ? textColour : Colours().ButtonShadow));
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &cr, DT_LEFT | DT_SINGLELINE);
  }
}

// ---------------------------------------------------------------------------------------------
// TSkinBox

bool TSkinBox::BeforeMessage(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND && m.WParam && CanDraw()) {
    RECT cr{};
    GetClientRect(handle_, &cr);
    FillColour(reinterpret_cast<HDC>(m.WParam), cr, Colours().ButtonFace);
    m.Result = 1;
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

}  // namespace zelvo
