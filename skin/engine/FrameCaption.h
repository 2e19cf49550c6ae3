// The caption strip of a skinned frame: its buttons (with the hot and the pressed one), the
// caption text measured and drawn in the caption font, and the window's icon as the caption shows
// it. The frame skin owns one of each and places them by the portable frame layout.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "skin/engine/Offscreen.h"
#include "skin/render/FormSkin_core.h"

namespace zelvo {

// The frame as its caption buttons see it.
class ICaptionHost {
 public:
  // Repaints the frame now.
  virtual void RepaintFrame() = 0;
  // Runs a caption-button action.
  virtual void RunAction(int32_t action) = 0;
  // The window's icon as the caption draws it (nullptr: none).
  virtual const TBitmap32* CaptionIcon() const = 0;
  virtual bool IsActiveWindow() const = 0;

 protected:
  ~ICaptionHost() = default;
};

// A clickable object on the frame: the caption buttons (the menu bar keeps its own buttons).
// The mouse methods change the state and repaint the frame.
class TNCObject {
 public:
  enum : uint8_t { kNormal = 1, kPressed = 2, kHot = 3 };

  explicit TNCObject(ICaptionHost& owner) : owner_(owner) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseMove();
  virtual void MouseLeave();
  // Draws the object onto the canvas holding the caption strip; `origin` is where window
  // coordinate (0, 0) lies on the canvas.
  virtual void Paint(TOffscreen& canvas, POINT origin) {
    (void)canvas;
    (void)origin;
  }

  ICaptionHost& Owner() const { return owner_; }
  RECT Rect{};  // window coordinates
  bool Visible = false;
  uint8_t State = kNormal;

 protected:
  ICaptionHost& owner_;
};

// One caption button, drawn from its skin entry.
class TCaptionButton : public TNCObject {
 public:
  TCaptionButton(ICaptionHost& owner, const TDataSkinSysButton& skin) : TNCObject(owner), skin_(&skin) {}
  void MouseUp() override;
  void Paint(TOffscreen& canvas, POINT origin) override;
  const TDataSkinSysButton& Skin() const { return *skin_; }
  int32_t Action() const { return skin_->Action; }
  // The frame (1-based) the button shows now: pressed 2, hot 3 (4 for MDI buttons), normal 1;
  // an inactive window with four or more frames shows frame 4.
  int CurrentFrame() const;

 private:
  const TDataSkinSysButton* skin_;
};

// Align of the caption buttons that live in the menu bar (the MDI buttons).
inline constexpr int32_t kMenuBarButtonAlign = 100;

// The frame's caption buttons, one per caption-button entry of the skin, with the one the mouse
// is over (hot) and the one pressed and not yet released.
class TCaptionButtons {
 public:
  explicit TCaptionButtons(ICaptionHost& owner) : owner_(owner) {}

  // Makes the buttons of a skin (the old ones go).
  void Rebuild(const TSkinObjects& skin);
  // Frees every button (before a new skin replaces the old one).
  void Clear();
  const std::vector<std::unique_ptr<TCaptionButton>>& All() const { return buttons_; }

  // Shows each button where the layout placed it; the others are hidden.
  void Place(const TFrameLayout& layout);
  // Tells the frame layout which button is hot and which pressed.
  void MarkStates(TFrameInput& in) const;
  // The visible button with an action under a point (window coordinates), or nullptr.
  TNCObject* At(POINT window) const;
  // The bottom-left corner of the last button with this action ((0, 0) when there is none).
  POINT BottomLeftOf(int32_t action) const;
  // Draws the visible menu-bar buttons (the MDI buttons) onto the canvas.
  void PaintMenuBarButtons(TOffscreen& canvas) const;

  TNCObject* Hot() const { return hot_; }
  // Makes `object` hot (nullptr: none): the old one leaves, the new one is moved over.
  void SetHot(TNCObject* object);
  // Forgets the hot button without a repaint (it may be about to disappear).
  void DropHot();
  // The mouse went down on `object`: it becomes hot and pressed.
  void Press(TNCObject* object);
  // The mouse went up over `object`: the pressed button acts when it is the same one, else it
  // is left. True when a button acted.
  bool Release(TNCObject* object);
  // Forgets the hot and the pressed button (the buttons stay).
  void Forget();

 private:
  ICaptionHost& owner_;
  std::vector<std::unique_ptr<TCaptionButton>> buttons_;
  TNCObject* hot_ = nullptr;
  TNCObject* pressed_ = nullptr;
};

// The caption text in the caption font: measured once for each text (the font stays for the
// skin's life) and drawn with the frame's padding ("  text ").
class TCaptionText {
 public:
  HFONT Font();
  // The padded text's width and the font's height.
  SIZE Measure(const std::string& caption);
  // Draws the padded caption into `r` (ellipsis at the end when it does not fit).
  void Paint(HDC dc, const RECT& r, const std::string& caption, COLORREF colour, bool rightAligned);

 private:
  UniqueGdi<HFONT> font_;
  bool measured_ = false;
  std::string measuredText_;
  SIZE size_{0, 0};
};

// The window's small icon as the caption shows it, magenta where the icon is transparent: the
// window's own (small, class small, big, class big, then `formIcon`), else the first icon a
// skinned window of this process had. Empty when there is none.
TBitmap32 CaptionIconOf(HWND window, HICON formIcon);

}  // namespace zelvo
