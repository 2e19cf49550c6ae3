#include "framework/ProgressBars.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace zelvo {

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {}

void TProgressBar::SetRange(int32_t min, int32_t max) {
  if (min > max) std::swap(min, max);
  min_ = min;
  max_ = max;
  position_ = std::clamp(position_, min_, max_);
  if (HWND h = HandleIfCreated()) {
    SendMessageA(h, PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    SendMessageA(h, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
  }
}

void TProgressBar::SetPosition(int32_t position) {
  position_ = std::clamp(position, min_, max_);
  if (HWND h = HandleIfCreated()) SendMessageA(h, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::CreateParams(TCreateParams& params) {
  // The system's class exists once the common controls have registered it.
  static const bool registered = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)registered;
  TWinControl::CreateParams(params);
  params.baseClass = PROGRESS_CLASSA;
  if (Orientation == TProgressBarOrientation::pbVertical) params.style |= PBS_VERTICAL;
  if (Smooth) params.style |= PBS_SMOOTH;
}

void TProgressBar::AfterCreateWnd() {
  HWND h = HandleIfCreated();
  SendMessageA(h, PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
  SendMessageA(h, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

}  // namespace zelvo
