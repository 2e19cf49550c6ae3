// The registration form on a real window: its controls, labels, settings and tab order against
// the form's table, the dialog keys, the store-type rule typed into the real combo box, and the
// print button's path with a recording printer (the real printer is the end-to-end test's).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "../Win32TestSupport.h"
#include "controls/zcdateedit.h"
#include "controls/zcintl.h"
#include "reginfo/RegInfo.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {

// ---------------------------------------------------------------------------------------------
// What the form must hold: component, kind, label caption and the label's right edge, position
// and size, in tab order.
struct ExpectedControl {
  int tab;
  const char* name;
  const char* className;
  const char* label;  // caption of its label, nullptr when the control carries its own
  int labelRight;
  int left, top, width, height;
};
const ExpectedControl kExpected[] = {
    {0, "EProduct", "TEdit", "Prod&uct:", 96, 100, 8, 168, 21},
    {1, "EName", "TEdit", "&Name:", 96, 100, 32, 168, 21},
    {2, "EAddress1", "TEdit", "Address &1:", 96, 100, 56, 168, 21},
    {3, "EAddress2", "TEdit", "Address &2:", 96, 100, 80, 168, 21},
    {4, "ECity", "TEdit", "C&ity:", 96, 100, 104, 88, 21},
    {5, "EState", "TEdit", "&State/Province:", 272, 276, 104, 40, 21},
    {6, "EPostalCode", "TEdit", "Posta&l Code:", 384, 388, 104, 64, 21},
    {7, "ECountry", "TEdit", "C&ountry:", 96, 100, 128, 168, 21},
    {8, "EAge", "TEdit", "&Age:", 96, 100, 152, 168, 21},
    {9, "RSex", "TRadioGroup", nullptr, 0, 67, 176, 305, 33},
    {10, "EPhone", "TEdit", "P&hone:", 96, 100, 216, 168, 21},
    {11, "EEMail", "TEdit", "&E-mail:", 96, 100, 240, 168, 21},
    {12, "CPurchased", "TComboBox", "&Where purchased:", 96, 100, 264, 168, 21},
    {13, "EStoreType", "TEdit", "S&tore Type:", 98, 100, 288, 168, 21},
    {14, "EDate", "TZcDateEdit", "Date pu&rchased:", 360, 364, 216, 168, 21},
    {15, "EComputerType", "TEdit", "Computer T&ype:", 360, 364, 240, 168, 21},
    {16, "EOS", "TEdit", "Operatin&g System:", 360, 364, 264, 168, 21},
    {17, "ERAM", "TEdit", "RA&M:", 360, 364, 288, 168, 21},
    {18, "MComments", "TMemo", "&Comments:", 96, 100, 312, 432, 89},
    {19, "BPrint", "TBitBtn", nullptr, 0, 117, 416, 130, 65},
    {20, "BDontRegister", "TBitBtn", nullptr, 0, 291, 416, 130, 65},
};
const std::vector<std::string> kStores = {
    "Best Buy", "BJ's Wholesale Club", "Bradlee's", "CompUSA", "Zelvo Web Site", "Eckerd's",
    "Electronics Boutique", "Fred Meyer", "K-Mart", "Office Depot", "Office Max", "Price-Costco",
    "Radio Shack", "Sam's Club", "Software Etc.", "Staples", "Walmart"};

// ---------------------------------------------------------------------------------------------
// Fakes: what the system reports, and a printer and questions that record.

class FixedSystemInfo : public SystemInfoSource {
 public:
  std::string ProfileString(const std::string&, const std::string&, const std::string&, uint32_t) override {
    return "Atlantis";
  }
  OSVersionRecord VersionRecord() override { return {kPlatformWinNT, 5, 1, 2600, "Service Pack 3"}; }
  uint64_t TotalPhysicalMemory() override { return 536346624; }  // 511.5 MB
};

struct PrintLog {
  int begun = 0, ended = 0, aborted = 0;
  std::vector<std::string> texts;
};

