// TSkinHost: a skinned window as its control skins see it. The frame skin implements it; the
// control skins, which it owns, reach it through this face only.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "framework/Controls.h"

namespace zelvo {

class TForm;
class TSkinData;

// Where a skinned window stands: New until the set-up posted after attaching has run (its first
// sizing and frame paint follow), then Active; Refreshing while a new skin is applied, Sizing
// during the first sizing, Destroying from WM_NCDESTROY on and Dead after it.
enum class TFormSkinState { New = 0, Active = 1, Refreshing = 3, Destroying = 4, Sizing = 5, Dead = 6 };

class TSkinHost : public TComponent {
 public:
  TSkinHost() : TComponent(nullptr) {}

  virtual HWND Handle() const = 0;
  virtual TSkinData& SkinData() const = 0;
  // The framework form whose window this is, or nullptr for a foreign window.
  virtual TForm* Form() const = 0;
  virtual TFormSkinState State() const = 0;
  // The control skins attached to the window's children; their owner adds and removes them here.
  virtual std::vector<std::unique_ptr<TComponent>>& ControlSkins() = 0;
};

}  // namespace zelvo
