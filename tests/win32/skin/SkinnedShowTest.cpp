// A skinned window appears finished. From the first WM_SHOWWINDOW of a window until it has been
// painted, this thread's messages are watched; at the first moment the window is on the screen
// (visible, and not a layered window the system has no attributes for, which it does not display)
// the window already has the skinned frame's style (system menu and caption bits stripped), its
// shape (window region) and its final size, and it and every visible child have had their first
// WM_PAINT with nothing left to paint. Checked for the program's windows skinned through the real
// manager and hook: a framework form at its first and a later show, the main window, the
// registration form, the program's message dialog and a system message box.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "../Win32TestSupport.h"
#include "app/Main.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "reginfo/RegInfo.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinManage.h"
#include "skin/engine/WindowFacts.h"
#include "util/WinUtil.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {

// On the screen: visible, and not held back as a layered window without attributes.
bool Displayed(HWND h) {
  if (!IsWindowVisible(h)) return false;
  if ((GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_LAYERED) == 0) return true;
  BYTE alpha = 0;
  DWORD flags = 0;
  return GetLayeredWindowAttributes(h, nullptr, &alpha, &flags) != FALSE;
}

// Records, for the first top-level window of a class that is shown while it lives, the state at
// the first moment that window is on the screen. Every message sent to a window procedure of this
// thread (before and after it runs) and every message the thread takes from its queue is a moment
// at which the state is read.
class TShowRecorder {
 public:
  struct TSnapshot {
    bool taken = false;
    bool owned = false;
    DWORD style = 0;
    bool region = false;
    RECT window{}, client{};
    std::vector<std::string> unpainted;  // class names of windows not yet painted
  };

  explicit TShowRecorder(std::string className) : className_(std::move(className)) {
    current_ = this;
    const DWORD thread = GetCurrentThreadId();
    hooks_[0] = SetWindowsHookExA(WH_CALLWNDPROC, &Sent, nullptr, thread);
    hooks_[1] = SetWindowsHookExA(WH_CALLWNDPROCRET, &Returned, nullptr, thread);
    hooks_[2] = SetWindowsHookExA(WH_GETMESSAGE, &Taken, nullptr, thread);
  }
  ~TShowRecorder() {
    for (HHOOK h : hooks_)
      if (h) UnhookWindowsHookEx(h);
    if (current_ == this) current_ = nullptr;
  }
  TShowRecorder(const TShowRecorder&) = delete;
  TShowRecorder& operator=(const TShowRecorder&) = delete;

  HWND Window() const { return window_; }
  const std::string& ClassName() const { return className_; }
  const TSnapshot& FirstOnScreen() const { return first_; }
  // On the screen with nothing of it left to paint.
  bool Finished() {
    Sample();
    return first_.taken && Unpainted().empty();
  }
  void Sample() {
    if (!window_ || first_.taken || !IsWindow(window_) || !Displayed(window_)) return;
    first_.taken = true;
    first_.owned = GetWindow(window_, GW_OWNER) != nullptr;
    first_.style = static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE));
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    first_.region = GetWindowRgn(window_, probe) != ERROR;
    DeleteObject(probe);
    GetWindowRect(window_, &first_.window);
    GetClientRect(window_, &first_.client);
    first_.unpainted = Unpainted();
  }

 private:
  std::vector<std::string> Unpainted() const {
    std::vector<HWND> tree = Descendants(window_);
    tree.push_back(window_);
    std::vector<std::string> out;
    for (HWND h : tree) {
      RECT client{};
      if (!IsWindowVisible(h) || !GetClientRect(h, &client) || IsRectEmpty(&client)) continue;
      if (!paintTaken_.count(h) || GetUpdateRect(h, nullptr, FALSE)) out.push_back(WindowClassName(h));
    }
    return out;
  }
  void Seen(HWND h, UINT msg, WPARAM wp) {
    if (!window_ && msg == WM_SHOWWINDOW && wp && (GetWindowLongA(h, GWL_STYLE) & WS_CHILD) == 0 &&
        WindowClassName(h) == className_) {
      window_ = h;
    }
    if (msg == WM_PAINT) paintTaken_.insert(h);
    Sample();
  }
  static LRESULT CALLBACK Sent(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && current_) {
      const auto* c = reinterpret_cast<const CWPSTRUCT*>(lp);
      current_->Seen(c->hwnd, c->message, c->wParam);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static LRESULT CALLBACK Returned(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && current_) current_->Sample();
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static LRESULT CALLBACK Taken(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == PM_REMOVE && current_) {
      const auto* m = reinterpret_cast<const MSG*>(lp);
      current_->Seen(m->hwnd, m->message, m->wParam);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }

  static inline TShowRecorder* current_ = nullptr;
  std::string className_;
  HHOOK hooks_[3] = {};
  HWND window_ = nullptr;
  std::set<HWND> paintTaken_;
  TSnapshot first_;
};

// Dispatches messages until the recorded window is finished, at most `ms`.
bool PumpUntilFinished(TShowRecorder& recorder, int ms = 3000) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (static_cast<int>(end - GetTickCount()) > 0) {
    if (recorder.Finished()) return true;
    PumpFor(10);
  }
  return recorder.Finished();
}