class RecordingCanvas : public CardCanvas {
 public:
  explicit RecordingCanvas(PrintLog& log, bool failOnRectangle) : log_(log), fail_(failOnRectangle) {}
  void SetFontName(const std::string&) override {}
  void SetFontSize(int32_t) override {}
  void SetFontStyle(uint8_t) override {}
  void TextOutAt(int32_t, int32_t, const std::string& text) override { log_.texts.push_back(text); }
  int32_t TextWidth(const std::string& text) override { return static_cast<int32_t>(text.size()) * 10; }
  CardTextSize TextExtent(const std::string& text) override { return {TextWidth(text), 20}; }
  void Rectangle(int32_t, int32_t, int32_t, int32_t) override {
    if (fail_) throw Exception("The printer ran out of paper");
  }

 private:
  PrintLog& log_;
  bool fail_;
};

class RecordingPrinter : public CardPrinter {
 public:
  RecordingPrinter(PrintLog& log, bool failOnRectangle) : log_(log), canvas_(log, failOnRectangle) {}
  void BeginDoc() override { ++log_.begun; }
  void EndDoc() override { ++log_.ended; }
  void Abort() override { ++log_.aborted; }
  int32_t PageWidth() override { return 4800; }
  int32_t PageHeight() override { return 6000; }
  CardCanvas& Canvas() override { return canvas_; }

 private:
  PrintLog& log_;
  RecordingCanvas canvas_;
};

// Answers Yes to the Americas question and to its confirmation.
class YesQuestions : public CardQuestions {
 public:
  bool Confirm(const std::string&) override { return true; }
  bool ConfirmDefaultNo(const std::string&) override { return true; }
};

struct Fixture {
  PrintLog log;
  YesQuestions questions;
  bool printerFails = false;  // each print job's printer fails midway while this is set
  TRegisterForm form;
  explicit Fixture(std::vector<std::string> args = {"Zelvo Notes"})
      : form(nullptr, std::move(args), std::make_unique<FixedSystemInfo>()) {
    form.PrinterFactory = [this] { return std::make_unique<RecordingPrinter>(log, printerFails); };
    form.QuestionsSource = [this]() -> CardQuestions& { return questions; };
    form.DoCreate();
  }
};

TWinControl* Focused() {
  for (HWND w = GetFocus(); w; w = GetParent(w)) {
    if (TWinControl* c = TWinControl::FromHandle(w)) return c;
  }
  return nullptr;
}

std::string FocusedName() {
  TWinControl* c = Focused();
  if (!c) return "(none)";
  // A radio button is reported as its group.
  if (auto* group = dynamic_cast<TRadioGroup*>(c->Parent())) return group->Name;
  return c->Name;
}

void TypeText(const std::string& text) {
  for (char ch : text) PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(ch), 1);
  Pump(60);
}

// Shows the form modally and runs the steps one after the other from a timer while the modal
// loop runs; a step returns false to be called again on the next tick. Should the steps not
// finish within the time limit, the form is closed so the test cannot hang.
struct ModalRun {
  std::vector<std::function<bool()>> steps;
  size_t next = 0;
  int ticks = 0;
  TForm* form = nullptr;
  bool timedOut = false;
  bool busy = false;
};
ModalRun* g_run = nullptr;

void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
  if (!g_run) {
    KillTimer(nullptr, id);
    return;
  }
  if (++g_run->ticks > 300) {
    g_run->timedOut = true;
    KillTimer(nullptr, id);
    if (TMessageForm* dlg = VisibleMessageDialog()) dlg->ModalResult = mrCancel;
    g_run->form->ModalResult = -1;
    return;
  }
  // A step that pumps messages itself must not be re-entered by this timer.
  if (g_run->busy) return;
  if (g_run->next < g_run->steps.size()) {
    g_run->busy = true;
    if (g_run->steps[g_run->next]()) ++g_run->next;
    g_run->busy = false;
  }
}

int32_t ShowModalWith(TForm& form, std::vector<std::function<bool()>> steps, ModalRun& run) {
  run.steps = std::move(steps);
  run.form = &form;
  g_run = &run;
  UniqueTimer timer = UniqueTimer::Set(nullptr, 0, 40, StepTimer);
  int32_t result = form.ShowModal();
  timer.Reset();
  g_run = nullptr;
  return result;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

TEST(RegisterForm, WindowMatchesTheTable) {
  Fixture f;
  TRegisterForm& form = f.form;
  HWND h = form.Handle();
  RECT cr;
  GetClientRect(h, &cr);
  EXPECT_EQ(cr.right, 538);
  EXPECT_EQ(cr.bottom, 489);
  const LONG style = GetWindowLongA(h, GWL_STYLE);
  EXPECT_NE(style & WS_SYSMENU, 0);
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0) << "fixed size, close box only";
  char caption[64];
  GetWindowTextA(h, caption, sizeof caption);
  EXPECT_STREQ(caption, "Registration Information");
  EXPECT_EQ(form.Position, TPosition::poScreenCenter);
  EXPECT_EQ(form.Color, clBtnFace);
  EXPECT_EQ(form.Font.name, "MS Sans Serif");
  EXPECT_EQ(form.Font.height, -11);
  EXPECT_EQ(form.Font.color, clWindowText);
  EXPECT_EQ(form.BoundHandler("RegisterForm"), "FormCreate");
}

