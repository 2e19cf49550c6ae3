// Control skins: objects that sit in front of a control's message handling inside a skinned
// window and draw the control, or parts of it, from the skin.
//
// A control skin reaches its control one of two ways: a framework control through its handler
// chain (TWinControl::HookWindowProc), a window the framework did not make (a message box's
// button) through a window subclass. Either way every message goes first to BeforeMessage; when
// that answers true the previous handler runs, then AfterMessage. At WM_NCDESTROY the skin passes
// the message on and goes dead: from then on it draws nothing and touches no window.
//
// The form skin owns the control skins of its window (TSkinHost::ControlSkins()).
// AttachControlSkins walks the window's controls at attach time and asks the portable choice
// rules which skin each one gets; DetachControlSkins detaches and frees them all.
//
// The geometry and state arithmetic lives in skin/render/ControlSkins_core.h; this unit reads windows,
// composes off-screen and blits. The classes declared here are defined by family: the base class
// in ControlSkins.cpp, buttons in ControlSkinsButtons.cpp, check and radio boxes, group boxes and
// panels in ControlSkinsBoxes.cpp, edits and combo boxes in ControlSkinsEdits.cpp; choosing and
// attaching in ControlSkinsAttach.cpp. The bar-like controls are in ControlSkinsScroll.h, the list
// controls in ControlSkinsLists.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "framework/Controls.h"
#include "skin/render/ControlSkins_core.h"
#include "skin/engine/Offscreen.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinHost.h"

namespace zelvo {

enum class TSkinControlState : uint8_t { New = 0, Attached = 1, Dead = 6 };

class TSkinControl : public TComponent {
 public:
  TSkinControl();
  ~TSkinControl() override;
  const char* ClassName() const override { return "TSkinControl"; }

  // A framework control, through its handler chain. Nothing happens when already attached.
  virtual void Attach(TSkinHost* formSkin, TSkinData& data, TWinControl& control, bool recolour);
  // A window known only by its handle, subclassed. Throws when the window cannot be subclassed.
  virtual void AttachHandle(HWND window, TSkinData& data, TSkinHost* formSkin);
  // Unhooks and restores the control's colour (recolour flag); the control draws natively again.
  virtual void Detach();

  // True lets the previous handler run (followed by AfterMessage).
  virtual bool BeforeMessage(TMessage& m);
  virtual void AfterMessage(TMessage& m);
  // Draws the control into `dc` (the window's own DC when null); errors are swallowed.
  void Paint(HDC dc);
  // Draws into a DC whose origin is the window's top-left; `r` is (0, 0, width, height).
  virtual void DrawControl(HDC dc, const RECT& r);
  // Colour re-applied (recolour flag), then the control repainted at once.
  virtual void Refresh();

  HWND Handle() const { return handle_; }
  TWinControl* Control() const { return control_; }
  TSkinControlState State() const { return state_; }
  bool Dead() const { return state_ == TSkinControlState::Dead; }
  bool IsAttached() const { return attached_; }
  bool Focused() const { return focused_; }
  bool Enabled() const { return enabled_; }
  bool Hot() const { return (mouse_ & kHot) != 0; }
  bool Pressed() const { return (mouse_ & kPressed) != 0; }
  const std::string& Text() const { return text_; }
  const RECT& LastWindowRect() const { return windowRect_; }

 protected:
  static constexpr uint8_t kHot = 1, kPressed = 2;

  // Runs the handler below this skin (the chain's rest, or the window's previous procedure).
  void CallPrevious(TMessage& m);
  // False once this object is destroyed; a local message loop checks it after every dispatch.
  std::shared_ptr<bool> AliveToken() const { return alive_; }
  // Whether drawing may touch the window now.
  bool CanDraw() const;
  // Redraws the whole window, frame included, at once (before the skinned window around it is
  // set up, only marks it for that window's first paint).
  void Redraw() const;
  void ReadState();
  void SetMouse(uint8_t bit, bool on);
  // The control's font (WM_GETFONT; the system GUI font when it has none).
  HFONT ControlFont() const;
  const TSkinObjects& Skin() const { return data_->Skin(); }
  const TSkinColours& Colours() const { return data_->Colours(); }

  TSkinData* data_ = nullptr;
  TSkinHost* formSkin_ = nullptr;
  TWinControl* control_ = nullptr;
  HWND handle_ = nullptr;
  std::string text_;
  bool focused_ = false;
  bool enabled_ = true;
  uint8_t mouse_ = 0;
  bool recolour_ = false;
  bool attached_ = false;
  TSkinControlState state_ = TSkinControlState::New;
  RECT windowRect_{};

 private:
  void Dispatch(TMessage& m);