// Closes a modal window once the recorder has seen it finished (or after three seconds whatever
// it has seen), from a thread timer its own message loop services.
TShowRecorder* g_closing = nullptr;
int g_closeTicks = 0;
struct TFound {
  const std::string& className;
  HWND window = nullptr;
};
BOOL CALLBACK FindShown(HWND h, LPARAM lp) {
  auto* found = reinterpret_cast<TFound*>(lp);
  if (IsWindowVisible(h) && WindowClassName(h) == found->className) found->window = h;
  return TRUE;
}
void CALLBACK CloseWhenFinished(HWND, UINT, UINT_PTR id, DWORD) {
  if (!g_closing) {
    KillTimer(nullptr, id);
    return;
  }
  HWND h = g_closing->Window();
  const bool finished = h && g_closing->Finished();
  if (!finished && ++g_closeTicks < 200) return;
  if (!h) {
    TFound found{g_closing->ClassName()};
    EnumThreadWindows(GetCurrentThreadId(), &FindShown, reinterpret_cast<LPARAM>(&found));
    h = found.window;
    if (!h) return;
  }
  KillTimer(nullptr, id);
  g_closing = nullptr;
  if (WindowClassName(h) == "#32770")
    PostMessageA(h, WM_COMMAND, IDOK, 0);
  else
    PostMessageA(h, WM_CLOSE, 0, 0);
}
void RunModal(TShowRecorder& recorder, const std::function<void()>& modal) {
  g_closing = &recorder;
  g_closeTicks = 0;
  SetTimer(nullptr, 0, 15, &CloseWhenFinished);
  modal();
  g_closing = nullptr;
}

// The skinned frame's look was complete when the window first reached the screen: caption bits
// the skin strips gone, the shape set, the size it keeps, and every visible window of it painted.
void ExpectAppearedFinished(const TShowRecorder& recorder, const char* what) {
  SCOPED_TRACE(what);
  HWND h = recorder.Window();
  ASSERT_NE(h, nullptr) << "the window was never shown";
  const TShowRecorder::TSnapshot& at = recorder.FirstOnScreen();
  ASSERT_TRUE(at.taken) << "the window never reached the screen";
  // An owned window loses its system caption buttons, an unowned one its caption bits.
  if (at.owned) {
    EXPECT_EQ(at.style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u) << "system caption buttons still set";
  } else {
    EXPECT_EQ(at.style & WS_CAPTION, 0u) << "the caption bits still set";
  }
  EXPECT_TRUE(at.region) << "no window region yet";
  std::string unpainted;
  for (const std::string& name : at.unpainted) unpainted += name + " ";
  EXPECT_TRUE(at.unpainted.empty()) << "on the screen before these were painted: " << unpainted;
  if (!IsWindow(h)) return;
  // Nothing was sized after it appeared.
  RECT wr{}, cr{};
  GetWindowRect(h, &wr);
  GetClientRect(h, &cr);
  EXPECT_EQ(at.window.right - at.window.left, wr.right - wr.left);
  EXPECT_EQ(at.window.bottom - at.window.top, wr.bottom - wr.top);
  EXPECT_EQ(at.client.right, cr.right);
  EXPECT_EQ(at.client.bottom, cr.bottom);
}

class TNoShell : public IShell {
 public:
  uintptr_t Execute(HWND, const char*, const std::string&, const char*, const char*, int) override { return 33; }
};

// The program's skin component as the main window stores it, handed over to a new real manager.
class SkinnedShowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DestroySkinManager();
    UseSkinManage();
  }
  void TearDown() override {
    skin.reset();
    DestroySkinManager();
  }
  void LoadProgramSkin() {
    skin = std::make_unique<TSkinData>(nullptr);
    skin->ReadStored(MainSkinSettings());
    skin->Loaded();
    ASSERT_FALSE(skin->SkinEmpty());
  }
  std::unique_ptr<TSkinData> skin;
};

TEST_F(SkinnedShowTest, FormAppearsFinishedAtItsFirstAndALaterShow) {
  LoadProgramSkin();
  TForm form(nullptr);
  form.SetCaption("Shown");
  form.BorderStyle = TFormBorderStyle::bsSingle;
  form.SetBounds(120, 120, 360, 220);
  auto* button = form.Create<TButton>();
  button->SetParent(&form);
  button->SetBounds(20, 120, 90, 25);
  button->SetCaption("OK");
  auto* edit = form.Create<TEdit>();
  edit->SetParent(&form);
  edit->SetBounds(20, 20, 200, 22);
  for (const char* when : {"first show", "second show"}) {
    TShowRecorder recorder("TForm");
    form.Show();
    EXPECT_TRUE(PumpUntilFinished(recorder)) << when;
    ExpectAppearedFinished(recorder, when);
    form.Hide();
    PumpFor(30);
  }
}

TEST_F(SkinnedShowTest, ProgramWindowsAppearFinished) {
  {
    TShowRecorder recorder("TMainForm");
    TMainForm main(nullptr, std::make_unique<TNoShell>());
    main.DoCreate();
    main.Show();
    EXPECT_TRUE(PumpUntilFinished(recorder));
    ExpectAppearedFinished(recorder, "main window");
    main.Hide();
  }
  LoadProgramSkin();
  {
    TShowRecorder recorder("TRegisterForm");
    TRegisterForm form(nullptr, std::vector<std::string>{"Zelvo Notes"});
    form.DoCreate();
    form.Show();
    EXPECT_TRUE(PumpUntilFinished(recorder));
    ExpectAppearedFinished(recorder, "registration form");
    form.Hide();
  }
  {
    TShowRecorder recorder("TMessageForm");
    RunModal(recorder, [] { ShowError("Something went wrong", 0, true); });
    ExpectAppearedFinished(recorder, "message dialog");
  }
  {
    TShowRecorder recorder("#32770");
    RunModal(recorder, [] { MessageBoxA(nullptr, "Body text", "Box title", MB_OK); });
    ExpectAppearedFinished(recorder, "system message box");
  }
}

}  // namespace