TEST(RegisterForm, ControlsLabelsAndTabOrderMatchTheTable) {
  Fixture f;
  TRegisterForm& form = f.form;
  form.Handle();
  std::vector<TLabel*> labels;
  for (TComponent* c : form.Components()) {
    if (auto* l = dynamic_cast<TLabel*>(c)) labels.push_back(l);
  }
  EXPECT_EQ(labels.size(), 18u) << "one caption label per edit, combo box and memo";

  for (const ExpectedControl& e : kExpected) {
    SCOPED_TRACE(e.name);
    auto* c = form.Find<TWinControl>(e.name);
    ASSERT_NE(c, nullptr);
    EXPECT_STREQ(c->ClassName(), e.className);
    EXPECT_EQ(c->Parent(), &form);
    EXPECT_EQ(c->TabOrder(), e.tab);
    RECT r;
    GetWindowRect(c->HandleIfCreated(), &r);
    MapWindowPoints(nullptr, form.HandleIfCreated(), reinterpret_cast<POINT*>(&r), 2);
    // A combo box's window includes its dropped-down list; its closed height is the table's.
    const int height = c->Is<TComboBox>() ? c->Height() : static_cast<int>(r.bottom - r.top);
    EXPECT_EQ((std::vector<int>{r.left, r.top, r.right - r.left, height}),
              (std::vector<int>{e.left, e.top, e.width, e.height}));
    if (auto* edit = dynamic_cast<TCustomEdit*>(c)) {
      EXPECT_GE(static_cast<uint32_t>(SendMessageA(edit->HandleIfCreated(), EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEu)
          << "no length limit";
    }
    TLabel* label = nullptr;
    for (TLabel* l : labels) {
      if (l->FocusControl == c) label = l;
    }
    if (!e.label) {
      EXPECT_EQ(label, nullptr);
      continue;
    }
    ASSERT_NE(label, nullptr) << "a label whose accelerator reaches the control";
    EXPECT_EQ(label->Caption(), e.label);
    EXPECT_EQ(label->Alignment & DT_RIGHT, static_cast<UINT>(DT_RIGHT));
    EXPECT_FALSE(label->WordWrap);
    EXPECT_EQ(label->Left() + label->Width(), e.labelRight) << "right edge";
    EXPECT_EQ(label->Top(), e.top + 3);
    EXPECT_EQ(label->Height(), 13);
    EXPECT_LT(label->Left(), e.left) << "left of its control";
    EXPECT_GE(label->Width(), label->MeasureText(0).cx) << "the whole caption shows";
  }
  EXPECT_EQ(form.Find<TLabel>("LProduct")->FocusControl, form.EProduct);
  EXPECT_EQ(form.Find<TLabel>("LEStoreType")->FocusControl, form.EStoreType);
  EXPECT_EQ(form.RSex->Caption(), "Se&x:");
  EXPECT_EQ(form.BPrint->Caption(), "&Print Registration...");
  EXPECT_EQ(form.BDontRegister->Caption(), "&Don't Register");
}

TEST(RegisterForm, SettingsOfTheControls) {
  Fixture f;
  TRegisterForm& form = f.form;
  form.Handle();

  // State: typed letters become capitals.
  EXPECT_NE(GetWindowLongA(form.EState->HandleIfCreated(), GWL_STYLE) & ES_UPPERCASE, 0);

  // Sex: three columns, "Decline to state" chosen.
  EXPECT_EQ(form.RSex->Columns, 3);
  EXPECT_EQ(form.RSex->Items(), (std::vector<std::string>{"Male", "Female", "Decline to state"}));
  EXPECT_EQ(form.RSex->ItemIndex(), 2);
  EXPECT_TRUE(form.RSex->Button(2)->Checked());

  // Where purchased: editable text with a drop-down list of the 17 stores, unsorted, 13-pixel items.
  HWND combo = form.CPurchased->HandleIfCreated();
  EXPECT_EQ(GetWindowLongA(combo, GWL_STYLE) & 3, CBS_DROPDOWN);
  EXPECT_EQ(GetWindowLongA(combo, GWL_STYLE) & CBS_SORT, 0);
  std::vector<std::string> listed;
  for (int i = 0; i < SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i) {
    char text[64] = {};
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    listed.emplace_back(text);
  }
  EXPECT_EQ(listed, kStores);
  // The list's item height is kept for owner-drawn lists; a plain list uses its font's height.
  EXPECT_EQ(form.CPurchased->ItemHeight, 13);
  EXPECT_EQ(form.BoundHandler("CPurchased"), "CPurchasedChange");

  // Store type starts disabled, label and field.
  EXPECT_FALSE(IsWindowEnabled(form.EStoreType->HandleIfCreated()));
  EXPECT_FALSE(IsWindowEnabled(form.LEStoreType->HandleIfCreated()));

  // Comments: wraps words, Enter starts a new line, no scroll bars.
  const LONG memo = GetWindowLongA(form.MComments->HandleIfCreated(), GWL_STYLE);
  EXPECT_NE(memo & ES_MULTILINE, 0);
  EXPECT_NE(memo & ES_WANTRETURN, 0);
  EXPECT_EQ(memo & ES_AUTOHSCROLL, 0) << "word wrap";
  EXPECT_EQ(memo & (WS_HSCROLL | WS_VSCROLL), 0);

  // Print: default button, OK, the printer glyph beside its greyed twin, 10 pixels of spacing.
  EXPECT_TRUE(form.BPrint->Default);
  EXPECT_EQ(form.BPrint->ModalResult, mrOk);
  EXPECT_EQ(form.BPrint->Spacing, 10);
  EXPECT_EQ(form.BPrint->NumGlyphs(), 2);
  EXPECT_EQ(form.BoundHandler("BPrint"), "BPrintClick");
  SIZE glyph = BitmapSize(form.BPrint->Glyph());
  EXPECT_EQ(glyph.cx, 32);
  EXPECT_EQ(glyph.cy, 16);
  {
    UniqueGdi<HBITMAP> normal = LoadBitmapResource("BBPRINT"), disabled = LoadBitmapResource("BBPRINTDISABLED");
    WindowDC screen(nullptr);
    UniqueDC joined = CompatibleDC(screen.Get());
    UniqueDC a = CompatibleDC(screen.Get());
    UniqueDC b = CompatibleDC(screen.Get());
    ScopedSelect s1(joined.Get(), form.BPrint->Glyph()), s2(a.Get(), normal.Get()), s3(b.Get(), disabled.Get());
    int differing = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        differing += GetPixel(joined.Get(), x, y) != GetPixel(a.Get(), x, y);
        differing += GetPixel(joined.Get(), 16 + x, y) != GetPixel(b.Get(), x, y);
      }
    }
    EXPECT_EQ(differing, 0) << "normal frame, then the disabled frame";
    EXPECT_NE(GetPixel(a.Get(), 8, 8), GetPixel(b.Get(), 8, 8)) << "the twin looks different";
  }
  EXPECT_EQ(BottomLeftPixel(form.BPrint->Glyph()), RGB(128, 128, 0)) << "olive is the transparent colour";

  // Don't Register: the cancel kind (Escape, Cancel, standard picture), no click handler.
  EXPECT_EQ(form.BDontRegister->Kind(), TBitBtnKind::bkCancel);
  EXPECT_TRUE(form.BDontRegister->Cancel);
  EXPECT_FALSE(form.BDontRegister->Default);
  EXPECT_EQ(form.BDontRegister->ModalResult, mrCancel);
  EXPECT_EQ(form.BDontRegister->Spacing, 10);
  EXPECT_NE(form.BDontRegister->Glyph(), nullptr);
  EXPECT_FALSE(form.BDontRegister->OnClick);

  // The date field and its controller.
  TZcDateEdit& date = *form.EDate;
  EXPECT_TRUE(date.AllowIncDec());
  EXPECT_EQ(date.Epoch(), 1980);
  EXPECT_FALSE(date.ForceCentury());
  EXPECT_FALSE(date.ReadOnly());
  EXPECT_EQ(date.RequiredFields(), TZcRequiredDateFields::All());
  EXPECT_FALSE(date.ShowButton());
  EXPECT_NE(date.ButtonGlyph(), nullptr) << "the button's picture is kept although no button shows";
  EXPECT_EQ(date.TodayString(), "/");
  EXPECT_EQ(date.Controller(), form.ZcController);
  EXPECT_EQ(date.PopupAnchor, TZcPopupAnchor::paLeft);
  EXPECT_EQ(date.PopupDateFormat(), TZcDateFormat::dfLong);
  EXPECT_EQ(date.PopupDayNameWidth(), 3);
  EXPECT_EQ(date.PopupWidth(), 200);
  EXPECT_EQ(date.PopupHeight(), 140);
  EXPECT_EQ(date.PopupWeekStarts(), 0);
  EXPECT_EQ(date.PopupOptions(), (TZcCalDisplayOptions{true, true, true, true, true, true, false}));
  EXPECT_EQ(date.PopupFont().name, "MS Sans Serif");
  EXPECT_EQ(date.PopupFont().height, -11);
  TZcCalColors& colors = date.PopupColors();
  EXPECT_EQ(colors.Scheme(), TZcCalColorScheme::cscalCustom);
  EXPECT_EQ(colors.Color(TZcCalColorRole::ActiveDay), 0x0000FFu);
  EXPECT_EQ(colors.Color(TZcCalColorRole::DayNames), 0x000080u);
  EXPECT_EQ(colors.Color(TZcCalColorRole::Days), 0x000000u);
  EXPECT_EQ(colors.Color(TZcCalColorRole::InactiveDays), 0x808080u);
  EXPECT_EQ(colors.Color(TZcCalColorRole::MonthAndYear), 0xFF0000u);
  EXPECT_EQ(colors.Color(TZcCalColorRole::Weekend), 0x0000FFu);
  ASSERT_NE(form.ZcController, nullptr);
  EXPECT_EQ(form.ZcController->Name, "ZcController");
  EXPECT_EQ(form.ZcController->Epoch(), 1900);
  ASSERT_EQ(form.ZcController->EntryCommands.size(), 3u);
  EXPECT_EQ(form.ZcController->EntryCommands[0].TableName, "Default");
  EXPECT_TRUE(form.ZcController->EntryCommands[0].IsActive);
  EXPECT_FALSE(form.ZcController->EntryCommands[1].IsActive);
  EXPECT_FALSE(form.ZcController->EntryCommands[2].IsActive);
}

