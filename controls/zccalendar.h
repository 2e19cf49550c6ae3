// The month calendar's window: TZcCalendar as an ordinary control on a form, or as the drop-down of a
// date field (a top-level popup window). The date moves, the day table, the layout arithmetic and
// the colour schemes live in TZcCalendarCore; this layer owns the window, the six glyph buttons,
// focus, capture, the month menu and the painting.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "controls/zccalendar_core.h"
#include "framework/Controls.h"

namespace zelvo {

// Base of the date controls' own windows: a click focuses the control, the mouse wheel reaches
// DoMouseWheel.
class TZcCustomControl : public TWinControl {
 public:
  explicit TZcCustomControl(TComponent* owner);
  const char* ClassName() const override { return "TZcCustomControl"; }

 protected:
  void WndProc(TMessage& m) override;
  // A turn of the wheel over (or while focused in) the control; true when it was used.
  virtual bool DoMouseWheel(int /*delta*/) { return false; }
};

enum class TZcCalBorderStyle : uint8_t { bsNone, bsSingle };

class TZcCustomCalendar;
using TZcCalChangeEvent = std::function<void(TZcCustomCalendar& sender, double date)>;
using TZcCalDrawDateEvent = std::function<void(TZcCustomCalendar& sender, HDC dc, const RECT& box, double date)>;
using TZcCalDrawItemEvent =
    std::function<void(TZcCustomCalendar& sender, HDC dc, const RECT& cell, double date, bool inMonth)>;
using TZcCalDateEnabledEvent = std::function<void(TZcCustomCalendar& sender, double date, bool& enabled)>;
using TZcCalHighlightEvent = std::function<void(TZcCustomCalendar& sender, double date, TColor& color)>;
using TZcKeyDownEvent = std::function<void(TComponent& sender, WORD& key, TZcShiftState shift)>;
using TZcKeyPressEvent = std::function<void(TComponent& sender, char& key)>;
using TZcMouseEvent =
    std::function<void(TComponent& sender, TZcMouseButton button, TZcShiftState shift, int x, int y)>;

// The keyboard's modifier state now.
TZcShiftState ZcCurrentShiftState();

class TZcCustomCalendar : public TZcCustomControl {
 public:
  // A popup calendar is a top-level popup window that a date field moves into place and shows.
  TZcCustomCalendar(TComponent* owner, bool popup);
  ~TZcCustomCalendar() override;
  const char* ClassName() const override { return "TZcCustomCalendar"; }

  TZcCalendarCore& Core() { return core_; }
  const TZcCalendarCore& Core() const { return core_; }
  bool IsPopup() const { return core_.Popup(); }

  // The current date (platform serial). Setting a date whose month has no neighbour inside
  // 1600-3999 is refused (false).
  double Date() const { return core_.Date(); }
  bool SetDate(double date);
  // True while a change caused by browsing (keys, wheel, buttons, a neighbouring month's day) is
  // being reported through OnChange.
  bool Browsing() const { return core_.Browsing(); }

  // Properties.
  TZcCalColors& Colors() { return core_.colors; }
  TZcDateFormat DateFormat() const { return core_.dateFormat; }
  void SetDateFormat(TZcDateFormat f);
  int DayNameWidth() const { return core_.DayNameWidth(); }
  void SetDayNameWidth(int width) { core_.SetDayNameWidth(width); }
  const TZcCalDisplayOptions& Options() const { return core_.Options(); }
  void SetOptions(const TZcCalDisplayOptions& options);
  int WeekStarts() const { return core_.WeekStarts(); }  // 0 = Sunday ... 6 = Saturday
  void SetWeekStarts(int day) { core_.SetWeekStarts(day); }
  TZcCalBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TZcCalBorderStyle style);
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool value);
  bool ReadOnly() const { return core_.readOnly; }
  void SetReadOnly(bool value) { core_.readOnly = value; }
  bool WantDblClicks() const { return core_.wantDblClicks; }
  void SetWantDblClicks(bool value) { core_.wantDblClicks = value; }
  // A context menu of the owner's (not owned); while one is set the month menu stays closed.
  HMENU PopupMenu = nullptr;
  // Re-lays out after a font change.
  void FontChanged();

  // A popup's owner window (the form it drops down over).
  void SetPopupOwner(HWND owner);

  // Geometry, client coordinates (for tests and for the date field).
  RECT CellRect(int cell) const;  // week-row cells 1-42
  RECT ButtonRect(TZcCalButton button) const;
  HBITMAP ButtonGlyph(TZcCalButton button) const { return glyphs_[static_cast<size_t>(button)].Get(); }
  // Paints the whole calendar into a DC (the window's own painting, and WM_PRINTCLIENT).
  void PaintTo(HDC dc);

  // Events.
  TZcCalChangeEvent OnChange;
  TZcCalDrawDateEvent OnDrawDate;
  TZcCalDrawItemEvent OnDrawItem;
  TZcCalDateEnabledEvent OnGetDateEnabled;
  TZcCalHighlightEvent OnGetHighlight;
  TZcKeyDownEvent OnKeyDown;
  TZcKeyPressEvent OnKeyPress;
  TZcMouseEvent OnMouseDown;

 protected:
  void CreateParams(TCreateParams& params) override;
  void AfterCreateWnd() override;
  void WndProc(TMessage& m) override;
  bool DoMouseWheel(int delta) override;

 private:
  void Relayout();
  void HandleInvalidate(const TZcCalRepaint& repaint);
  // Message handlers; those answering bool return false for a message the base class is to
  // handle as well.
  void PaintWindow();
  bool KeyDownMessage(TMessage& m);
  bool CharMessage(TMessage& m);
  static TZcMouseButton MouseButtonOf(UINT msg);
  void MouseDown(TZcMouseButton button, int x, int y);
  // A glyph button held down by the mouse: pressed look while inside, clicked when released inside.
  void TrackButton(int x, int y);
  bool ReleaseTrackedButton(int x, int y);
  void DropTrackedButton();
  bool RightButtonUp(int x, int y);
  void ContextMenu(TMessage& m);
  void ShowMonthMenu(int x, int y);
  void PaintCell(HDC dc, int cell, bool focused);
  void PaintButton(HDC dc, TZcCalButton button);
  static bool KeyFor(WPARAM vk, TZcCalKey& key);

  TZcCalendarCore core_;
  std::array<UniqueGdi<HBITMAP>, 6> glyphs_;
  TZcCalBorderStyle borderStyle_ = TZcCalBorderStyle::bsNone;
  bool ctl3D_ = true;
  HWND popupOwner_ = nullptr;
  int trackedButton_ = -1;   // a glyph button held down by the mouse (plain calendar)
  bool trackedInside_ = false;
};

class TZcCalendar : public TZcCustomCalendar {
 public:
  explicit TZcCalendar(TComponent* owner, bool popup = false) : TZcCustomCalendar(owner, popup) {}
  const char* ClassName() const override { return "TZcCalendar"; }
  TPropInfo GetPropInfo(std::string_view name) const override;
  bool GetOrdProp(std::string_view name, int32_t& value) const override;
  bool SetOrdProp(std::string_view name, int32_t value) override;
};

// Draws a glyph whose bottom-left pixel colour is transparent; a disabled glyph is drawn embossed
// in the button-highlight and button-shadow colours.
void DrawZcGlyph(HDC dc, int x, int y, HBITMAP glyph, bool enabled);

}  // namespace zelvo
