// Real message dialogs under the real dialog font: sizes, buttons, default and focus, keys.
#include <gtest/gtest.h>

#include "../Win32TestSupport.h"
#include "framework/StdCtrls.h"
#include "util/Exceptions.h"
#include "util/WinUtil.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {
// The layout the dialog should have, measured independently with the message font.
MsgDialogLayout ExpectedLayout(const std::string& message, bool icon, std::vector<const char*> captions) {
  WindowDC screen(nullptr);
  UniqueGdi<HFONT> font(CreateFontFromSpec(MessageFontSpec()));
  ScopedSelect sel(screen.Get(), font.Get());
  SIZE s{};
  GetTextExtentPoint32A(screen.Get(), kDialogUnitSample.data(), 52, &s);
  MsgDialogInput in;
  in.dux = s.cx / 52;
  in.duy = s.cy;
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
  DrawTextA(screen.Get(), message.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  in.textWidth = r.right;
  in.textHeight = r.bottom;
  in.hasIcon = icon;
  for (const char* c : captions) {
    RECT cr{0, 0, 0, 0};
    DrawTextA(screen.Get(), c, -1, &cr, DT_CALCRECT | DT_SINGLELINE);
    in.buttonCaptionWidths.push_back(cr.right);
  }
  return ComputeMsgDialogLayout(in);
}

// A dialog's image button by name; a missing one is a test failure, not a crash.
TBitBtn& Button(TMessageForm& dlg, const char* name) {
  TBitBtn* b = dlg.Find<TBitBtn>(name);
  if (!b) throw std::runtime_error(std::string("dialog has no button ") + name);
  return *b;
}

TWinControl* Focused() { return TWinControl::FromHandle(GetFocus()); }
}  // namespace