TEST(RegisterForm, CreationFillsTheDefaults) {
  Fixture f;
  TRegisterForm& form = f.form;
  EXPECT_EQ(form.EProduct->Text(), "Zelvo Notes");
  EXPECT_EQ(form.ECountry->Text(), "Atlantis");
  EXPECT_EQ(form.EOS->Text(), "Windows XP Service Pack 3");
  EXPECT_EQ(form.ERAM->Text(), "512 MB");
  EXPECT_EQ(form.CPurchased->DropDownCount, 17);
  SYSTEMTIME now;
  GetLocalTime(&now);
  EXPECT_EQ(form.EDate->Date(), StDateToDateTime(DMYtoStDate(now.wDay, now.wMonth, now.wYear, 0)));
  EXPECT_EQ(form.EDate->Text(), form.EDate->FormatDate(form.EDate->Date()));
  EXPECT_FALSE(form.EDate->Text().empty());
  // Everything else starts empty.
  for (TEdit* e : {form.EName, form.EAddress1, form.EAddress2, form.ECity, form.EState, form.EPostalCode, form.EAge,
                   form.EPhone, form.EEMail, form.EStoreType, form.EComputerType}) {
    EXPECT_EQ(e->Text(), "") << e->Name;
  }

  Fixture noArgs(std::vector<std::string>{});
  EXPECT_EQ(noArgs.form.EProduct->Text(), "") << "started without arguments";

  // The whole list drops down without a scroll bar.
  form.Show();
  SendMessageA(form.CPurchased->HandleIfCreated(), CB_SHOWDROPDOWN, TRUE, 0);
  Pump(50);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(form.CPurchased->HandleIfCreated(), &info));
  RECT list;
  GetClientRect(info.hwndList, &list);
  EXPECT_TRUE(IsWindowVisible(info.hwndList));
  const LRESULT itemHeight = SendMessageA(info.hwndList, LB_GETITEMHEIGHT, 0, 0);
  EXPECT_GE(list.bottom, 17 * itemHeight) << "room for every entry";
  EXPECT_EQ(GetWindowLongA(info.hwndList, GWL_STYLE) & WS_VSCROLL, 0) << "no scroll bar";
  SendMessageA(form.CPurchased->HandleIfCreated(), CB_SHOWDROPDOWN, FALSE, 0);
}

