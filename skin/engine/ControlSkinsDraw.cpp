#include "skin/engine/ControlSkinsDraw.h"

namespace zelvo {

void FillColour(HDC dc, const RECT& r, TColor c) {
  UniqueGdi<HBRUSH> brush(CreateSolidBrush(ColorToRGB(c)));
  FillRect(dc, &r, brush.Get());
}

void FrameColour(HDC dc, const RECT& r, TColor c) {
  UniqueGdi<HBRUSH> brush(CreateSolidBrush(ColorToRGB(c)));
  FrameRect(dc, &r, brush.Get());
}

void PrintNonClient(TSkinControl& skin, const TMessage& m) {
  if (m.Msg == WM_PRINT && m.WParam && (m.LParam & PRF_NONCLIENT)) skin.Paint(reinterpret_cast<HDC>(m.WParam));
}

void TrackMouseLeave(HWND h) {
  TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, h, 0};
  TrackMouseEvent(&tme);
}

}  // namespace zelvo
