// The date field on a real form: typing and leaving, error reports through the application's error
// reporter, "+"/"-", the controller, the drop-down button's layout, what kind of control it is.
#include <gtest/gtest.h>

#include "DateControlsTestSupport.h"
#include "framework/StdCtrls.h"
#include "util/WinUtil.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {
HWND Focus() { return GetFocus(); }

// Whether the focus comes back to `field` once the error dialog has closed. Under Wine on a busy
// machine the X server's late focus events can leave no window of the program active after the
// dialog goes: then the form is activated again, and the focus must come back with it to the
// field (the form's remembered control). Any other window holding the activation is a fault.
testing::AssertionResult FocusComesBackTo(TForm& form, TWinControl& field) {
  HWND target = field.HandleIfCreated();
  if (PumpUntil([&] { return Focus() == target; }, 5000)) return testing::AssertionSuccess();
  if (GetActiveWindow() == nullptr) {
    SetForegroundWindow(form.Handle());
    SetActiveWindow(form.Handle());
    if (PumpUntil([&] { return Focus() == target; })) return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << "the focus is on " << Focus() << ", the active window "
                                     << GetActiveWindow() << ", not on the field " << target;
}

// Types an entry, presses Tab and answers the error dialog that follows; returns the dialog's
// message ("" when none came).
std::string TabAwayExpectingError(DateForm& f, const std::string& entry) {
  f.Type(entry);
  std::string message, title;
  WithDialog([&] { PressKey(VK_TAB); Pump(400); },
             [&](TMessageForm& dlg) {
               message = dlg.Find<TLabel>("Message")->Caption();
               char buf[64] = {};
               GetWindowTextA(dlg.HandleIfCreated(), buf, sizeof buf);
               title = buf;
               PressKey(VK_RETURN);
             });
  Pump(100);
  if (!message.empty()) {
    EXPECT_EQ(title, "Error");
  }
  return message;
}
}  // namespace

TEST(DateEdit, TypedEntriesAreReadWhenTabLeavesTheField) {
  DateForm f;
  const TStDate today = ZcToday();
  int y, m, d;
  Parts(today, y, m, d);
  int exits = 0;
  f.date->OnExit = [&](TComponent&) { ++exits; };

  struct Entry {
    std::string typed;
    TStDate expected;
  };
  const Entry entries[] = {
      {std::to_string(m) + "/" + std::to_string(d) + "/" + std::to_string(y % 100), today},
      // ("-" would step the date: in the field it is a key, not a separator.)
      {std::to_string(m) + "." + std::to_string(d) + "." + std::to_string(y), today},
      {"today", today},
      {"/", today},
      {"tomorrow", today + 1},
      {"march 5, 2004", Day(2004, 3, 5)},
      {"3/5/2004 10:30", Day(2004, 3, 5)},
  };
  for (const Entry& e : entries) {
    SCOPED_TRACE(e.typed);
    f.date->SetDate(0);
    f.Type(e.typed);
    EXPECT_EQ(f.date->Text(), e.typed) << "typing alone does not rewrite the text";
    const int before = exits;
    PressKey(VK_TAB);
    ASSERT_TRUE(PumpUntil([&] { return exits == before + 1; }));
    EXPECT_EQ(f.date->Date(), Serial(e.expected));
    EXPECT_EQ(f.date->Text(), UsShown(e.expected));
    EXPECT_EQ(Focus(), f.after->HandleIfCreated()) << "the focus moved on";
    EXPECT_TRUE(f.date->Modified());
  }
  EXPECT_EQ(exits, static_cast<int>(std::size(entries))) << "one exit event per departure";

  // Leaving an empty box: no date, no message.
  f.date->SetText("");
  EXPECT_EQ(TabAwayExpectingError(f, ""), "");
  EXPECT_EQ(f.date->Date(), 0.0);
  EXPECT_EQ(f.date->Text(), "");
}

TEST(DateEdit, DayMonthYearLocaleReadsAndShowsItsOwnFormat) {
  DateForm f(DottedLocale());
  const TStDate today = ZcToday();
  int y, m, d;
  Parts(today, y, m, d);
  char shown[16];
  std::snprintf(shown, sizeof shown, "%02d.%02d.%04d", d, m, y);

  f.Type(std::to_string(d) + "." + std::to_string(m) + "." + std::to_string(y));
  PressKey(VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return f.date->Date() == Serial(today); }));
  EXPECT_EQ(f.date->Text(), shown);

  f.Type("5 mar 2004");
  PressKey(VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return f.date->Date() == Serial(Day(2004, 3, 5)); }));
  EXPECT_EQ(f.date->Text(), "05.03.2004");
  EXPECT_EQ(f.date->TodayString(), ".") << "the default today string is the separator";
}