TEST(RegisterForm, TabWalksTheTableAndAcceleratorsReachTheirControls) {
  Fixture f;
  TRegisterForm& form = f.form;
  form.Show();
  Pump(100);
  EXPECT_EQ(FocusedName(), "EProduct") << "the focus starts on the first control";

  std::vector<std::string> walked;
  for (int i = 0; i < 21; ++i) {
    walked.push_back(FocusedName());
    PressKey(VK_TAB);
    Pump(40);
  }
  walked.push_back(FocusedName());
  std::vector<std::string> expected;
  for (const ExpectedControl& e : kExpected) {
    if (std::string(e.name) != "EStoreType") expected.push_back(e.name);  // disabled: skipped
  }
  expected.push_back("EProduct");
  expected.push_back("EName");
  EXPECT_EQ(walked, expected);

  // Every label's accelerator (Alt + its letter) moves the focus to its control.
  for (const ExpectedControl& e : kExpected) {
    if (!e.label || std::string(e.name) == "EStoreType") continue;
    const char* amp = std::strchr(e.label, '&');
    PostMessageA(GetFocus(), WM_SYSCHAR, static_cast<unsigned char>(amp[1]), 1 << 29);
    Pump(40);
    EXPECT_EQ(FocusedName(), e.name) << "Alt+" << amp[1];
  }
  PostMessageA(GetFocus(), WM_SYSCHAR, 'x', 1 << 29);
  Pump(40);
  EXPECT_EQ(Focused(), form.RSex->Button(2)) << "the group's accelerator reaches its chosen button";
  form.Hide();
}

