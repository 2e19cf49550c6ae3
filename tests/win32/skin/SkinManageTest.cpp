// The skin manager under Wine, with real windows and its real hook and timer: which windows it
// skins and when, what it refuses, how skin objects end, the scheduled actions, popup menus.
//
// The per-window skin objects here are doubles behind the manager's ISkinWindow face: they
// subclass the window, answer SKIN_QUERY and record what the manager asks of them, so the tests
// see the manager's decisions in order.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "../Win32TestSupport.h"
#include "framework/Forms.h"
#include "skin/render/FormSkin_core.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinManage.h"
#include "skin/engine/WindowFacts.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {

using Log = std::vector<std::string>;

std::string TextOf(HWND h) {
  char buf[64] = {};
  GetWindowTextA(h, buf, sizeof buf);
  return buf;
}

// Records what the manager asks; subclasses the window like a real skin object would.
class FakeSkinWindow : public ISkinWindow {
 public:
  FakeSkinWindow(HWND h, TSkinData& data, TForm* form, Log& log, bool reachesDead)
      : h_(h), data_(data), form_(form), log_(log), name_(TextOf(h)), reachesDead_(reachesDead) {}
  ~FakeSkinWindow() override {
    Unhook();
    log_.push_back("free " + name_);
  }
  HWND Handle() const override { return h_; }
  TSkinData& SkinData() const override { return data_; }
  bool Dead() const override { return dead_; }
  void Attach() override {
    SetWindowSubclass(h_, &Proc, 1, reinterpret_cast<DWORD_PTR>(this));
    hooked_ = true;
    log_.push_back(std::string(form_ ? "attach form " : "attach window ") + name_);
  }
  void Detach() override {
    Unhook();
    log_.push_back("detach " + name_);
  }
  void DropCaptionButtons() override { log_.push_back("drop " + name_); }
  void Layout() override { log_.push_back("layout " + name_); }
  void Recolor() override { log_.push_back("recolor " + name_); }

 private:
  void Unhook() {
    if (hooked_) RemoveWindowSubclass(h_, &Proc, 1);
    hooked_ = false;
  }
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<FakeSkinWindow*>(ref);
    if (msg == SKIN_QUERY) return 1;
    if (msg == SKIN_INIT) {
      self->log_.push_back("init " + self->name_ + " " + std::to_string(wp) + " " + std::to_string(lp));
      return 0;
    }
    if (msg == WM_NCDESTROY) {
      self->Unhook();
      self->dead_ = self->reachesDead_;
      self->log_.push_back("ncdestroy " + self->name_);
    }
    return DefSubclassProc(h, msg, wp, lp);
  }

  HWND h_;
  TSkinData& data_;
  TForm* form_;
  Log& log_;
  std::string name_;
  bool reachesDead_;
  bool dead_ = false;
  bool hooked_ = false;
};

LRESULT CALLBACK PlainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(h, msg, wp, lp); }

const char* PlainClass() {
  static const char* name = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "ZelvoSkinManageTest";
    RegisterClassA(&wc);
    return "ZelvoSkinManageTest";
  }();
  return name;
}

// A top-level foreign window (not a framework form), hidden until shown.
HWND MakeWindow(const char* caption, int w = 200, int h = 120, DWORD style = WS_OVERLAPPEDWINDOW) {
  return CreateWindowExA(0, PlainClass(), caption, style, 40, 40, w, h, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void Activate(HWND h) {
  ShowWindow(h, SW_SHOW);
  SetForegroundWindow(h);
  SetActiveWindow(h);
  Pump(30);
}

size_t Count(const Log& log, const std::string& event) {
  return static_cast<size_t>(std::count(log.begin(), log.end(), event));
}

// The message box of a test, found and closed from inside its modal loop.
ISkinWindow* gBoxSkin = nullptr;
HWND gBox = nullptr;
BOOL CALLBACK FindBox(HWND h, LPARAM lp) {
  if (WindowClassName(h) == "#32770" && TextOf(h) == "Box title") *reinterpret_cast<HWND*>(lp) = h;
  return TRUE;
}
void CALLBACK ProbeMessageBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&found));
  if (!found) return;
  KillTimer(nullptr, id);
  gBox = found;
  gBoxSkin = TSkinManage::Instance()->FindSkinForm(found);
  PostMessageA(found, WM_COMMAND, IDOK, 0);
}