  THookToken hook_;
  TWindowSubclass subclass_;
  const TNext* next_ = nullptr;  // the chain's rest while a framework message is handled
  TColor savedColour_ = 0;
  // Cleared when the object dies; a hook still unwinding after a click freed the skin checks it.
  std::shared_ptr<bool> alive_;
};

// Push buttons: drawn entirely from the Buttons image; the mouse is handled by the skin so that
// pressing, leaving and releasing elsewhere gives no click. The keyboard stays native.
class TSkinButton : public TSkinControl {
 public:
  ~TSkinButton() override;
  const char* ClassName() const override { return "TSkinButton"; }
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
  // The frame (1 normal, 2 pressed, 3 disabled, 4 focused or hot) the button shows now.
  int CurrentFrame() const;
  // Number of clicks this skin has delivered (framework click or posted WM_COMMAND).
  int Clicks() const { return clicks_; }

 protected:
  void Click();
  void Unhover();
  int clicks_ = 0;
};

// Bitmap buttons: the button background, then glyph and caption by the bitmap-button layout.
class TSkinBitButton : public TSkinButton {
 public:
  const char* ClassName() const override { return "TSkinBitButton"; }
  void DrawControl(HDC dc, const RECT& r) override;

 protected:
  // Glyph and caption over `background` (the whole button), then the copy to `dc`.
  void DrawOver(HDC dc, const RECT& r, const TBitmap32& background, int frame);
};

// Check boxes: the native control paints first, the skin then draws the box from its image.
class TSkinCheckBox : public TSkinControl {
 public:
  const char* ClassName() const override { return "TSkinCheckBox"; }
  void AfterMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
  CheckState CurrentCheck() const;
  int CurrentFrame() const { return CheckBoxFrame(CurrentCheck(), enabled_); }

 protected:
  virtual const TBitmap32& BoxImage() const;
  virtual int BoxFrames() const;
};

class TSkinRadioButton : public TSkinCheckBox {
 public:
  const char* ClassName() const override { return "TSkinRadioButton"; }

 protected:
  const TBitmap32& BoxImage() const override;
  int BoxFrames() const override;
};

// Single-line edits: a two-pixel border over the control's own edge.
class TSkinEdit : public TSkinControl {
 public:
  const char* ClassName() const override { return "TSkinEdit"; }
  void AfterMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
  // Whether the window has the border the skin draws over.
  bool BorderDrawn() const;
};

// Group boxes and radio groups: the native frame replaced by a rounded one.
class TSkinGroupBox : public TSkinControl {
 public:
  const char* ClassName() const override { return "TSkinGroupBox"; }
  void DrawControl(HDC dc, const RECT& r) override;
};

// Drop-down combo boxes: sunken edge and combo button from the skin.
class TSkinComBox : public TSkinControl {
 public:
  const char* ClassName() const override { return "TSkinComBox"; }
  void AfterMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
  ComboGeometry Geometry() const;

 private:
  bool dropped_ = false;
};

// Speed buttons: the bitmap-button look; a flat one shows only its glyph and caption on ButtonFace
// until the mouse is over it or it is pressed.
class TSkinSpeedButton : public TSkinBitButton {
 public:
  const char* ClassName() const override { return "TSkinSpeedButton"; }
  void DrawControl(HDC dc, const RECT& r) override;
  // Whether the control is flat (its published "Flat" property; flat when it has none).
  bool Flat() const;
};

// Panels and containers: a ButtonFace background (with the recolour flag, the control's colour too).
class TSkinBox : public TSkinControl {
 public:
  const char* ClassName() const override { return "TSkinBox"; }
  bool BeforeMessage(TMessage& m) override;
};

// Makes the control skin of a class (nullptr for the classes not built here). `thumbDragging`
// applies to the scroll-bar skins: the skin drags the thumb itself.
// For control skins that draw the whole control: answers WM_PAINT and WM_PRINTCLIENT by painting
// through the skin and WM_ERASEBKGND by erasing nothing. False (the native control handles the
// message as usual) for other messages and whenever `canDraw` is false.
bool PaintWholeControl(TSkinControl& skin, TMessage& m, bool canDraw);

std::unique_ptr<TSkinControl> MakeControlSkin(ControlSkinClass kind, bool thumbDragging = false);
// Gives the up-down companions of an edit (its child windows of an up-down class, and up-down
// siblings whose buddy it is) a TSkinUpDown in the form skin's list.
void AttachUpDownCompanions(TSkinHost& formSkin, TSkinData& data, HWND edit);

// Walks the form skin's window (framework components, or foreign child windows) and attaches the
// chosen control skins to it; each control once.
void AttachControlSkins(TSkinHost& formSkin);
// Detaches and frees every control skin of the form skin.
void DetachControlSkins(TSkinHost& formSkin);
// The control skin attached to `window` in the form skin's list, or nullptr.
TSkinControl* FindControlSkin(TSkinHost& formSkin, HWND window);

// Converts a skin colour (system colours resolved) to a pixel of a portable bitmap.
TPixel SkinColourPixel(TColor c);

}  // namespace zelvo