TEST(RegisterForm, StoreTypeFollowsTheTextTypedIntoWherePurchased) {
  Fixture f;
  TRegisterForm& form = f.form;
  form.Show();
  Pump(100);
  auto enabled = [&] {
    const bool label = IsWindowEnabled(form.LEStoreType->HandleIfCreated()) != 0;
    const bool field = IsWindowEnabled(form.EStoreType->HandleIfCreated()) != 0;
    EXPECT_EQ(label, field) << "label and field change together";
    return field;
  };
  form.CPurchased->SetFocus();

  TypeText("best buy");  // a listed store in another letter case
  EXPECT_EQ(form.CPurchased->Text(), "best buy");
  EXPECT_FALSE(enabled());

  TypeText("s");  // "best buys" is no store
  EXPECT_TRUE(enabled());

  SendMessageA(GetFocus(), EM_SETSEL, 0, -1);
  TypeText("\b");  // cleared: the empty text matches no entry
  EXPECT_EQ(form.CPurchased->Text(), "");
  EXPECT_TRUE(enabled());

  TypeText("Corner Shop");
  EXPECT_TRUE(enabled());
  // Tab now reaches the store type.
  PressKey(VK_TAB);
  Pump(40);
  EXPECT_EQ(FocusedName(), "EStoreType");
  TypeText("Mall kiosk");

  // Choosing a listed store from the list disables the field but keeps what was typed there.
  form.CPurchased->SetFocus();
  PressKey(VK_DOWN);
  Pump(80);
  EXPECT_EQ(form.CPurchased->Text(), "Best Buy");
  EXPECT_FALSE(enabled());
  EXPECT_EQ(form.EStoreType->Text(), "Mall kiosk");
  EXPECT_EQ(form.Answers().storeType, "Mall kiosk") << "the card still prints it";

  SendMessageA(GetFocus(), EM_SETSEL, 0, -1);
  TypeText("OFFICE MA");
  EXPECT_TRUE(enabled());
  TypeText("X");
  EXPECT_FALSE(enabled());
  form.Hide();
}