TEST(MsgDialog, ErrorDialogSizeButtonAndKeys) {
  const std::string msg = "The registration page could not be opened.";
  MsgDialogLayout expected = ExpectedLayout(msg, true, {"OK"});
  int32_t result = -5;
  bool seen = WithDialog(
      [&] { result = ShowErrorTitled("Error", msg, 0, true); },
      [&](TMessageForm& dlg) {
        EXPECT_STREQ(dlg.ClassName(), "TMessageForm");
        RECT cr;
        GetClientRect(dlg.HandleIfCreated(), &cr);
        EXPECT_EQ(cr.right, expected.clientWidth);
        EXPECT_EQ(cr.bottom, expected.clientHeight);
        char title[64];
        GetWindowTextA(dlg.HandleIfCreated(), title, sizeof title);
        EXPECT_STREQ(title, "Error");
        LONG style = GetWindowLongA(dlg.HandleIfCreated(), GWL_STYLE);
        EXPECT_EQ(style & WS_SYSMENU, 0) << "no title-bar buttons";
        EXPECT_NE(GetWindowLongA(dlg.HandleIfCreated(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
        TBitBtn* ok = &Button(dlg, "OK");
        EXPECT_EQ(ok->Kind(), TBitBtnKind::bkOK);
        EXPECT_EQ(ok->Height(), std::max(25, expected.bh));
        EXPECT_EQ(ok->Top(), expected.buttons[0].top);
        EXPECT_EQ(ok->Width(), expected.bw);
        EXPECT_TRUE(ok->Default);
        EXPECT_TRUE(ok->Cancel);
        EXPECT_NE(ok->Glyph(), nullptr);
        EXPECT_NE(dlg.Find<TImage>("Image"), nullptr);
        EXPECT_EQ(dlg.Find<TButton>("OK"), ok) << "the push button was replaced";
        PressKey(VK_ESCAPE);
      });
  EXPECT_TRUE(seen);
  EXPECT_EQ(result, mrOk) << "Escape presses OK, the cancel button";

  seen = WithDialog([&] { result = ShowErrorTitled("Error", msg, 0, true); },
                    [&](TMessageForm&) { PressKey(VK_RETURN); });
  EXPECT_TRUE(seen);
  EXPECT_EQ(result, mrOk);
}

TEST(MsgDialog, ConfirmDefaultsToYesAndIgnoresEscape) {
  bool answer = false;
  bool seen = WithDialog([&] { answer = Confirm("Do you live in North, Central, or South America?", 0, true); },
                         [&](TMessageForm& dlg) {
                           TBitBtn* yes = &Button(dlg, "Yes");
                           TBitBtn* no = &Button(dlg, "No");
                           EXPECT_TRUE(yes->Default);
                           EXPECT_FALSE(no->Cancel) << "the No button's cancel flag is cleared";
                           EXPECT_EQ(Focused(), yes);
                           EXPECT_LT(yes->Left(), no->Left());
                           char title[64];
                           GetWindowTextA(dlg.HandleIfCreated(), title, sizeof title);
                           EXPECT_STREQ(title, "Question");
                           PressKey(VK_ESCAPE);
                           Pump(200);
                           EXPECT_EQ(VisibleMessageDialog(), &dlg) << "Escape does nothing";
                           PressKey(VK_RETURN);
                         });
  EXPECT_TRUE(seen);
  EXPECT_TRUE(answer);
}

TEST(MsgDialog, ConfirmDefaultNoFocusesNo) {
  bool answer = true;
  bool seen = WithDialog([&] { answer = ConfirmDefaultNo("Are you sure?", 0, true); },
                         [&](TMessageForm& dlg) {
                           EXPECT_EQ(Focused(), &Button(dlg, "No"));
                           PressKey(VK_RETURN);
                         });
  EXPECT_TRUE(seen);
  EXPECT_FALSE(answer) << "Enter answers No";

  seen = WithDialog([&] { answer = ConfirmDefaultNo("Are you sure?", 0, true); },
                    [&](TMessageForm& dlg) { Button(dlg, "Yes").Click(); });
  EXPECT_TRUE(seen);
  EXPECT_TRUE(answer);

  // Closed other than by a button: Cancel, so the question is answered No.
  seen = WithDialog([&] { answer = ConfirmDefaultNo("Are you sure?", 0, true); },
                    [&](TMessageForm& dlg) { PostMessageA(dlg.HandleIfCreated(), WM_CLOSE, 0, 0); });
  EXPECT_TRUE(seen);
  EXPECT_FALSE(answer);
}

TEST(MsgDialog, AmpersandsShowLiterally) {
  bool seen = WithDialog([] { ShowErrorTitled("Error", "Fish & Chips && Peas", 0, true); },
                         [](TMessageForm& dlg) {
                           auto* label = dlg.Find<TLabel>("Message");
                           ASSERT_NE(label, nullptr);
                           EXPECT_EQ(label->Caption(), "Fish && Chips &&&& Peas");
                           // Drawn with prefix processing, the label shows exactly the original text.
                           WindowDC screen(nullptr);
                           UniqueGdi<HFONT> font(CreateFontFromSpec(MessageFontSpec()));
                           ScopedSelect sel(screen.Get(), font.Get());
                           SIZE plain{};
                           std::string shown = "Fish & Chips && Peas";
                           GetTextExtentPoint32A(screen.Get(), shown.c_str(), static_cast<int>(shown.size()), &plain);
                           EXPECT_EQ(label->MeasureText(10000).cx, plain.cx);
                           PressKey(VK_RETURN);
                         });
  EXPECT_TRUE(seen);
}

TEST(MsgDialog, HelpButtonAndWideButtons) {
  int32_t result = -5;
  bool seen = WithDialog(
      [&] {
        result = ShowMsgDialog("Replace the file?", "Confirm", TMsgDlgType::mtWarning,
                               ButtonBit(TMsgDlgBtn::mbYes) | ButtonBit(TMsgDlgBtn::mbNoToAll) |
                                   ButtonBit(TMsgDlgBtn::mbYesToAll) | ButtonBit(TMsgDlgBtn::mbCancel),
                               77, MB_OK, false, TMsgDlgBtn::mbYes, true);
      },
      [&](TMessageForm& dlg) {
        TBitBtn* yes = &Button(dlg, "Yes");
        TBitBtn* noAll = &Button(dlg, "NoToAll");
        TBitBtn* yesAll = &Button(dlg, "YesToAll");
        TBitBtn* help = &Button(dlg, "Help");
        EXPECT_EQ(noAll->Width(), yes->Width() + 4);
        EXPECT_EQ(yesAll->Width(), yes->Width() + 4);
        for (TBitBtn* b : {yes, noAll, yesAll}) EXPECT_LT(b->Left(), help->Left()) << "Help is at the right end";
        EXPECT_EQ(help->Kind(), TBitBtnKind::bkHelp);
        EXPECT_EQ(dlg.HelpContext, 77);
        // Image buttons are listed right to left, the first in the row is first in tab order.
        std::vector<TBitBtn*> listed;
        for (TWinControl* c : dlg.Controls()) {
          if (auto* b = dynamic_cast<TBitBtn*>(c)) listed.push_back(b);
        }
        ASSERT_EQ(listed.size(), 5u);
        EXPECT_EQ(listed.front(), help);
        EXPECT_EQ(listed.back(), yes);
        std::vector<TWinControl*> tabs = dlg.TabList();
        auto firstButton = std::find_if(tabs.begin(), tabs.end(), [](TWinControl* c) { return c->Is<TBitBtn>(); });
        EXPECT_EQ(*firstButton, yes);
        Button(dlg, "Cancel").Click();
      });
  EXPECT_TRUE(seen);
  EXPECT_EQ(result, mrCancel);
}

TEST(MsgDialog, CustomCaptionsCountFromTheRight) {
  bool seen = WithDialog(
      [] {
        ShowMsgDialog("Save?", "Save", TMsgDlgType::mtConfirmation,
                      ButtonBit(TMsgDlgBtn::mbYes) | ButtonBit(TMsgDlgBtn::mbNo) | ButtonBit(TMsgDlgBtn::mbCancel), 0,
                      MB_OK, false, TMsgDlgBtn::mbYes, true, "Keep", "", "Save it");
      },
      [](TMessageForm& dlg) {
        EXPECT_EQ(Button(dlg, "Cancel").Caption(), "Keep");
        EXPECT_EQ(Button(dlg, "No").Caption(), "&No");
        EXPECT_EQ(Button(dlg, "Yes").Caption(), "Save it");
        Button(dlg, "No").Click();
      });
  EXPECT_TRUE(seen);
}

TEST(MsgDialog, NonModalWaitsAndUsesTheStack) {
  int32_t result = -5;
  bool seen = WithDialog(
      [&] {
        result = ShowMsgDialog("Working", "Info", TMsgDlgType::mtInformation,
                               ButtonBit(TMsgDlgBtn::mbYes) | ButtonBit(TMsgDlgBtn::mbNo), 0, MB_YESNO, false,
                               TMsgDlgBtn::mbYes, false);
      },
      [&](TMessageForm& dlg) {
        EXPECT_EQ(ModelessStack().size(), 1u);
        EXPECT_EQ(Button(dlg, "Yes").Caption(), "Yes") << "ampersands removed for non-modal dialogs";
        Button(dlg, "No").Click();
      });
  EXPECT_TRUE(seen);
  EXPECT_EQ(result, mrNo);
  EXPECT_TRUE(ModelessStack().empty());

  seen = WithDialog([&] {
        result = ShowMsgDialog("Gone", "Info", TMsgDlgType::mtInformation, ButtonBit(TMsgDlgBtn::mbOK), 0, MB_OK,
                               false, TMsgDlgBtn::mbOK, false);
      },
      [&](TMessageForm& dlg) { DestroyWindow(dlg.HandleIfCreated()); });
  EXPECT_TRUE(seen);
  EXPECT_EQ(result, -1) << "destroyed before it was closed";
  EXPECT_TRUE(ModelessStack().empty());
}

namespace {
void CALLBACK AnswerSystemBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = FindWindowA("#32770", "Broken");
  if (!box) return;
  KillTimer(nullptr, id);
  LONG ex = GetWindowLongA(box, GWL_EXSTYLE);
  EXPECT_NE(ex & WS_EX_TOPMOST, 0) << "system-modal box stays on top";
  PostMessageA(box, WM_COMMAND, IDNO, 0);
}
}  // namespace

TEST(MsgDialog, FailureFallsBackToTheSystemMessageBox) {
  SetTimer(nullptr, 0, 50, AnswerSystemBox);
  // A dialog type outside the table makes the builder fail.
  int32_t result = ShowMsgDialog("Still asked", "Broken", static_cast<TMsgDlgType>(9),
                                 ButtonBit(TMsgDlgBtn::mbYes) | ButtonBit(TMsgDlgBtn::mbNo), 0, MB_YESNO, false,
                                 TMsgDlgBtn::mbYes, true);
  EXPECT_EQ(result, IDNO);
}

TEST(MsgDialog, ErrorReporterShowsEscapedExceptions) {
  EXPECT_EQ(TExceptionHandler::TextFor(Exception("Disk full")), "Disk full.");
  EXPECT_EQ(TExceptionHandler::TextFor(ERangeError("Range check error", 0x401000)), "Range check error at 00401000.");
  EXPECT_EQ(TExceptionHandler::TextFor(EDivByZero("Division by zero", 0x401000)), "Division by zero.");

  // An exception escaping an event handler is reported in an "Error" dialog and the loop goes on.
  TForm form(nullptr);
  form.SetClientSize(200, 100);
  auto* b = form.Create<TButton>();
  b->SetParent(&form);
  b->SetBounds(10, 10, 80, 25);
  b->OnClick = [](TComponent&) { throw Exception("Something broke"); };
  form.Show();
  std::string shown;
  bool seen = WithDialog([&] { PostMessageA(b->Handle(), BM_CLICK, 0, 0); Pump(1500); },
                         [&](TMessageForm& dlg) {
                           shown = dlg.Find<TLabel>("Message")->Caption();
                           char title[64];
                           GetWindowTextA(dlg.HandleIfCreated(), title, sizeof title);
                           EXPECT_STREQ(title, "Error");
                           PressKey(VK_RETURN);
                         });
  EXPECT_TRUE(seen);
  EXPECT_EQ(shown, "Something broke.");
  EXPECT_TRUE(IsWindow(form.HandleIfCreated()));
}

namespace {
std::string ClipboardText() {
  std::string text;
  if (OpenClipboard(nullptr)) {
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
      if (const char* p = static_cast<const char*>(GlobalLock(h))) {
        text = p;
        GlobalUnlock(h);
      }
    }
    CloseClipboard();
  }
  return text;
}

void SendCtrlC() {
  INPUT in[4]{};
  for (INPUT& i : in) i.type = INPUT_KEYBOARD;
  in[0].ki.wVk = VK_CONTROL;
  in[1].ki.wVk = 'C';
  in[2].ki.wVk = 'C';
  in[2].ki.dwFlags = KEYEVENTF_KEYUP;
  in[3].ki.wVk = VK_CONTROL;
  in[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, in, sizeof(INPUT));
}
}  // namespace

TEST(MsgDialog, CtrlCCopiesCaptionMessageAndButtons) {
  std::string copied;
  bool seen = WithDialog([] { Confirm("Save & close?", 0, true); },
                         [&](TMessageForm& dlg) {
                           SetForegroundWindow(dlg.HandleIfCreated());
                           Pump(100);
                           SendCtrlC();
                           Pump(300);
                           copied = ClipboardText();
                           Button(dlg, "No").Click();
                         });
  EXPECT_TRUE(seen);
  const std::string div = std::string(27, '-') + "\r\n";
  EXPECT_EQ(copied, div + "Question\r\n" + div + "Save && close?\r\n" + div + "No   Yes   \r\n" + div);
}
