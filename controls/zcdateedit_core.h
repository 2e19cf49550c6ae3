// Portable core of the date entry field: keyword expansion with the weekday search, the
// parser (tokens, date order, epoch, required parts, error messages), the "+"/"-" step, the display
// format, the controller's epoch, and the arithmetic of the drop-down button and the popup's
// placement. The Windows layer (zcdateedit.cpp: TZcCustomDateEdit and its bases) owns the window,
// the popup protocol and the events' senders, and drives this core.
//
// Today's date and the locale come in as inputs: a today provider (a day number) and a TZcIntlSup.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/zcdate.h"
#include "controls/zcexception.h"
#include "util/Geometry.h"
#include "controls/zcintl_core.h"

namespace zelvo {

// The parts of a date that must be typed (`RequiredFields`).
struct TZcRequiredDateFields {
  bool year = false;
  bool month = true;
  bool day = true;
  bool Empty() const { return !year && !month && !day; }
  static TZcRequiredDateFields None() { return {false, false, false}; }
  static TZcRequiredDateFields All() { return {true, true, true}; }
  bool operator==(const TZcRequiredDateFields&) const = default;
};

enum class TZcPopupAnchor : uint8_t { paLeft, paRight };

// The non-visual controller's epoch (TZcController): default the current century; only 1600-3999 is
// accepted; OnGetEpoch may change the value handed out.
class TZcControllerCore {
 public:
  explicit TZcControllerCore(int todayYear) : epoch_((todayYear / 100) * 100) {}
  int Epoch() const;            // the value handed out (after OnGetEpoch)
  int StoredEpoch() const { return epoch_; }
  bool SetEpoch(int value);     // false (and no change) outside 1600-3999
  std::function<void(int& epoch)> OnGetEpoch;

 private:
  int epoch_;
};

// Upper-cased tokens of a typed date: maximal runs of "0"-"9" and "A"-"Z" of the upper-cased text.
std::vector<std::string> TokenizeDateText(std::string_view upperText);

// Keyword expansion, the parser's first step: "TODAY", "NEXT FRI", "EOM", ... become a formatted date
// (through `format`, which receives a day number, kBadDate when the search left 1600-3999); text
// with no keyword and no weekday comes back upper-cased.
std::string ExpandDateKeywords(const TZcIntlSup& intl, std::string_view text, TStDate today,
                               const std::function<std::string(TStDate)>& format);

// The parser's reading of the pieces: reads day, month and year from the text in the date order, with the
// effective epoch for two-digit years and today's parts as defaults. Throws EZcException with the
// user's message on an error. The result may still form no real date (checked by the caller).
struct TZcDateParts {
  int day = 0;
  int month = 0;
  int year = 0;
};
TZcDateParts ParseDateParts(const TZcIntlSup& intl, std::string_view text, TZcDateOrder order,
                            TZcRequiredDateFields required, int effectiveEpoch, TStDate today);

// Date order re-derived from a display picture (after OnGetDateMask): upper-cased, "Y" before "M"
// or "N" -> year-month-day; else "D" before "M" or "N" -> day-month-year; else month-day-year
// (first positions compared, a missing letter counting as position 0).
TZcDateOrder DateOrderFromPicture(std::string_view picture);

// The text of the box, as the Windows edit control holds it. The core writes through this; without
// one attached it keeps the text itself.
class IZcEditText {
 public:
  virtual ~IZcEditText() = default;
  virtual std::string GetText() const = 0;
  // Must leave the modified flag as it is (the core sets the flag before it writes the text).
  virtual void SetText(const std::string& text) = 0;
  virtual void SetModified(bool modified) = 0;
};

// All date behaviour of one date field (TZcCustomDateEdit's logic). It keeps a reference to the
// process's TZcIntlSup, which must outlive it.
class TZcDateEditCore {
 public:
  TZcDateEditCore(const TZcIntlSup& intl, TZcTodayFunc today);
  TZcDateEditCore(const TZcDateEditCore&) = delete;
  TZcDateEditCore& operator=(const TZcDateEditCore&) = delete;

  // The edit control's text; an attached one is used instead of the core's own copy.
  void AttachEdit(IZcEditText* edit) { edit_ = edit; }
  std::string Text() const;
  void SetText(const std::string& text);  // as typed by the user (no date change)
  bool Modified() const { return modified_; }
  void SetModified(bool modified);