// A popup menu being tracked, inspected from inside the menu loop.
HMENU gMenu = nullptr;
bool gMenuFound = false, gMenuAnswered = false;
int gMenuBorderPixels = 0, gMenuBorderWrong = -1;  // the shown menu's border on the screen
void CALLBACK ProbeMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  TSkinManage* m = TSkinManage::Instance();
  TPopupMenuSkin* p = m ? m->FindPopupByMenu(gMenu) : nullptr;
  gMenuFound = p != nullptr;
  gMenuAnswered = p && SendMessageA(p->Handle(), SKIN_QUERY, 0, 0) == 1 && p->Background() != nullptr;
  if (p && gMenuAnswered) {
    // Compared with the skin's background rendered to the window's size, pixel by pixel.
    UpdateWindow(p->Handle());
    RECT wr{};
    GetWindowRect(p->Handle(), &wr);
    HDC dc = GetWindowDC(p->Handle());
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, p->Background());
    gMenuBorderPixels = 0;
    gMenuBorderWrong = 0;
    for (const TRectI& r : PopupMenuBorderRects(wr.right - wr.left, wr.bottom - wr.top))
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
          ++gMenuBorderPixels;
          gMenuBorderWrong += GetPixel(dc, x, y) != GetPixel(mem, x, y);
        }
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(p->Handle(), dc);
  }
  EndMenu();
}

class SkinManageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DestroySkinManager();
    UseSkinManage();
    main_ = MakeData(TSkinFormType::sfMainform);
    main_->Loaded();  // makes the manager, registers, installs the hook
    manager_ = TSkinManage::Instance();
    ASSERT_NE(manager_, nullptr);
    manager_->SetSkinWindowFactory([this](TSkinManage&, HWND h, TSkinData& d, TForm* f) {
      return std::make_unique<FakeSkinWindow>(h, d, f, log_, reachesDead_);
    });
  }
  void TearDown() override {
    for (HWND h : windows_) {
      if (IsWindow(h)) DestroyWindow(h);
    }
    DestroySkinManager();
    SetSkinManagerFactory(nullptr);
  }
  static std::unique_ptr<TSkinData> MakeData(TSkinFormType type, TComponent* owner = nullptr) {
    auto d = std::make_unique<TSkinData>(owner);
    d->SetSkinFormtype(type);
    d->ReadSkinStream(StoredSkinStream("MAINFORM_SKINSTREAM"));
    return d;
  }
  HWND Window(const char* caption, int w = 200, int h = 120, DWORD style = WS_OVERLAPPEDWINDOW) {
    HWND hwnd = MakeWindow(caption, w, h, style);
    windows_.push_back(hwnd);
    return hwnd;
  }
  // Skinning on, as the main component's Active does before the first activation.
  void SwitchOn() {
    main_->SetActive(true);
    ASSERT_TRUE(manager_->SkinningEnabled());
  }

  std::unique_ptr<TSkinData> main_;
  TSkinManage* manager_ = nullptr;
  Log log_;
  bool reachesDead_ = true;
  std::vector<HWND> windows_;
};

TEST_F(SkinManageTest, ActivationSkinsOnceAndPostsInit) {
  ASSERT_TRUE(manager_->HookInstalled());
  // Before skinning is switched on an activation only counts the manager as started.
  HWND early = Window("early");
  Activate(early);
  EXPECT_EQ(manager_->Started(), 1);
  EXPECT_TRUE(log_.empty());
  EXPECT_EQ(SendMessageA(early, SKIN_QUERY, 0, 0), 0);

  // Once started, switching on waits for the timer; the skin-all pass attaches framework forms
  // only, so the foreign window activated before stays as it is.
  main_->SetActive(true);
  EXPECT_FALSE(manager_->SkinningEnabled());
  EXPECT_TRUE(manager_->TimerRunning());
  Pump(400);
  ASSERT_TRUE(manager_->SkinningEnabled());
  EXPECT_TRUE(log_.empty());
  HWND a = Window("a");
  Activate(a);
  Pump(50);
  EXPECT_EQ(log_, (Log{"attach window a", "init a 0 1000"}));
  EXPECT_EQ(SendMessageA(a, SKIN_QUERY, 0, 0), 1);
  ASSERT_NE(manager_->FindSkinForm(a), nullptr);
  EXPECT_EQ(&manager_->FindSkinForm(a)->SkinData(), main_.get());

  // Activating it again, directly or through the hook, makes nothing new.
  EXPECT_FALSE(manager_->AttachWindow(a));
  Activate(early);
  Activate(a);
  EXPECT_EQ(Count(log_, "attach window a"), 1u);
  EXPECT_EQ(Count(log_, "attach window early"), 1u);
  EXPECT_EQ(manager_->SkinnedCount(), 2u);
}

