// The main window against its layout table, the online registration through a fake shell, and
// silent mode as the program's start runs it.
#include <gtest/gtest.h>

#include <fstream>

#include "../Win32TestSupport.h"
#include "app/Main.h"
#include "app/Program.h"
#include "framework/Handles.h"
#include "framework/StdCtrls.h"
#include "skin/engine/SkinManagerSeam.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {
struct Call {
  HWND owner;
  std::string operation, file;
  bool noParams, noDir;
  int show;
};
class FakeShell : public IShell {
 public:
  FakeShell(uintptr_t answer, std::vector<Call>* calls) : answer_(answer), calls_(calls) {}
  uintptr_t Execute(HWND owner, const char* op, const std::string& file, const char* params, const char* dir,
                    int show) override {
    calls_->push_back({owner, op, file, params == nullptr, dir == nullptr, show});
    return answer_;
  }

 private:
  uintptr_t answer_;
  std::vector<Call>* calls_;
};
}  // namespace

TEST(MainForm, MatchesItsLayoutTable) {
  std::vector<Call> calls;
  TMainForm form(nullptr, std::make_unique<FakeShell>(33, &calls));
  HWND h = form.Handle();
  RECT cr;
  GetClientRect(h, &cr);
  EXPECT_EQ(cr.right, 418);
  EXPECT_EQ(cr.bottom, 275);
  LONG style = GetWindowLongA(h, GWL_STYLE);
  EXPECT_NE(style & WS_SYSMENU, 0);
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
  char caption[64];
  GetWindowTextA(h, caption, sizeof caption);
  EXPECT_STREQ(caption, "Zelvo Program Registration");
  EXPECT_EQ(form.Font.name, "MS Sans Serif");
  EXPECT_EQ(form.Font.height, -11);
  EXPECT_EQ(form.Color, clBtnFace);
  EXPECT_NE(form.Icon, nullptr);
  EXPECT_EQ(form.Position, TPosition::poScreenCenter);

  auto* image = form.Find<TImage>("BackImage");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Align, TAlign::alClient);
  BITMAP bm{};
  GetObjectA(image->Bitmap(), sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 418);
  EXPECT_EQ(bm.bmHeight, 275);
  EXPECT_EQ(bm.bmBitsPixel, 24);

  auto* button = form.Find<TButton>("Button1");
  ASSERT_NE(button, nullptr);
  EXPECT_STREQ(button->ClassName(), "TButton");
  EXPECT_EQ(button->Caption(), "Register Now!");
  EXPECT_EQ((std::vector<int>{button->Left(), button->Top(), button->Width(), button->Height()}),
            (std::vector<int>{160, 242, 97, 25}));
  EXPECT_TRUE(button->Default);
  EXPECT_EQ(button->TabOrder(), 0);
  EXPECT_EQ(form.BoundHandler("Button1"), "BRegisterOnlineClick");
  EXPECT_EQ(form.BoundHandler("MainForm"), "FormCreate");
  // The controls were created in the table's order.
  std::vector<TComponent*> comps = form.Components();
  ASSERT_GE(comps.size(), 2u);
  EXPECT_EQ(comps[0], image);
  EXPECT_EQ(comps[1], button);
}

TEST(MainForm, ShellAnswer33SucceedsAndClosesTheWindow) {
  std::vector<Call> calls;
  TMainForm form(nullptr, std::make_unique<FakeShell>(33, &calls));
  form.Show();
  EXPECT_FALSE(WithDialog([&] { form.BRegisterOnlineClick(); }, [](TMessageForm& d) { d.Close(); }, 600));
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].operation, "open");
  EXPECT_EQ(calls[0].file, kDefaultRegistrationPage);
  EXPECT_EQ(calls[0].show, SW_HIDE);
  EXPECT_TRUE(calls[0].noParams && calls[0].noDir);
  EXPECT_EQ(calls[0].owner, Application->Handle()) << "owned by the application's hidden window";
  EXPECT_FALSE(form.Visible());
}