  // Published properties with their defaults.
  bool allowIncDec = true;
  bool readOnly = false;
  TZcRequiredDateFields requiredFields;  // [rfMonth, rfDay]
  std::string todayString;               // default: the date separator

  int Epoch() const { return epoch_; }
  bool SetEpoch(int value);  // 0 or 1600-3999, otherwise ignored (returns false)
  bool ForceCentury() const { return forceCentury_; }
  // A change re-displays the held date in the new form (no date: the box stays as it is).
  void SetForceCentury(bool value);
  void SetController(const TZcControllerCore* controller) { controller_ = controller; }
  const TZcControllerCore* Controller() const { return controller_; }
  int EffectiveEpoch() const;

  // Date order: from the settings (outside 0-2: month-day-year), or re-derived by Format when
  // OnGetDateMask is assigned.
  TZcDateOrder DateOrder() const { return order_; }
  void SetDateOrder(int value) { order_ = NormalizeDateOrder(value); }

  // The date value: the platform date serial, 0 = no date.
  double Date() const { return date_; }
  // Stores the value, sets the modified flag, shows format(value) (or "" for 0), fires OnSetDate.
  void SetDate(double value);
  // The display text of a date value (the short-date picture for ForceCentury, OnGetDateMask).
  std::string Format(double value);
  // The parser (set date text). Throws EZcException; the text and the date value then stay as
  // they were.
  void SetDateText(const std::string& text);
  // Parsing the box's current text, as on leaving the field. The Windows layer fires its exit
  // event after this when the popup is not active.
  void ExitProcessing() { SetDateText(Text()); }
  // True while the box holds text the parser has not read (typed since the date was last shown).
  bool TextUncommitted() const { return Text() != shown_; }
  // Reads such text as on leaving the field (throws like SetDateText); shown text is left alone.
  void CommitText();
  // A typed character: "+" or "-" steps the date by one day (after the exit processing, see
  // OnExitProcessing) and returns true (the key is swallowed); any other key, a read-only field or
  // AllowIncDec False return false. A step that would leave 1600-3999 leaves the date unchanged
  // (the key is still swallowed); a step onto 30 December 1899, whose value 0 means no date,
  // throws "Invalid date" with that day's text. Parse errors propagate.
  bool KeyPress(char key);

  TStDate Today() const { return today_(); }
  const TZcIntlSup& Intl() const { return intl_; }

  // Events (none assigned by the program).
  std::function<void(std::string& text)> OnPreParseDate;
  std::function<void(std::string& text)> OnGetDate;
  std::function<void(std::string& picture)> OnGetDateMask;
  std::function<void()> OnSetDate;
  // The exit processing that "+"/"-" runs first; unassigned: ExitProcessing(). The Windows layer
  // may hand its whole exit step (parse, then its exit event when the popup is not active).
  std::function<void()> OnExitProcessing;

 private:
  std::string FormatDay(TStDate julian);
  // A day the field can hold: valid, and not the one whose value is 0.
  static bool Holdable(TStDate julian);
  std::string DisplayPicture();

  const TZcIntlSup& intl_;
  TZcTodayFunc today_;
  IZcEditText* edit_ = nullptr;
  std::string text_;
  std::string shown_;  // the text the core last showed for the date value
  bool modified_ = false;
  int epoch_ = 0;
  bool forceCentury_ = false;
  const TZcControllerCore* controller_ = nullptr;
  TZcDateOrder order_;
  double date_ = 0.0;
};

// Drop-down button of TZcEdPopup: width 0 without the button, else the scroll-arrow width or the
// glyph's width + 4 when larger; placed at the right edge inside the border. A hidden
// button is 0 x 0 at the origin.
TRectI ZcDropDownButtonRect(bool showButton, int scrollArrowWidth, int glyphWidth, bool hasBorder,
                             bool ctl3D, int fieldWidth, int clientHeight);

// Screen position of the popup's top-left corner, kept inside the work area. fieldOrigin is
// the field's client origin in screen coordinates; workArea the monitor's work area.
TPointI ZcPopupPosition(TPointI fieldOrigin, int fieldWidth, int fieldHeight, int popupWidth,
                         int popupHeight, TZcPopupAnchor anchor, bool ctl3D, const TRectI& workArea);

}  // namespace zelvo