TEST_F(SkinManageTest, DestroyedWindowIsDeadUnmatchedAndPurged) {
  SwitchOn();
  HWND a = Window("a");
  HWND b = Window("b");
  Activate(a);
  Activate(b);
  ASSERT_EQ(manager_->SkinnedCount(), 2u);

  DestroyWindow(a);
  // The object waits for the next purge but is no longer the skin of that handle.
  EXPECT_EQ(manager_->SkinnedCount(), 2u);
  EXPECT_EQ(manager_->FindSkinForm(a), nullptr);
  EXPECT_EQ(Count(log_, "free a"), 0u);
  manager_->Purge();
  EXPECT_EQ(manager_->SkinnedCount(), 1u);
  EXPECT_EQ(Count(log_, "free a"), 1u);
  EXPECT_NE(manager_->FindSkinForm(b), nullptr);

  // An object that never reaches Dead (its procedure was cut out of the chain) is still never
  // matched once the hook has seen its window go, and is not freed under a live procedure.
  reachesDead_ = false;
  HWND c = Window("c");
  Activate(c);
  ASSERT_NE(manager_->FindSkinForm(c), nullptr);
  DestroyWindow(c);
  EXPECT_EQ(manager_->FindSkinForm(c), nullptr);
  manager_->Purge();
  EXPECT_EQ(Count(log_, "free c"), 0u);
}