TEST(DateEdit, WrongEntriesReportThroughTheErrorDialogAndKeepTheText) {
  DateForm f;
  f.date->SetRequiredFields(TZcRequiredDateFields::All());
  const double before = Serial(ZcToday());
  f.date->SetDate(before);
  int exits = 0;
  f.date->OnExit = [&](TComponent&) { ++exits; };

  struct Case {
    std::string typed, message;
  };
  const Case cases[] = {
      {"3/5", "Year is required."},
      {"3/5/ABC", "Invalid year \"ABC\"."},
      {"5 MAR 2004", "Day is required."},
      {"2/30/2004", "Invalid date \"2/30/2004\"."},
      {"12/30/1899", "Invalid date \"12/30/1899\"."},  // a real day, but its value means "no date"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(TabAwayExpectingError(f, c.typed), c.message);
    ASSERT_TRUE(FocusComesBackTo(f.form, *f.date));
    EXPECT_EQ(f.date->Text(), c.typed) << "the text stays as typed";
    EXPECT_EQ(f.date->Date(), before) << "the date stays as it was";
  }
  EXPECT_EQ(exits, 0);

  // Corrected, the same field is left normally.
  f.Type("3/5/2004");
  PressKey(VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return f.date->Date() == Serial(Day(2004, 3, 5)); }));
  EXPECT_EQ(exits, 1);
}

TEST(DateEdit, PlusAndMinusStepFromTheShownOrTypedDate) {
  DateForm f;
  const TStDate today = ZcToday();
  f.date->SetFocus();
  HWND h = f.date->Handle();

  PostChars(h, "+");  // empty box: from today
  ASSERT_TRUE(PumpUntil([&] { return f.date->Date() == Serial(today + 1); }));
  EXPECT_EQ(f.date->Text(), UsShown(today + 1)) << "the key is swallowed";
  PostChars(h, "--");
  ASSERT_TRUE(PumpUntil([&] { return f.date->Date() == Serial(today - 1); }));
  EXPECT_EQ(f.date->Text(), UsShown(today - 1));

  // Typed but not yet read: the text is parsed first.
  f.Type("3/1/2004");
  PostChars(h, "-");
  ASSERT_TRUE(PumpUntil([&] { return f.date->Date() == Serial(Day(2004, 2, 29)); }));
  EXPECT_EQ(f.date->Text(), UsShown(Day(2004, 2, 29)));

  // A wrong text stops the step with the error dialog; nothing is typed.
  f.date->SetRequiredFields(TZcRequiredDateFields::All());
  f.Type("3/5");
  std::string message;
  EXPECT_TRUE(WithDialog([&] { PostChars(h, "+"); Pump(300); },
                         [&](TMessageForm& dlg) {
                           message = dlg.Find<TLabel>("Message")->Caption();
                           PressKey(VK_RETURN);
                         }));
  EXPECT_EQ(message, "Year is required.");
  Pump(100);
  EXPECT_EQ(f.date->Text(), "3/5");

  // Read-only: no step and nothing typed; AllowIncDec off: "+" is an ordinary character.
  f.date->SetDate(Serial(today));
  f.date->SetReadOnly(true);
  f.date->SetFocus();
  PostChars(h, "+");
  Pump(100);
  EXPECT_EQ(f.date->Date(), Serial(today));
  EXPECT_EQ(f.date->Text(), UsShown(today));
  f.date->SetReadOnly(false);
  f.date->SetAllowIncDec(false);
  f.date->SetFocus();
  SendMessageA(h, EM_SETSEL, 0x7FFF, 0x7FFF);
  PostChars(h, "+");
  Pump(100);
  EXPECT_EQ(f.date->Text(), UsShown(today) + "+");
  EXPECT_EQ(f.date->Date(), Serial(today));

  // The key-press event runs first: what it leaves decides, and a key it clears does nothing.
  f.date->SetAllowIncDec(true);
  f.date->SetDate(Serial(today));
  f.date->OnKeyPress = [](TCustomEdit&, char& key) {
    if (key == '=') key = '+';
    else if (key == '-') key = 0;
  };
  PostChars(h, "=");
  ASSERT_TRUE(PumpUntil([&] { return f.date->Date() == Serial(today + 1); }));
  PostChars(h, "-");
  Pump(100);
  EXPECT_EQ(f.date->Date(), Serial(today + 1));
  EXPECT_EQ(f.date->Text(), UsShown(today + 1));
  f.date->OnKeyPress = nullptr;
}

TEST(DateEdit, EpochComesFromTheFieldOrTheFormsController) {
  DateForm f(UsLocale(), true);
  ASSERT_NE(f.controller, nullptr);
  EXPECT_EQ(f.date->Controller(), f.controller) << "the form's controller is found by itself";
  f.controller->SetEpoch(1900);
  f.Type("5/1/20");
  PressKey(VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return f.date->Date() == Serial(Day(1920, 5, 1)); }));
  f.date->SetEpoch(1980);
  f.Type("5/1/20");
  PressKey(VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return f.date->Date() == Serial(Day(2020, 5, 1)); }));
  f.date->SetEpoch(1500);
  EXPECT_EQ(f.date->Epoch(), 1980) << "an epoch outside 1600-3999 is ignored";

  DateForm plain;
  EXPECT_EQ(plain.date->Controller(), &ZcDefaultController()) << "no controller on the form";
  int y, m, d;
  Parts(ZcToday(), y, m, d);
  EXPECT_EQ(ZcDefaultController().Epoch(), y / 100 * 100);
  ASSERT_EQ(f.controller->EntryCommands.size(), 3u);
  EXPECT_EQ(f.controller->EntryCommands[0].TableName, "Default");
  EXPECT_TRUE(f.controller->EntryCommands[0].IsActive);
}

