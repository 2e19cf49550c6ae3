// The standard controls the program's windows use: push button, image button, static text,
// picture and icon.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Forms.h"
#include "framework/Types.h"

namespace zelvo {

// A push button (system button class).
class TButton : public TButtonControl {
 public:
  explicit TButton(TComponent* owner);
  const char* ClassName() const override { return "TButton"; }
  void SetActiveDefault(bool active) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& m) override;
};

enum class TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// An image button: a push button drawn by the program with a glyph beside its caption. Its kind
// gives it a standard glyph, caption and modal result.
class TBitBtn : public TButton {
 public:
  explicit TBitBtn(TComponent* owner);
  const char* ClassName() const override { return "TBitBtn"; }

  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind kind);
  // The glyph: a bitmap of NumGlyphs equal frames side by side (normal, disabled, ...); the
  // bottom-left pixel's colour is transparent. The button owns it.
  void SetGlyph(UniqueGdi<HBITMAP> glyph, int numGlyphs);
  void LoadGlyph(const char* resourceName, int numGlyphs);
  HBITMAP Glyph() const { return glyph_.Get(); }
  int NumGlyphs() const { return numGlyphs_; }
  TButtonLayout Layout = TButtonLayout::blGlyphLeft;
  int Spacing = 4;
  int Margin = -1;
  void SetActiveDefault(bool active) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& m) override;

 private:
  void Draw(const DRAWITEMSTRUCT& dis);
  TBitBtnKind kind_ = TBitBtnKind::bkCustom;
  UniqueGdi<HBITMAP> glyph_;
  int numGlyphs_ = 1;
};

// Base of labels and pictures, which only show something: they take no focus and have no place
// in the tab order, let the mouse through to what lies below them, and paint every pixel
// themselves (no background erase).
class TGraphicControl : public TWinControl {
 public:
  using TWinControl::TWinControl;
  bool WantsFocusOnTab() const override { return false; }
  bool IsGraphicControl() const override { return true; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& m) override;
};

// Static text. Ampersands mark accelerators unless ShowAccelChar is off; a label with a
// FocusControl hands its accelerator's focus to that control.
class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TComponent* owner);
  const char* ClassName() const override { return "TLabel"; }
  bool WordWrap = false;
  bool ShowAccelChar = true;
  bool Transparent = false;
  UINT Alignment = DT_LEFT;
  TWinControl* FocusControl = nullptr;
  TWinControl* AccelTarget() override { return FocusControl; }
  // The size the caption needs in this label's font (wrapped into maxWidth when WordWrap).
  SIZE MeasureText(int maxWidth);
  UINT DrawFlags() const;

  TPropInfo GetPropInfo(std::string_view name) const override;
  bool GetOrdProp(std::string_view name, int32_t& value) const override;
  bool SetOrdProp(std::string_view name, int32_t value) override;

 protected:
  void WndProc(TMessage& m) override;
};

enum class TPictureKind : uint8_t { None, Bitmap, Icon };

// A picture: a bitmap (owned) or an icon (shared system or resource icon).
class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* owner);
  const char* ClassName() const override { return "TImage"; }
  bool Stretch = false;
  bool Center = false;
  bool Transparent = false;
  void SetBitmap(UniqueGdi<HBITMAP> bmp);
  void LoadBitmap(const char* resourceName);
  void SetIcon(HICON icon);
  HBITMAP Bitmap() const { return bitmap_.Get(); }
  HICON IconHandle() const { return icon_; }
  TPictureKind PictureKind() const;

  TPropInfo GetPropInfo(std::string_view name) const override;
  bool GetOrdProp(std::string_view name, int32_t& value) const override;
  bool SetOrdProp(std::string_view name, int32_t value) override;

 protected:
  void WndProc(TMessage& m) override;

 private:
  UniqueGdi<HBITMAP> bitmap_;
  HICON icon_ = nullptr;
};

// Resource names of the image-button glyphs, by kind (nullptr for the plain kind).
const char* GlyphResourceName(TBitBtnKind kind);

}  // namespace zelvo
