#include "framework/SpeedButtons.h"

#include <string>

namespace zelvo {

TSpeedButton::TSpeedButton(TComponent* owner) : TButtonControl(owner) { SetTabStop(false); }

void TSpeedButton::SetFlat(bool flat) {
  flat_ = flat;
  Invalidate();
}

void TSpeedButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.baseClass = "BUTTON";
  params.style |= BS_OWNERDRAW;
}

void TSpeedButton::SetHot(bool hot) {
  if (hot == hot_) return;
  hot_ = hot;
  if (hot) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, HandleIfCreated(), 0};
    TrackMouseEvent(&track);
  }
  Invalidate();
}

void TSpeedButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) {
        Click();
        return;
      }
      break;
    case CN_DRAWITEM:
      Draw(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
      m.Result = TRUE;
      return;
    case WM_MOUSEMOVE:
      SetHot(true);
      break;
    case WM_MOUSELEAVE:
      SetHot(false);
      break;
    case WM_LBUTTONDBLCLK:
      // A double click is two presses.
      m.Msg = WM_LBUTTONDOWN;
      break;
    case BM_SETSTYLE:
      m.WParam = BS_OWNERDRAW;
      break;
    case WM_ENABLE:
    case WM_SETTEXT:
      TWinControl::WndProc(m);
      Invalidate();
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

void TSpeedButton::Draw(const DRAWITEMSTRUCT& dis) {
  HDC dc = dis.hDC;
  RECT r = dis.rcItem;
  const bool pressed = (dis.itemState & ODS_SELECTED) != 0;
  const bool disabled = (dis.itemState & ODS_DISABLED) != 0;
  UniqueGdi<HBRUSH> face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  FillRect(dc, &r, face.Get());
  if (pressed) {
    DrawEdge(dc, &r, flat_ ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
  } else if (!flat_ || (hot_ && !disabled)) {
    DrawEdge(dc, &r, flat_ ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
  }
  ScopedSelect font(dc, FontHandle());
  SetBkMode(dc, TRANSPARENT);
  RECT tr = r;
  if (pressed) OffsetRect(&tr, 1, 1);
  const std::string caption = Caption();
  const UINT format = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
  if (disabled) {
    OffsetRect(&tr, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &tr, format);
    OffsetRect(&tr, -1, -1);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  } else {
    SetTextColor(dc, ColorToRGB(EffectiveFont().color));
  }
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &tr, format);
}

TPropInfo TSpeedButton::GetPropInfo(std::string_view name) const {
  if (name == "Flat") return {true, true};
  return {};
}

bool TSpeedButton::GetOrdProp(std::string_view name, int32_t& value) const {
  if (name != "Flat") return false;
  value = flat_ ? 1 : 0;
  return true;
}

bool TSpeedButton::SetOrdProp(std::string_view name, int32_t value) {
  if (name != "Flat") return false;
  SetFlat(value != 0);
  return true;
}

}  // namespace zelvo