TEST(RegisterForm, EnterInAPlainFieldPrintsAndClosesWithOK) {
  Fixture f;
  TRegisterForm& form = f.form;
  form.RSex->SetItemIndex(1);
  ModalRun run;
  int32_t result = ShowModalWith(form,
                                 {[&] {
                                    form.EName->SetFocus();
                                    TypeText("Ada Lovelace");
                                    PressKey(VK_RETURN);
                                    return true;
                                  }},
                                 run);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(f.log.begun, 1);
  EXPECT_EQ(f.log.ended, 1);
  EXPECT_EQ(f.log.aborted, 0);
  auto printed = [&](const std::string& text) {
    return std::find(f.log.texts.begin(), f.log.texts.end(), text) != f.log.texts.end();
  };
  EXPECT_TRUE(printed("Product: Zelvo Notes"));
  EXPECT_TRUE(printed("Sex: F"));
  EXPECT_TRUE(printed("Ada Lovelace")) << "the sender block";
  EXPECT_TRUE(printed("Operating system: Windows XP Service Pack 3"));
  EXPECT_TRUE(printed("Date purchased: " + form.EDate->Text()));
}

TEST(RegisterForm, EscapeInAPlainFieldCancelsWithoutPrinting) {
  Fixture f;
  ModalRun run;
  int32_t result = ShowModalWith(f.form,
                                 {[&] {
                                    f.form.ECity->SetFocus();
                                    PressKey(VK_ESCAPE);
                                    return true;
                                  }},
                                 run);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(result, mrCancel);
  EXPECT_EQ(f.log.begun, 0);
}

TEST(RegisterForm, EnterInTheCommentsStartsANewLine) {
  Fixture f;
  ModalRun run;
  std::string comments;
  int32_t result = ShowModalWith(f.form,
                                 {[&] {
                                    f.form.MComments->SetFocus();
                                    TypeText("one");
                                    PressKey(VK_RETURN);  // the loop translates it into the memo's '\r'
                                    Pump(60);
                                    TypeText("two");
                                    return true;
                                  },
                                  [&] {
                                    comments = f.form.MComments->Text();
                                    PressKey(VK_ESCAPE);
                                    return true;
                                  }},
                                 run);
  EXPECT_EQ(comments, "one\r\ntwo");
  EXPECT_EQ(result, mrCancel);
  EXPECT_EQ(f.log.begun, 0);
}

TEST(RegisterForm, AFailedPrintKeepsTheFormOpenWithEverythingTypedAndPrintingAgainCloses) {
  Fixture f;
  f.printerFails = true;
  TRegisterForm& form = f.form;
  ModalRun run;
  std::string error, title, nameAfterError;
  bool openAfterError = false;
  int32_t result = ShowModalWith(form,
                                 {[&] {
                                    form.EName->SetFocus();
                                    TypeText("Ada Lovelace");
                                    PressKey(VK_RETURN);
                                    return true;
                                  },
                                  [&] {
                                    TMessageForm* dlg = VisibleMessageDialog();
                                    if (!dlg) return false;
                                    error = dlg->Find<TLabel>("Message")->Caption();
                                    title = dlg->Caption();
                                    dlg->ModalResult = mrOk;
                                    return true;
                                  },
                                  [&] {
                                    if (VisibleMessageDialog()) return false;
                                    Pump(100);  // a form about to close would be gone by now
                                    openAfterError = IsWindowVisible(form.Handle()) != FALSE;
                                    nameAfterError = form.EName->Text();
                                    // The buyer puts the printer right and prints again.
                                    f.printerFails = false;
                                    form.BPrint->SetFocus();
                                    PressKey(VK_RETURN);
                                    return true;
                                  }},
                                 run);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(title, "Error");
  EXPECT_EQ(error, "The printer ran out of paper.");
  EXPECT_TRUE(openAfterError) << "nothing was printed: the form waits for another try";
  EXPECT_EQ(nameAfterError, "Ada Lovelace");
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(f.log.begun, 2);
  EXPECT_EQ(f.log.aborted, 1) << "no partial card from the failed job";
  EXPECT_EQ(f.log.ended, 1);
  EXPECT_EQ(std::count(f.log.texts.begin(), f.log.texts.end(), "Ada Lovelace"), 2)
      << "both cards carried what was typed";
}