TEST(MainForm, ShellAnswer32FailsShowsTheErrorAndRetriesTheSameAddress) {
  std::vector<Call> calls;
  TMainForm form(nullptr, std::make_unique<FakeShell>(32, &calls));
  form.Show();
  std::string message;
  bool seen = WithDialog([&] { form.BRegisterOnlineClick(); },
                         [&](TMessageForm& dlg) {
                           message = dlg.Find<TLabel>("Message")->Caption();
                           PressKey(VK_RETURN);
                         });
  EXPECT_TRUE(seen);
  EXPECT_EQ(message, "Error connecting to registration web page.");
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(form.Settings().pageAddress, kDefaultRegistrationPage);
  EXPECT_TRUE(WithDialog([&] { form.BRegisterOnlineClick(); }, [](TMessageForm&) { PressKey(VK_RETURN); }));
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].file, calls[0].file);
}

TEST(MainForm, NonWebAddressesNeverReachTheShell) {
  std::vector<Call> calls;
  TMainForm form(nullptr, std::make_unique<FakeShell>(42, &calls));
  // A settings file could name a program; the shell must not be asked to open it.
  const_cast<TRegistrationSettings&>(form.Settings()).pageAddress = "C:\\Windows\\notepad.exe";
  form.Show();
  EXPECT_TRUE(WithDialog([&] { form.BRegisterOnlineClick(); }, [](TMessageForm&) { PressKey(VK_RETURN); }));
  EXPECT_TRUE(calls.empty());
  EXPECT_TRUE(form.Visible());
}

TEST(MainForm, AddressesLongerThanBrowsersTakeNeverReachTheShell) {
  std::vector<Call> calls;
  TMainForm form(nullptr, std::make_unique<FakeShell>(32, &calls));
  auto& settings = const_cast<TRegistrationSettings&>(form.Settings());
  settings.sku = "L-1";
  std::string page = "https://www.example.com/register.asp?pad=";
  page.resize(2083 - settings.sku.size(), 'x');
  settings.pageAddress = page + "x";  // 2,084 with the SKU
  form.Show();
  std::string message;
  EXPECT_TRUE(WithDialog([&] { form.BRegisterOnlineClick(); },
                         [&](TMessageForm& dlg) {
                           message = dlg.Find<TLabel>("Message")->Caption();
                           PressKey(VK_RETURN);
                         }));
  EXPECT_EQ(message, "Error connecting to registration web page.");
  EXPECT_TRUE(calls.empty());
  settings.pageAddress = page;  // 2,083: handed on whole, with the verb, the owner and SW_HIDE
  EXPECT_TRUE(WithDialog([&] { form.BRegisterOnlineClick(); }, [](TMessageForm&) { PressKey(VK_RETURN); }));
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].file.size(), 2083u);
  EXPECT_EQ(calls[0].operation, "open");
  EXPECT_EQ(calls[0].show, SW_HIDE);
  EXPECT_EQ(calls[0].owner, Application->Handle());
}

TEST(MainForm, EnterPressesRegisterNow) {
  std::vector<Call> calls;
  TMainForm form(nullptr, std::make_unique<FakeShell>(33, &calls));
  form.Show();
  Pump(100);
  PressKey(VK_RETURN);
  Pump(300);
  EXPECT_EQ(calls.size(), 1u);
}

// ---------------------------------------------------------------------------------------------
// Silent mode, decided by the program's start before any window exists. Each case is a program
// start of its own: an application object with its error reporter (the tests' own application is
// put back afterwards) and, while the case runs, a settings file beside the test program.

namespace {
BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}
}  // namespace

class SilentStart : public testing::Test {
 protected:
  void SetUp() override {
    outer_ = Application;
    app_ = std::make_unique<TApplication>();
    reporter_ = std::make_unique<TExceptionHandler>(*app_);
  }
  void TearDown() override {
    reporter_.reset();
    app_.reset();
    Application = outer_;
    DeleteFileA(settingsPath_.c_str());
    MSG msg;  // the quit message of the program that ended is not the tests'
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
  void WriteSettings(const std::string& text) { std::ofstream(settingsPath_, std::ios::binary) << text; }
  TProgramForms Start(std::vector<std::string> args, uintptr_t shellAnswer) {
    return CreateProgramForms(*app_, std::move(args), std::make_unique<FakeShell>(shellAnswer, &calls_));
  }
  static int ThreadWindows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
  }

