// A progress bar (the system's common control): a position between Min and Max shown as a
// horizontal or vertical bar, in blocks or smooth.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/Controls.h"

namespace zelvo {

enum class TProgressBarOrientation : uint8_t { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl {
 public:
  explicit TProgressBar(TComponent* owner);
  const char* ClassName() const override { return "TProgressBar"; }

  int32_t Min() const { return min_; }
  int32_t Max() const { return max_; }
  // Min above Max is taken as Max above Min.
  void SetRange(int32_t min, int32_t max);
  // Held to the range.
  int32_t Position() const { return position_; }
  void SetPosition(int32_t position);

  // Both take effect when the window is made.
  TProgressBarOrientation Orientation = TProgressBarOrientation::pbHorizontal;
  bool Smooth = false;

 protected:
  void CreateParams(TCreateParams& params) override;
  void AfterCreateWnd() override;

 private:
  int32_t min_ = 0;
  int32_t max_ = 100;
  int32_t position_ = 0;
};

}  // namespace zelvo