// ---------------------------------------------------------------------------------------------
// The date field's entry and the buttons that act without taking the focus from it.

namespace {
// Replaces the date field's text by typing, leaving the focus in it.
void TypeIntoDate(TRegisterForm& form, const std::string& text) {
  form.EDate->SetFocus();
  form.EDate->SelectAll();
  PostMessageA(form.EDate->Handle(), WM_CHAR, VK_BACK, 1);
  Pump(30);
  TypeText(text);
}
}  // namespace

TEST(RegisterForm, EnterInTheDateFieldPrintsTheDateAsRead) {
  Fixture f;
  TRegisterForm& form = f.form;
  ModalRun run;
  int32_t result = ShowModalWith(form,
                                 {[&] {
                                    TypeIntoDate(form, "next fri");
                                    PressKey(VK_RETURN);
                                    return true;
                                  }},
                                 run);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(result, mrOk);
  TStDate friday = ZcToday() + 1;
  while (DayOfWeek(friday) != 5) ++friday;
  EXPECT_EQ(form.EDate->Date(), StDateToDateTime(friday));
  const std::string shown = form.EDate->FormatDate(StDateToDateTime(friday));
  EXPECT_EQ(form.EDate->Text(), shown);
  EXPECT_NE(std::find(f.log.texts.begin(), f.log.texts.end(), "Date purchased: " + shown), f.log.texts.end())
      << "the card carries the date read, not the words typed";
  EXPECT_EQ(f.log.ended, 1);
}

TEST(RegisterForm, EnterWithAnImpossibleDateShowsTheErrorAndPrintsNothing) {
  Fixture f;
  TRegisterForm& form = f.form;
  const double today = form.EDate->Date();
  ModalRun run;
  std::string error;
  bool stillOpen = false;
  bool focusBack = false;
  int32_t result = ShowModalWith(form,
                                 {[&] {
                                    TypeIntoDate(form, "2/30/2004");
                                    PressKey(VK_RETURN);
                                    return true;
                                  },
                                  [&] {
                                    TMessageForm* dlg = VisibleMessageDialog();
                                    if (!dlg) return false;
                                    error = dlg->Find<TLabel>("Message")->Caption();
                                    dlg->ModalResult = mrOk;
                                    return true;
                                  },
                                  [&] {
                                    if (VisibleMessageDialog()) return false;
                                    stillOpen = IsWindowVisible(form.Handle()) != FALSE;
                                    focusBack = GetFocus() == form.EDate->Handle();
                                    PressKey(VK_ESCAPE);
                                    return true;
                                  }},
                                 run);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(error, "Invalid date \"2/30/2004\".");
  EXPECT_TRUE(stillOpen) << "the form waits for the correction";
  EXPECT_TRUE(focusBack);
  EXPECT_EQ(result, mrCancel);
  EXPECT_EQ(f.log.begun, 0) << "nothing printed";
  EXPECT_EQ(form.EDate->Date(), today);
}

TEST(RegisterForm, DontRegisterLeavesAWrongDateUncheckedAndCloses) {
  Fixture f;
  TRegisterForm& form = f.form;
  ModalRun run;
  bool dialogSeen = false;
  int ticks = 0;
  int32_t result = ShowModalWith(form,
                                 {[&] {
                                    TypeIntoDate(form, "2/30/2004");
                                    // A real click, press and release apart: the button takes the
                                    // focus on the press, and a check of the field would come
                                    // before the release.
                                    PostMessageA(form.BDontRegister->Handle(), WM_LBUTTONDOWN, MK_LBUTTON,
                                                 MAKELPARAM(10, 10));
                                    return true;
                                  },
                                  [&] {
                                    if (++ticks < 4) return false;  // time for a check to show itself
                                    if (TMessageForm* dlg = VisibleMessageDialog()) {
                                      dialogSeen = true;
                                      dlg->ModalResult = mrOk;
                                    }
                                    return true;
                                  },
                                  [&] {
                                    if (VisibleMessageDialog()) return false;
                                    PostMessageA(form.BDontRegister->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
                                    return true;
                                  }},
                                 run);
  EXPECT_FALSE(run.timedOut);
  EXPECT_FALSE(dialogSeen) << "the entry being abandoned is not checked";
  EXPECT_EQ(result, mrCancel);
  EXPECT_EQ(f.log.begun, 0);
}