  const std::string settingsPath_ = SettingsFilePath(ProgramPath());
  std::vector<Call> calls_;
  std::unique_ptr<TApplication> app_;

 private:
  TApplication* outer_ = nullptr;
  std::unique_ptr<TExceptionHandler> reporter_;
};

TEST_F(SilentStart, HandsTheAddressToTheShellWithoutMakingAnyWindow) {
  WriteSettings("[General]\r\nSKU=S-9\r\n");
  const int windows = ThreadWindows();
  const TProgramForms forms = Start({"SiLeNt", "Zelvo Notes"}, 33);
  EXPECT_EQ(ThreadWindows(), windows) << "not even the application's hidden window";
  EXPECT_EQ(app_->Handle(), nullptr);
  EXPECT_TRUE(app_->Terminated());
  EXPECT_EQ(forms.Main, nullptr);
  EXPECT_EQ(forms.Register, nullptr);
  EXPECT_TRUE(app_->Forms().empty());
  ASSERT_EQ(calls_.size(), 1u);
  EXPECT_EQ(calls_[0].file, std::string(kDefaultRegistrationPage) + "S-9");
  EXPECT_EQ(calls_[0].operation, "open");
  EXPECT_EQ(calls_[0].show, SW_HIDE);
  EXPECT_TRUE(calls_[0].noParams && calls_[0].noDir);
  EXPECT_EQ(calls_[0].owner, nullptr);
}

TEST_F(SilentStart, ARefusalIsShownInTheProgramsSkinAndThenTheProgramEnds) {
  TProgramForms forms;
  std::string message;
  bool skinServed = false;
  EXPECT_TRUE(WithDialog([&] { forms = Start({"silent"}, 32); },
                         [&](TMessageForm& dlg) {
                           message = dlg.Find<TLabel>("Message")->Caption();
                           // The program's skin component has handed over and asked for the hook,
                           // as the main window's does in a normal start.
                           auto* m = dynamic_cast<TNullSkinManager*>(SkinManager());
                           skinServed = m && m->Registered().size() == 1 && m->HookInstalled() &&
                                        m->SkinningEnabled();
                           PressKey(VK_RETURN);
                         }));
  EXPECT_EQ(message, "Error connecting to registration web page.");
  EXPECT_TRUE(skinServed);
  EXPECT_EQ(calls_.size(), 1u) << "the shell is asked once";
  EXPECT_TRUE(app_->Terminated());
  EXPECT_EQ(forms.Main, nullptr);
  EXPECT_EQ(forms.Register, nullptr);
  EXPECT_TRUE(app_->Forms().empty()) << "no main window, no registration form";
}

TEST_F(SilentStart, AnUnreadableSettingsFileIsReportedAndTheProgramStartsNormally) {
  WriteSettings("[General]\r\nSKU=S-9\r\n");
  // Another program holds the file open and lets nobody else read it.
  const UniqueFileHandle held(
      CreateFileA(settingsPath_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);
  TProgramForms forms;
  std::string message;
  EXPECT_TRUE(WithDialog([&] { forms = Start({"silent"}, 33); },
                         [&](TMessageForm& dlg) {
                           message = dlg.Find<TLabel>("Message")->Caption();
                           PressKey(VK_RETURN);
                         }));
  EXPECT_EQ(message.rfind("Cannot open file", 0), 0u) << message;
  EXPECT_TRUE(calls_.empty()) << "the silent-mode test never ran";
  EXPECT_FALSE(app_->Terminated());
  ASSERT_NE(forms.Main, nullptr);
  EXPECT_NE(forms.Register, nullptr);
  EXPECT_EQ(app_->MainForm(), forms.Main);
  EXPECT_TRUE(forms.Main->Settings().sku.empty());
}
