// Shared pieces of the date controls' Windows tests: locales, a form with a date field between two
// edits, and input posted the way the system would deliver it.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "../Win32TestSupport.h"
#include "controls/zcdateedit.h"
#include "controls/zcintl.h"
#include "framework/EditCtrls.h"
#include "framework/StdCtrls.h"

#include <gtest/gtest.h>

namespace zelvo::test {

// Month-day-year with 'M/d/yyyy' and English names.
inline TZcLocaleSettings UsLocale() {
  TZcLocaleSettings s;
  s.shortDateFormat = "M/d/yyyy";
  s.dateOrder = 0;
  return s;
}

// Day-month-year with 'dd.MM.yyyy' and the separator '.'.
inline TZcLocaleSettings DottedLocale() {
  TZcLocaleSettings s;
  s.dateSeparator = '.';
  s.shortDateFormat = "dd.MM.yyyy";
  s.dateOrder = 1;
  return s;
}

inline TStDate Day(int y, int m, int d) { return DMYtoStDate(d, m, y, 0); }
inline double Serial(TStDate day) { return StDateToDateTime(day); }

inline void Parts(TStDate day, int& y, int& m, int& d) { StDateToDMY(day, d, m, y); }

// A date as 'M/d/yyyy' shows in the field: month and day space-padded to two.
inline std::string UsShown(TStDate day) {
  int y, m, d;
  Parts(day, y, m, d);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%2d/%2d/%04d", m, d, y);
  return buf;
}

inline void PostChars(HWND w, const std::string& text) {
  for (char c : text) PostMessageA(w, WM_CHAR, static_cast<unsigned char>(c), 1);
}
inline void PostKey(HWND w, WORD vk) {
  PostMessageA(w, WM_KEYDOWN, vk, 1);
  PostMessageA(w, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
}
// A key with Alt held (the system-key messages carry the Alt flag in bit 29).
inline void PostAltKey(HWND w, WORD vk) {
  PostMessageA(w, WM_SYSKEYDOWN, vk, 0x20000001);
  PostMessageA(w, WM_SYSKEYUP, vk, static_cast<LPARAM>(0xE0000001u));
}
inline void PostClick(HWND w, int x, int y) {
  PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// Closes a message dialog that nobody answers (a test expecting none), so a fault shows as a
// failure instead of a hang. Dialogs that WithDialog answers are gone long before it acts.
class DialogWatchdog {
 public:
  DialogWatchdog() {
    current_ = this;
    timer_ = UniqueTimer::Set(nullptr, 0, 250, Tick);
  }
  ~DialogWatchdog() {
    timer_.Reset();
    current_ = nullptr;
  }
  DialogWatchdog(const DialogWatchdog&) = delete;
  DialogWatchdog& operator=(const DialogWatchdog&) = delete;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (!current_) return;
    TMessageForm* dlg = VisibleMessageDialog();
    if (!dlg || dlg != current_->seen_) {
      current_->seen_ = dlg;
      current_->ticks_ = 0;
      return;
    }
    if (++current_->ticks_ < 12) return;
    auto* label = dlg->Find<TLabel>("Message");
    ADD_FAILURE() << "unexpected dialog: " << (label ? label->Caption() : std::string("?"));
    dlg->ModalResult = 2;
    current_->seen_ = nullptr;
  }
  static inline DialogWatchdog* current_ = nullptr;
  UniqueTimer timer_;
  TMessageForm* seen_ = nullptr;
  int ticks_ = 0;
};

// A shown form: an edit, the date field "EDate", another edit (Tab order in that sequence).
// The locale is fixed for the controls made here; it outlives them.
struct DateForm {
  explicit DateForm(TZcLocaleSettings locale = UsLocale(), bool withController = false)
      : intl(std::move(locale)), form(nullptr) {
    form.SetCaption("Date field test");
    form.BorderStyle = TFormBorderStyle::bsSingle;
    form.SetBounds(200, 200, 0, 0);
    form.SetClientSize(320, 180);
    if (withController) controller = form.Create<TZcController>();
    before = form.Create<TEdit>();
    before->Name = "EBefore";
    before->SetParent(&form);
    before->SetBounds(10, 10, 150, 21);
    date = form.Create<TZcDateEdit>();
    date->Name = "EDate";
    date->SetParent(&form);
    date->SetBounds(10, 40, 168, 21);
    after = form.Create<TEdit>();
    after->Name = "EAfter";
    after->SetParent(&form);
    after->SetBounds(10, 70, 150, 21);
    form.Show();
    Pump(50);
  }
  ~DateForm() {
    form.Hide();
    Pump(20);
  }

  // Focuses the field, selects its text and types over it.
  void Type(const std::string& text) {
    date->SetFocus();
    date->SelectAll();
    PostChars(date->Handle(), text);
    Pump(30);
  }
  HWND Calendar() { return date->Calendar().HandleIfCreated(); }
  bool PopupShown() { return Calendar() && IsWindowVisible(Calendar()); }

  DialogWatchdog watchdog;
  TZcIntlOverride intl;
  TForm form;
  TZcController* controller = nullptr;
  TEdit* before = nullptr;
  TZcDateEdit* date = nullptr;
  TEdit* after = nullptr;
};

}  // namespace zelvo::test
