// The date entry field and its bases, in the framework's controls:
//   TZcDateEdit        the published date field (property lookups by name);
//   TZcCustomDateEdit  all date behaviour: exit processing, "+"/"-", the popup calendar's hooks;
//   TZcEdPopup         an edit with a drop-down button (TZcEdButton) and the popup open/close
//                      protocol with its posted notifications;
//   TZcCustomEdit      an edit tied to a TZcController;
//   TCustomEdit        the framework's system edit, so a date field is an edit for every purpose.
// The parser, the display format, the step and the placement arithmetic are TZcDateEditCore's.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/zccalendar.h"
#include "controls/zcdateedit_core.h"
#include "framework/EditCtrls.h"

namespace zelvo {

// Posted to a date field's own window when its popup has opened or closed (OnPopupOpen and
// OnPopupClose run on arrival), and when it has lost the focus to another control of its form
// (the exit processing runs on arrival, after the focus change is complete).
constexpr UINT ZC_POPUPOPENED = WM_APP + 0x3E10;
constexpr UINT ZC_POPUPCLOSED = WM_APP + 0x3E11;
constexpr UINT ZC_EXITFIELD = WM_APP + 0x3E12;

// One named key-command table of a controller. Nothing in the program consults the entries.
struct TZcCommandTable {
  std::string TableName;
  bool IsActive = false;
  std::vector<std::string> Commands;
};

// The non-visual controller a form's date fields take their epoch from.
class TZcController : public TComponent {
 public:
  explicit TZcController(TComponent* owner);
  const char* ClassName() const override { return "TZcController"; }

  // The epoch handed out (after OnGetEpoch); default the current century.
  int Epoch() const { return core_.Epoch(); }
  // Only 1600-3999 is accepted (false and no change otherwise).
  bool SetEpoch(int value) { return core_.SetEpoch(value); }
  std::function<void(TZcController& sender, int& epoch)> OnGetEpoch;
  // "Default" (active), "WordStar" and "Grid".
  std::vector<TZcCommandTable> EntryCommands;

  const TZcControllerCore& Core() const { return core_; }

 private:
  TZcControllerCore core_;
};

// The process-wide controller of fields whose form has none: made on first use, freed at the end.
TZcController& ZcDefaultController();

class TZcCustomEdit : public TCustomEdit {
 public:
  explicit TZcCustomEdit(TComponent* owner);
  const char* ClassName() const override { return "TZcCustomEdit"; }
  // When none is set by the time the window is created, the first TZcController among the
  // components of the field's form is taken, or else the process-wide default.
  TZcController* Controller() const { return controller_; }
  void SetController(TZcController* controller);

 protected:
  void AfterCreateWnd() override;
  virtual void ControllerChanged() {}

 private:
  TZcController* controller_ = nullptr;
};

// The drop-down button inside a popup edit: painted by itself, never takes the focus, clicks on
// release.
class TZcEdButton : public TWinControl {
 public:
  explicit TZcEdButton(TComponent* owner);
  const char* ClassName() const override { return "TZcEdButton"; }
  void SetGlyph(HBITMAP glyph);  // not owned (the field owns it)
  HBITMAP Glyph() const { return glyph_; }
  bool Pressed() const { return pressed_; }
  bool WantsFocusOnTab() const override { return false; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& m) override;

 private:
  HBITMAP glyph_ = nullptr;
  bool tracking_ = false;
  bool pressed_ = false;
};

// Why a popup closed: decides where the caret goes and whether Tab moves on.
enum class TZcPopupCloseReason : uint8_t {
  Other,         // focus lost, a press outside both the calendar and the field
  Key,           // Alt+Up, Enter, Escape or Space: caret and empty selection restored
  PressInField,  // a press inside the field: as Key
  Tab,           // Tab in the calendar: Tab is posted to the field again
  ShiftTab,
  Chosen,        // a date was chosen: caret at the end of the text
};

class TZcEdPopup : public TZcCustomEdit {
 public:
  explicit TZcEdPopup(TComponent* owner);
  ~TZcEdPopup() override;
  const char* ClassName() const override { return "TZcEdPopup"; }

  bool ShowButton() const { return showButton_; }
  void SetShowButton(bool show);
  // The drop-down button's picture; an empty one restores the "ZCBTNCAL" bitmap.
  HBITMAP ButtonGlyph() const { return glyph_.Get(); }
  void SetButtonGlyph(UniqueGdi<HBITMAP> glyph);
  TZcPopupAnchor PopupAnchor = TZcPopupAnchor::paLeft;
  // Also enables the drop-down button exactly when not read-only.
  void SetReadOnly(bool readOnly);
  bool PopupActive() const { return popupActive_; }
  TZcEdButton& Button() { return *button_; }
  // The button's place in the field's client area (0 x 0 without the button).
  RECT ButtonBounds();

  TNotifyEvent OnPopupOpen;
  TNotifyEvent OnPopupClose;

  virtual void PopupOpen() {}
  virtual void PopupClose(TZcPopupCloseReason /*reason*/) {}

 protected:
  void CreateParams(TCreateParams& params) override;
  void AfterCreateWnd() override;
  void WndProc(TMessage& m) override;
  void LayoutButton();
  void SetPopupActive(bool active);
  // The cursor over the field while a popup is open (nullptr: the edit's own).
  HCURSOR fieldCursor_ = nullptr;