TEST(DateEdit, IsAnEditWithItsOwnClassAndPublishedProperties) {
  DateForm f;
  TZcDateEdit& e = *f.date;
  EXPECT_TRUE(e.Is<TCustomEdit>());
  EXPECT_STREQ(e.ClassName(), "TZcDateEdit");
  char cls[64] = {};
  GetClassNameA(e.Handle(), cls, sizeof cls);
  EXPECT_STREQ(cls, "TZcDateEdit");
  EXPECT_EQ(f.form.FindComponent("EDate"), &e);

  // Defaults.
  EXPECT_TRUE(e.AllowIncDec());
  EXPECT_EQ(e.Epoch(), 0);
  EXPECT_FALSE(e.ForceCentury());
  EXPECT_EQ(e.RequiredFields(), (TZcRequiredDateFields{false, true, true}));
  EXPECT_EQ(e.TodayString(), "/");
  EXPECT_TRUE(e.ShowButton());
  EXPECT_EQ(e.PopupAnchor, TZcPopupAnchor::paLeft);
  EXPECT_EQ(e.PopupWidth(), 200);
  EXPECT_EQ(e.PopupHeight(), 140);
  EXPECT_EQ(e.PopupWeekStarts(), 0);
  EXPECT_EQ(e.PopupDateFormat(), TZcDateFormat::dfLong);
  EXPECT_EQ(e.PopupFont().name, "MS Sans Serif");
  EXPECT_FALSE(e.PopupOptions().hideActive);
  EXPECT_EQ(e.PopupColors().Color(TZcCalColorRole::Weekend), zccolor::clRed);

  TPropInfo info = e.GetPropInfo("ShowButton");
  EXPECT_TRUE(info.exists && info.isEnum);
  EXPECT_FALSE(e.GetPropInfo("Checked").exists);
  EXPECT_TRUE(e.SetOrdProp("showbutton", 0));
  EXPECT_FALSE(e.ShowButton());
  int32_t epoch = -1;
  EXPECT_TRUE(e.SetOrdProp("Epoch", 1980));
  EXPECT_TRUE(e.GetOrdProp("Epoch", epoch));
  EXPECT_EQ(epoch, 1980);
  EXPECT_TRUE(e.GetPropInfo("Epoch").exists && !e.GetPropInfo("Epoch").isEnum);

  e.SetDate(Serial(Day(2004, 3, 5)));
  EXPECT_EQ(e.Text(), " 3/ 5/2004");
}

TEST(DateEdit, DropDownButtonLayoutAndReadOnly) {
  DateForm f;
  TZcDateEdit& e = *f.date;
  HWND button = e.Button().HandleIfCreated();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(GetParent(button), e.HandleIfCreated()) << "the button sits inside the field";
  EXPECT_EQ(GetWindowLongA(button, GWL_STYLE) & WS_TABSTOP, 0);
  RECT client, b;
  GetClientRect(e.HandleIfCreated(), &client);
  GetWindowRect(button, &b);
  MapWindowPoints(nullptr, e.HandleIfCreated(), reinterpret_cast<POINT*>(&b), 2);
  const int expectedWidth = std::max(GetSystemMetrics(SM_CXHSCROLL), 11 + 4);
  EXPECT_EQ(b.right - b.left, expectedWidth);
  EXPECT_EQ(b.right, client.right) << "flush with the right edge of the client area";
  EXPECT_EQ(b.top, 0);
  EXPECT_EQ(b.bottom, client.bottom);
  EXPECT_NE(GetWindowLongA(e.HandleIfCreated(), GWL_STYLE) & WS_CLIPCHILDREN, 0);

  e.SetReadOnly(true);
  EXPECT_FALSE(IsWindowEnabled(button));
  e.SetReadOnly(false);
  EXPECT_TRUE(IsWindowEnabled(button));

  // A wider glyph widens the button; an empty one restores the standard picture.
  UniqueGdi<HBITMAP> wide(CreateBitmap(30, 8, 1, 32, nullptr));
  e.SetButtonGlyph(std::move(wide));
  GetWindowRect(button, &b);
  EXPECT_EQ(b.right - b.left, 34);
  e.SetButtonGlyph(UniqueGdi<HBITMAP>());
  EXPECT_EQ(BitmapSize(e.ButtonGlyph()).cx, 11);

  // Without the button: 0 x 0, and Alt+Down does nothing.
  e.SetShowButton(false);
  GetWindowRect(button, &b);
  EXPECT_EQ(b.right - b.left, 0);
  EXPECT_EQ(b.bottom - b.top, 0);
  e.SetFocus();
  PostAltKey(e.HandleIfCreated(), VK_DOWN);
  Pump(150);
  EXPECT_FALSE(f.PopupShown());
  EXPECT_EQ(Focus(), e.HandleIfCreated());
}