TEST_F(SkinManageTest, FormTagAndWindowSizeRules) {
  SwitchOn();
  TForm fixed(nullptr);
  fixed.Tag = 99;
  fixed.SetCaption("fixed");
  fixed.SetBounds(10, 10, 200, 150);
  fixed.Show();
  Pump(30);
  EXPECT_EQ(manager_->FindSkinForm(fixed.Handle()), nullptr);

  TForm skinned(nullptr);
  skinned.Tag = 199;  // the form rule is exact: no modulo
  skinned.SetCaption("skinned");
  skinned.SetBounds(10, 10, 200, 150);
  skinned.Show();
  Pump(30);
  EXPECT_NE(manager_->FindSkinForm(skinned.Handle()), nullptr);
  EXPECT_EQ(Count(log_, "attach form skinned"), 1u);

  // A zero-size window is passed over, then skinned at its next activation once it has a size.
  HWND empty = Window("empty", 0, 0, WS_POPUP);
  Activate(empty);
  EXPECT_EQ(manager_->FindSkinForm(empty), nullptr);
  SetWindowPos(empty, nullptr, 0, 0, 120, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Activate(skinned.Handle());
  Activate(empty);
  EXPECT_NE(manager_->FindSkinForm(empty), nullptr);

  // The application's hidden window and embedded children are never skinned.
  EXPECT_FALSE(manager_->AttachWindow(Application->Handle()));
  HWND child = CreateWindowExA(0, PlainClass(), "child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, empty, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  EXPECT_FALSE(manager_->AttachWindow(child));
  fixed.Hide();
  skinned.Hide();
}

TEST_F(SkinManageTest, SizeGripRefusedOnlyInsideASkinnedWindow) {
  SwitchOn();
  HWND plain = Window("plain");
  ShowWindow(plain, SW_SHOWNOACTIVATE);  // never activated: not skinned
  HWND skinned = Window("skinned");
  Activate(skinned);
  ASSERT_NE(manager_->FindSkinForm(skinned), nullptr);
  ASSERT_EQ(manager_->FindSkinForm(plain), nullptr);

  auto makeBar = [](HWND parent, DWORD style) {
    return CreateWindowExA(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | style, 0, 0, 16, 16, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  };
  EXPECT_EQ(makeBar(skinned, SBS_SIZEGRIP), nullptr);
  EXPECT_NE(makeBar(skinned, SBS_VERT), nullptr);
  EXPECT_NE(makeBar(plain, SBS_SIZEGRIP), nullptr);
}

TEST_F(SkinManageTest, ActiveOffUnskinsAfterTheTimerAndOnAgainReskinsForms) {
  SwitchOn();
  int changed = 0;
  main_->OnSkinChanged = [&](TComponent&) { ++changed; };
  HWND other = Window("other");
  Activate(other);
  TForm form(nullptr);
  form.SetCaption("form");
  form.SetBounds(10, 10, 220, 160);
  form.Show();
  Activate(form.Handle());
  ASSERT_EQ(manager_->SkinnedCount(), 2u);
  ASSERT_EQ(manager_->SkinnedAt(0)->Handle(), other);
  log_.clear();

  main_->SetActive(false);
  EXPECT_TRUE(manager_->TimerRunning());
  EXPECT_TRUE(log_.empty());  // nothing before the timer fires
  EXPECT_EQ(changed, 0);
  Pump(400);
  // Every window detached, last attached first, then the event.
  EXPECT_EQ(log_, (Log{"detach form", "free form", "detach other", "free other"}));
  EXPECT_EQ(changed, 1);
  EXPECT_FALSE(manager_->SkinningEnabled());
  EXPECT_EQ(manager_->SkinnedCount(), 0u);
  EXPECT_EQ(SendMessageA(form.Handle(), SKIN_QUERY, 0, 0), 0);
  // Activations while switched off skin nothing.
  Activate(other);
  EXPECT_EQ(manager_->SkinnedCount(), 0u);

  // On again: the application's visible forms are attached (the forced pass); a foreign window
  // waits for its next activation.
  log_.clear();
  main_->SetActive(true);
  Pump(400);
  EXPECT_EQ(Count(log_, "attach form form"), 1u);
  EXPECT_EQ(Count(log_, "attach window other"), 0u);
  EXPECT_EQ(changed, 2);
  // "other" is still the active window: only a new activation reaches the hook.
  Activate(form.Handle());
  Activate(other);
  EXPECT_EQ(Count(log_, "attach window other"), 1u);

  form.Hide();
}

TEST_F(SkinManageTest, NewSkinRelayoutsEveryWindowThenRecolours) {
  SwitchOn();
  HWND a = Window("a");
  HWND b = Window("b");
  Activate(a);
  Activate(b);
  log_.clear();
  manager_->SetPending(main_.get());
  manager_->Schedule(TSkinAction::SkinChanged, 250);
  Pump(400);
  EXPECT_EQ(log_, (Log{"drop a", "layout a", "drop b", "layout b", "recolor a", "recolor b"}));
}

// A component that serves only its own form: each scheduled action reaches that form's window
// and no other. A new skin relayouts and recolours it alone, unskinning detaches it alone, and
// skinning attaches it again but not the application's other visible form.
TEST_F(SkinManageTest, OnlyThisFormActionsReachItsOwnFormAlone) {
  SwitchOn();
  TForm mine(nullptr), theirs(nullptr);
  mine.SetCaption("mine");
  mine.SetBounds(10, 10, 220, 160);
  theirs.SetCaption("theirs");
  theirs.SetBounds(60, 60, 220, 160);
  auto only = MakeData(TSkinFormType::sfOnlyThisForm, &mine);
  only->Loaded();  // registered before its form shows, so the form is skinned with it
  mine.Show();
  Activate(mine.Handle());
  HWND other = Window("other");
  Activate(other);
  ASSERT_EQ(manager_->SkinnedCount(), 2u);
  ASSERT_EQ(&manager_->FindSkinForm(mine.Handle())->SkinData(), only.get());
  auto run = [&](TSkinAction action) {
    log_.clear();
    manager_->SetPending(only.get());
    manager_->Schedule(action, 250);
    Pump(400);
    return log_;
  };

  EXPECT_EQ(run(TSkinAction::SkinChanged), (Log{"drop mine", "layout mine", "recolor mine"}));
  EXPECT_EQ(run(TSkinAction::UnskinAll), (Log{"detach mine", "free mine"}));
  EXPECT_NE(manager_->FindSkinForm(other), nullptr) << "the main component's window stays skinned";
  theirs.Show();  // skinning is off now: it stays as it is
  ASSERT_EQ(manager_->FindSkinForm(theirs.Handle()), nullptr);
  EXPECT_EQ(run(TSkinAction::SkinAll), (Log{"attach form mine", "init mine 0 1000"}));
  EXPECT_EQ(manager_->FindSkinForm(theirs.Handle()), nullptr);

  theirs.Hide();
  mine.Hide();
}

TEST_F(SkinManageTest, ChoosesTheComponentForEachWindow) {
  SwitchOn();
  // Without a dialog component a message box gets the main one.
  EXPECT_EQ(manager_->ChooseSkinData(nullptr, "#32770"), main_.get());
  auto dialog = MakeData(TSkinFormType::sfDialog);
  dialog->Loaded();
  auto later = MakeData(TSkinFormType::sfDialog);
  later->Loaded();
  EXPECT_EQ(manager_->ChooseSkinData(nullptr, "TMessageForm"), later.get());  // the last registered wins
  EXPECT_EQ(manager_->ChooseSkinData(nullptr, "TMainForm"), main_.get());
  later.reset();  // unregisters

  // A real system message box, checked and closed from a thread timer its own loop services.
  gBoxSkin = nullptr;
  gBox = nullptr;
  const UINT_PTR probe = SetTimer(nullptr, 0, 150, &ProbeMessageBox);
  MessageBoxA(nullptr, "Body", "Box title", MB_OK);
  KillTimer(nullptr, probe);
  ISkinWindow* seen = gBoxSkin;
  HWND box = gBox;
  ASSERT_NE(box, nullptr);
  ASSERT_NE(seen, nullptr);
  EXPECT_EQ(&seen->SkinData(), dialog.get());

  // The form filter: the main component's handler decides; without one month calendars fail.
  EXPECT_FALSE(manager_->PassesFormFilter("SysMonthCal32"));
  EXPECT_TRUE(manager_->PassesFormFilter("TfrPreview"));
  main_->SetSkinControls(TSkinControlTypes(kDefaultSkinControls).Include(TSkinControlType::xcFastReport));
  EXPECT_FALSE(manager_->PassesFormFilter("TfrPreview"));
  main_->OnFormSkin = [](TComponent&, const std::string& name, bool& doSkin) { doSkin = name != "TBlocked"; };
  EXPECT_TRUE(manager_->PassesFormFilter("SysMonthCal32"));
  EXPECT_FALSE(manager_->PassesFormFilter("TBlocked"));
  HWND blocked = CreateWindowExA(0, PlainClass(), "x", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
  windows_.push_back(blocked);
  main_->OnFormSkin = [](TComponent&, const std::string&, bool& doSkin) { doSkin = false; };
  Activate(blocked);
  EXPECT_EQ(manager_->FindSkinForm(blocked), nullptr);
}

// A subclass above the popup skin: it must keep receiving messages after the skin is removed.
LRESULT CALLBACK CountingProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  if (msg == WM_USER + 7) ++*reinterpret_cast<int*>(ref);
  return DefSubclassProc(h, msg, wp, lp);
}

TEST_F(SkinManageTest, PopupMenuWindowsSkinnedAndRestoredWithoutBreakingTheChain) {
  // Not skinned while skinning is off.
  HWND off = CreateWindowExA(0, "#32768", "", WS_POPUP, 0, 0, 60, 60, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(off, nullptr);
  EXPECT_FALSE(manager_->IsPopupSkinned(off));
  DestroyWindow(off);

  SwitchOn();
  HWND popup = CreateWindowExA(0, "#32768", "", WS_POPUP, 0, 0, 80, 60, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(popup, nullptr);
  ASSERT_TRUE(manager_->IsPopupSkinned(popup));
  EXPECT_EQ(SendMessageA(popup, SKIN_QUERY, 0, 0), 1);

  // The border is the skin's MenuBackground rendered to the window size: its corners are copied.
  const TDataSkinObject* bg = main_->Skin().MenuBackground.get();
  ASSERT_TRUE(bg && !bg->Image.Empty());
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 80, 60);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(mem, bmp);
  SendMessageA(popup, WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_NONCLIENT | PRF_CLIENT);
  auto imagePixel = [&](int x, int y) {
    const TPixel p = bg->Image.At(x, y);
    return RGB(PixelRed(p), PixelGreen(p), PixelBlue(p));
  };
  EXPECT_EQ(GetPixel(mem, 1, 1), imagePixel(1, 1));
  EXPECT_EQ(GetPixel(mem, 0, 59), imagePixel(0, bg->Image.Height - 1));
  EXPECT_EQ(GetPixel(mem, 79, 2), imagePixel(bg->Image.Width / std::max(1, bg->FrameCount) - 1, 2));
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);

  // Someone subclasses the window after the skin; removing the skin keeps that link working.
  int counted = 0;
  ASSERT_TRUE(SetWindowSubclass(popup, &CountingProc, 9, reinterpret_cast<DWORD_PTR>(&counted)));
  manager_->UnskinPopupMenu(popup);
  EXPECT_EQ(manager_->PopupCount(), 0u);
  EXPECT_EQ(SendMessageA(popup, SKIN_QUERY, 0, 0), 0);
  SendMessageA(popup, WM_USER + 7, 0, 0);
  EXPECT_EQ(counted, 1);
  RemoveWindowSubclass(popup, &CountingProc, 9);
  DestroyWindow(popup);

  // Destruction through the hook frees the skin; the tracking flag goes with the last one.
  manager_->SetMenuTracking(true);
  HWND tracked = CreateWindowExA(0, "#32768", "", WS_POPUP, 0, 0, 80, 60, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(manager_->FindPopup(tracked), nullptr);
  EXPECT_TRUE(manager_->FindPopup(tracked)->BelongsToMenuBar());
  DestroyWindow(tracked);
  EXPECT_EQ(manager_->PopupCount(), 0u);
  EXPECT_FALSE(manager_->MenuTracking());
}

TEST_F(SkinManageTest, RealMenuFoundByItsHandle) {
  SwitchOn();
  HWND owner = Window("owner");
  Activate(owner);
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 1, "One");
  AppendMenuA(menu, MF_STRING, 2, "Two");
  gMenu = menu;
  gMenuFound = gMenuAnswered = false;
  const UINT_PTR probe = SetTimer(nullptr, 0, 150, &ProbeMenu);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RETURNCMD, 60, 60, 0, owner, nullptr);
  KillTimer(nullptr, probe);
  DestroyMenu(menu);
  EXPECT_TRUE(gMenuFound);
  EXPECT_TRUE(gMenuAnswered);
  // On the screen the menu's border is the skin's, wherever the system draws its own edge
  // (in the non-client area, or inside the client area as Wine does).
  EXPECT_GT(gMenuBorderPixels, 0);
  EXPECT_EQ(gMenuBorderWrong, 0) << "of " << gMenuBorderPixels << " border pixels";
  Pump(30);
  EXPECT_EQ(manager_->PopupCount(), 0u);
}

TEST_F(SkinManageTest, ManagerTearDownRestoresEveryWindowAndRemovesTheHook) {
  SwitchOn();
  HWND a = Window("a");
  Activate(a);
  HWND popup = CreateWindowExA(0, "#32768", "", WS_POPUP, 0, 0, 80, 60, nullptr, nullptr, nullptr, nullptr);
  ASSERT_EQ(SendMessageA(popup, SKIN_QUERY, 0, 0), 1);
  DestroySkinManager();
  EXPECT_EQ(TSkinManage::Instance(), nullptr);
  EXPECT_EQ(log_, (Log{"attach window a", "init a 0 1000", "detach a", "free a"}));
  EXPECT_EQ(SendMessageA(a, SKIN_QUERY, 0, 0), 0);
  EXPECT_EQ(SendMessageA(popup, SKIN_QUERY, 0, 0), 0);
  // No hook is left to call into the freed manager.
  HWND b = Window("b");
  Activate(b);
  EXPECT_EQ(Count(log_, "attach window b"), 0u);
  DestroyWindow(popup);
}

}  // namespace