 private:
  TZcEdButton* button_;
  UniqueGdi<HBITMAP> glyph_;
  bool showButton_ = true;
  bool popupActive_ = false;
};

class TZcCustomDateEdit : public TZcEdPopup {
 public:
  explicit TZcCustomDateEdit(TComponent* owner);
  ~TZcCustomDateEdit() override;
  const char* ClassName() const override { return "TZcCustomDateEdit"; }

  // The date value: platform serial, 0 = no date. Setting shows it in the field's format.
  double Date() const { return core_.Date(); }
  void SetDate(double value) { core_.SetDate(value); }
  // The display text of a date.
  std::string FormatDate(double value) { return core_.Format(value); }
  // Parses a text as if typed (throws EZcException; the text and date then stay).
  void SetDateText(const std::string& text) { core_.SetDateText(text); }
  // Reads text typed into the box and not yet read, as leaving the field would (a button that
  // acts on the date without taking the focus calls this first). On a wrong entry the focus
  // goes back to the field and the error is thrown on; a pending exit of the field is done here.
  void CommitEntry();

  bool AllowIncDec() const { return core_.allowIncDec; }
  void SetAllowIncDec(bool value) { core_.allowIncDec = value; }
  int Epoch() const { return core_.Epoch(); }
  void SetEpoch(int value) { core_.SetEpoch(value); }  // 0 or 1600-3999, else ignored
  bool ForceCentury() const { return core_.ForceCentury(); }
  void SetForceCentury(bool value) { core_.SetForceCentury(value); }
  TZcRequiredDateFields RequiredFields() const { return core_.requiredFields; }
  void SetRequiredFields(TZcRequiredDateFields value) { core_.requiredFields = value; }
  const std::string& TodayString() const { return core_.todayString; }
  void SetTodayString(const std::string& value) { core_.todayString = value; }
  void SetReadOnly(bool readOnly);
  TZcDateOrder DateOrder() const { return core_.DateOrder(); }

  // The popup calendar and its settings, read and written straight through.
  TZcCalendar& Calendar() { return *calendar_; }
  TZcCalColors& PopupColors() { return calendar_->Colors(); }
  TZcDateFormat PopupDateFormat() const { return calendar_->DateFormat(); }
  void SetPopupDateFormat(TZcDateFormat f) { calendar_->SetDateFormat(f); }
  int PopupDayNameWidth() const { return calendar_->DayNameWidth(); }
  void SetPopupDayNameWidth(int w) { calendar_->SetDayNameWidth(w); }
  const TFontSpec& PopupFont() const { return calendar_->Font; }
  void SetPopupFont(const TFontSpec& font);
  int PopupHeight() const { return calendar_->Height(); }
  void SetPopupHeight(int h) { calendar_->SetHeight(h); }
  int PopupWidth() const { return calendar_->Width(); }
  void SetPopupWidth(int w) { calendar_->SetWidth(w); }
  const TZcCalDisplayOptions& PopupOptions() const { return calendar_->Options(); }
  void SetPopupOptions(const TZcCalDisplayOptions& o) { calendar_->SetOptions(o); }
  int PopupWeekStarts() const { return calendar_->WeekStarts(); }
  void SetPopupWeekStarts(int day) { calendar_->SetWeekStarts(day); }

  // Events.
  std::function<void(TZcCustomDateEdit& sender, std::string& text)> OnPreParseDate;
  std::function<void(TZcCustomDateEdit& sender, std::string& text)> OnGetDate;
  // The display picture may be changed by a handler; while one is set, the date order is
  // re-derived from the picture it leaves.
  void SetOnGetDateMask(std::function<void(TZcCustomDateEdit& sender, std::string& picture)> handler);
  TNotifyEvent OnSetDate;

  void PopupOpen() override;
  void PopupClose(TZcPopupCloseReason reason) override;

  TZcDateEditCore& Core() { return core_; }

 protected:
  void WndProc(TMessage& m) override;
  void KeyPress(char& key) override;
  void ControllerChanged() override;

 private:
  // The edit window's text as the core sees it.
  class EditText : public IZcEditText {
   public:
    explicit EditText(TZcCustomDateEdit& edit) : edit_(edit) {}
    std::string GetText() const override { return edit_.Text(); }
    void SetText(const std::string& text) override;
    void SetModified(bool modified) override { edit_.TCustomEdit::SetModified(modified); }

   private:
    TZcCustomDateEdit& edit_;
  };

  // Parse the text; on an error the focus goes back to the field and the error goes on to the
  // error reporter; on success the exit event fires unless the popup is active.
  void ExitProcessing();
  void CalendarChanged(TZcCustomCalendar& calendar, double date);
  void CalendarKeyDown(WORD& key, TZcShiftState shift);
  void CalendarKeyPress(char key);
  void CalendarMouseDown(int x, int y);

  TZcDateEditCore core_;
  EditText editText_;
  TZcCalendar* calendar_;
  bool closing_ = false;
  bool exitPending_ = false;  // ZC_EXITFIELD posted and not yet handled
  bool savedAutoScroll_ = false;
  TForm* scrollForm_ = nullptr;
  int savedCaret_ = 0;
};

class TZcDateEdit : public TZcCustomDateEdit {
 public:
  using TZcCustomDateEdit::TZcCustomDateEdit;
  const char* ClassName() const override { return "TZcDateEdit"; }
  TPropInfo GetPropInfo(std::string_view name) const override;
  bool GetOrdProp(std::string_view name, int32_t& value) const override;
  bool SetOrdProp(std::string_view name, int32_t value) override;
};

}  // namespace zelvo
