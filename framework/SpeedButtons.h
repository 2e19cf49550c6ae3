// A speed button: a tool-bar style button, out of the tab order. A flat one shows only its caption
// on the face colour until the mouse is over it (raised) or presses it (sunken); one that is not
// flat always shows a raised edge.
#pragma once

#include <windows.h>

#include <string_view>

#include "framework/Forms.h"

namespace zelvo {

class TSpeedButton : public TButtonControl {
 public:
  explicit TSpeedButton(TComponent* owner);
  const char* ClassName() const override { return "TSpeedButton"; }

  bool Flat() const { return flat_; }
  void SetFlat(bool flat);
  // The mouse is over the button (tracked until it leaves).
  bool Hot() const { return hot_; }

  // Published: "Flat" (Boolean).
  TPropInfo GetPropInfo(std::string_view name) const override;
  bool GetOrdProp(std::string_view name, int32_t& value) const override;
  bool SetOrdProp(std::string_view name, int32_t value) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& m) override;

 private:
  void Draw(const DRAWITEMSTRUCT& dis);
  void SetHot(bool hot);
  bool flat_ = false;
  bool hot_ = false;
};

}  // namespace zelvo
