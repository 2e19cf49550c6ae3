// The framework core as the skin engine uses it, checked by message sequences: binding and
// unbinding of windows, the handler chain under real messages, reflection, the callback guard,
// modal loops, destruction paths, the forms registry, subclassing by handle and adopted windows.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <stdexcept>

#include "../Win32TestSupport.h"
#include "MessageSequence.h"
#include "framework/CallbackGuard.h"
#include "framework/EditCtrls.h"
#include "framework/Handles.h"
#include "framework/StdCtrls.h"
#include "framework/Subclass.h"
#include "util/Exceptions.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {
constexpr UINT WM_TEST = WM_APP + 1;
constexpr UINT WM_TEST2 = WM_APP + 2;

// A form that notes what reaches its own WndProc and its default handler.
class TRecordingForm : public TForm {
 public:
  TRecordingForm(TComponent* owner, TMessageLog& log, int id) : TForm(owner), log_(log), id_(id) {
    SetClientSize(200, 100);
    OnDestroy = [this](TComponent&) { log_.Add(id_, EV_ONDESTROY, seqEvent); };
  }
  const char* ClassName() const override { return "TRecordingForm"; }

 protected:
  void WndProc(TMessage& m) override {
    log_.Add(id_, m.Msg, seqWndProc, m.WParam);
    TForm::WndProc(m);
  }

 private:
  TMessageLog& log_;
  int id_;
};

// Collects the reports of exceptions that reached the application.
struct ExceptionCatcher {
  std::vector<std::string> reports;
  TExceptionEvent saved;
  ExceptionCatcher() : saved(Application->OnException) {
    Application->OnException = [this](const std::exception& e) { reports.push_back(e.what()); };
  }
  ~ExceptionCatcher() { Application->OnException = saved; }
};

struct CbtRecorder {
  static inline TMessageLog* log = nullptr;
  static inline std::vector<bool> boundAtCreate;
  UniqueHook hook;
  explicit CbtRecorder(TMessageLog& l) {
    log = &l;
    boundAtCreate.clear();
    hook.Reset(SetWindowsHookExA(WH_CBT, Proc, nullptr, GetCurrentThreadId()));
  }
  ~CbtRecorder() {
    hook.Reset();
    log = nullptr;
  }
  static LRESULT CALLBACK Proc(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND && log) {
      log->Add(0, EV_CBT_CREATEWND, seqHook);
      boundAtCreate.push_back(TWinControl::FromHandle(reinterpret_cast<HWND>(wp)) != nullptr);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }
};
}  // namespace

TEST(FrameworkCore, WindowsAreBoundBeforeAnotherCbtHookSeesThemAndGetEveryMessage) {
  TMessageLog log({EV_CBT_CREATEWND, WM_GETMINMAXINFO, WM_NCCREATE, WM_CREATE});
  auto form = std::make_unique<TRecordingForm>(nullptr, log, 1);
  TButton* button = form->Create<TButton>();
  button->SetParent(form.get());
  button->SetBounds(10, 10, 80, 25);
  {
    CbtRecorder cbt(log);
    form->Handle();
  }
  EXPECT_EQ(CompareSequence(log, {{0, EV_CBT_CREATEWND, seqHook},
                                  {1, WM_GETMINMAXINFO, seqWndProc | seqOptional},
                                  {1, WM_NCCREATE, seqWndProc},
                                  {1, WM_CREATE, seqWndProc},
                                  {0, EV_CBT_CREATEWND, seqHook}}),
            "");
  // Both the form and its button (a superclassed system control) were found by a hook that ran
  // before any of their messages.
  EXPECT_EQ(CbtRecorder::boundAtCreate, (std::vector<bool>{true, true}));
  EXPECT_EQ(TWinControl::FromHandle(button->HandleIfCreated()), button);
}

TEST(FrameworkCore, WindowsUnbindAtNcDestroyChildrenBeforeParents) {
  TMessageLog log({WM_DESTROY, WM_NCDESTROY});
  auto form = std::make_unique<TRecordingForm>(nullptr, log, 1);
  TEdit* edit = form->Create<TEdit>();
  edit->SetParent(form.get());
  form->Handle();
  HWND formWnd = form->HandleIfCreated(), editWnd = edit->HandleIfCreated();
  bool boundDuringNcDestroy = false;
  THookToken watchEdit = log.Watch(*edit, 2);
  THookToken probe = form->HookWindowProc([&](TMessage& m, const TNext& next) {
    if (m.Msg == WM_NCDESTROY) boundDuringNcDestroy = TWinControl::FromHandle(formWnd) == form.get();
    next(m);
  });
  DestroyWindow(formWnd);
  EXPECT_EQ(CompareSequence(log, {{1, WM_DESTROY, seqWndProc},
                                  {2, WM_DESTROY, seqSent},
                                  {2, WM_NCDESTROY, seqSent},
                                  {1, WM_NCDESTROY, seqWndProc}}),
            "");
  EXPECT_TRUE(boundDuringNcDestroy);
  EXPECT_EQ(TWinControl::FromHandle(formWnd), nullptr);
  EXPECT_EQ(TWinControl::FromHandle(editWnd), nullptr);
  EXPECT_FALSE(form->HandleAllocated());
  EXPECT_FALSE(edit->HandleAllocated());
  // The object can make a new window, bound again.
  EXPECT_EQ(TWinControl::FromHandle(form->Handle()), form.get());
}

TEST(FrameworkCore, NotificationsAreReflectedThroughTheControlsChain) {
  TMessageLog log({WM_COMMAND, CN_COMMAND, WM_CTLCOLOREDIT, CN_CTLCOLOREDIT});
  TForm form(nullptr);
  TButton* button = form.Create<TButton>();
  button->SetParent(&form);
  button->SetBounds(10, 10, 80, 25);
  TEdit* edit = form.Create<TEdit>();
  edit->SetParent(&form);
  edit->SetBounds(10, 40, 80, 21);
  form.Handle();
  int clicks = 0;
  button->OnClick = [&](TComponent&) { ++clicks; };
  THookToken w1 = log.Watch(form, 1);
  THookToken w2 = log.Watch(*button, 2);
  THookToken w3 = log.Watch(*edit, 3);
  SendMessageA(button->HandleIfCreated(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  WindowDC dc(edit->HandleIfCreated());
  LRESULT brush = SendMessageA(form.HandleIfCreated(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.Get()),
                               reinterpret_cast<LPARAM>(edit->HandleIfCreated()));
  EXPECT_NE(brush, 0) << "the edit's own colour handling answered";
  EXPECT_EQ(CompareSequence(log, {{1, WM_COMMAND, seqSent},
                                  {2, CN_COMMAND, seqSent},
                                  {1, WM_CTLCOLOREDIT, seqSent},
                                  {3, CN_CTLCOLOREDIT, seqSent}}),
            "");

  // A handler in front of the button can keep the reflected click from it.
  THookToken swallow = button->HookWindowProc([](TMessage& m, const TNext& next) {
    if (m.Msg != CN_COMMAND) next(m);
  });
  SendMessageA(button->HandleIfCreated(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
}

TEST(FrameworkCore, AnExceptionInAHandlerIsReportedAndNeverPropagated) {
  ExceptionCatcher caught;
  TMessageLog log({CM_CALLBACKERROR});
  TForm form(nullptr);
  form.SetClientSize(200, 100);
  form.Show();
  bool failHitTest = false;
  THookToken thrower = form.HookWindowProc([&](TMessage& m, const TNext& next) {
    if (m.Msg == WM_TEST) throw std::runtime_error("handler failed");
    if (m.Msg == WM_NCHITTEST && failHitTest) {
      failHitTest = false;
      throw std::runtime_error("hit test failed");
    }
    next(m);
  });
  // An ordinary message: reported at once, the sender gets 0.
  EXPECT_EQ(SendMessageA(form.HandleIfCreated(), WM_TEST, 0, 0), 0);
  EXPECT_EQ(caught.reports, std::vector<std::string>{"handler failed"});

  // A non-client message: the default result still comes back, and the report waits until the
  // application window is posted to and the message loop reaches it.
  RECT r;
  GetWindowRect(form.HandleIfCreated(), &r);
  TPostedMessageHook posted(log, {{Application->Handle(), 9}});
  failHitTest = true;
  LRESULT hit = SendMessageA(form.HandleIfCreated(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 2, r.top + 2));
  EXPECT_NE(hit, HTNOWHERE) << "the default procedure's answer";
  EXPECT_EQ(caught.reports.size(), 1u);
  EXPECT_EQ(DeferredCallbackErrorCount(), 1);
  Pump(50);
  EXPECT_EQ(caught.reports, (std::vector<std::string>{"handler failed", "hit test failed"}));
  EXPECT_EQ(DeferredCallbackErrorCount(), 0);
  EXPECT_EQ(CompareSequence(log, {{9, CM_CALLBACKERROR, seqPosted | seqHook}}), "");
}

TEST(FrameworkCore, GuardPostsReportsInsideHooksAndFallsBack) {
  ExceptionCatcher caught;
  int r = GuardCallback(TCallbackPolicy::ShowDialog, []() -> int { throw std::runtime_error("now"); }, -1);
  EXPECT_EQ(r, -1);
  EXPECT_EQ(caught.reports.size(), 1u);
  {
    // Inside a hook even a guard that would show a dialog posts instead.
    TDeferCallbackReports hook;
    GuardCallback(TCallbackPolicy::ShowDialog, [] { throw std::runtime_error("later"); });
    EXPECT_EQ(caught.reports.size(), 1u);
  }
  long fallback = GuardCallbackOr(
      TCallbackPolicy::PostToApplication, []() -> long { throw 42; }, []() -> long { return 7; });
  EXPECT_EQ(fallback, 7) << "the fallback's value, even for an exception that is no std::exception";
  EXPECT_EQ(DeferredCallbackErrorCount(), 2);
  Pump(50);
  EXPECT_EQ(caught.reports, (std::vector<std::string>{"now", "later", "Unknown failure"}));
}

TEST(FrameworkCore, ModalLoopDisablesTheOtherWindowsAndRestoresOnlyThose) {
  TMessageLog log({WM_ENABLE});
  TForm other(nullptr), alreadyDisabled(nullptr), modal(nullptr);
  for (TForm* f : {&other, &alreadyDisabled, &modal}) f->SetClientSize(120, 80);
  other.Show();
  alreadyDisabled.Show();
  EnableWindow(alreadyDisabled.HandleIfCreated(), FALSE);
  modal.Handle();
  THookToken w1 = log.Watch(other, 1);
  THookToken w2 = log.Watch(alreadyDisabled, 2);
  THookToken w3 = log.Watch(modal, 3);
  bool otherEnabledInside = true;
  THookToken closer = modal.HookWindowProc([&](TMessage& m, const TNext& next) {
    if (m.Msg == WM_TEST) {
      otherEnabledInside = IsWindowEnabled(other.HandleIfCreated()) != FALSE;
      modal.ModalResult = 1;
      return;
    }
    next(m);
  });
  PostMessageA(modal.HandleIfCreated(), WM_TEST, 0, 0);
  EXPECT_EQ(modal.ShowModal(), 1);
  EXPECT_FALSE(otherEnabledInside);
  EXPECT_TRUE(IsWindowEnabled(other.HandleIfCreated()));
  EXPECT_FALSE(IsWindowEnabled(alreadyDisabled.HandleIfCreated())) << "a window disabled before stays so";
  EXPECT_EQ(CompareSequence(log, {{1, WM_ENABLE, seqSent | seqWParam, FALSE}, {1, WM_ENABLE, seqSent | seqWParam, TRUE}}),
            "");
}

namespace {
// Records what one destruction path shows: the chain, the class's WndProc and OnDestroy.
std::string DestructionSequence(const std::function<void(std::unique_ptr<TRecordingForm>&)>& destroy) {
  TMessageLog log({WM_DESTROY, WM_NCDESTROY, EV_ONDESTROY});
  auto form = std::make_unique<TRecordingForm>(nullptr, log, 1);
  form->Handle();
  THookToken watch = log.Watch(*form, 1);
  destroy(form);
  return CompareSequence(log, {{1, WM_DESTROY, seqSent},
                               {1, WM_DESTROY, seqWndProc},
                               {1, EV_ONDESTROY, seqEvent},
                               {1, WM_NCDESTROY, seqSent},
                               {1, WM_NCDESTROY, seqWndProc}});
}
}  // namespace

TEST(FrameworkCore, DeletingAFormAndDestroyWindowGiveTheSameSequence) {
  EXPECT_EQ(DestructionSequence([](auto& f) {
              DestroyWindow(f->HandleIfCreated());
              f.reset();
            }),
            "")
      << "DestroyWindow, then delete";
  EXPECT_EQ(DestructionSequence([](auto& f) { f.reset(); }), "") << "delete alone";
}

TEST(FrameworkCore, ComponentsFreedByTheirOwnerDestroyTheirWindowsWhole) {
  TMessageLog log({WM_DESTROY, EV_ONDESTROY});
  {
    TComponent owner(nullptr);
    auto* form = owner.Create<TRecordingForm>(log, 1);
    form->Handle();
  }
  EXPECT_EQ(CompareSequence(log, {{1, WM_DESTROY, seqWndProc}, {1, EV_ONDESTROY, seqEvent}}), "");
  log.Clear();
  TComponent owner(nullptr);
  auto* form = owner.Create<TRecordingForm>(log, 2);
  form->Handle();
  owner.DestroyComponent(form);
  EXPECT_EQ(CompareSequence(log, {{2, WM_DESTROY, seqWndProc}, {2, EV_ONDESTROY, seqEvent}}), "");
}

TEST(FrameworkCore, FormsAreListedInCreationOrderWithMessageDialogs) {
  TForm* first = Application->CreateForm<TForm>();
  std::unique_ptr<TMessageForm> dialog =
      CreateMessageDialog("Between", TMsgDlgType::mtInformation, ButtonBit(TMsgDlgBtn::mbOK));
  TForm* last = Application->CreateForm<TForm>();
  std::vector<TForm*> mine;
  for (TForm* f : Application->Forms()) {
    if (f == first || f == dialog.get() || f == last) mine.push_back(f);
  }
  EXPECT_EQ(mine, (std::vector<TForm*>{first, dialog.get(), last}));
  Application->DestroyForm(last);
  dialog.reset();
  Application->DestroyForm(first);
  for (TForm* f : Application->Forms()) {
    EXPECT_TRUE(f != first && f != last) << "freed forms leave the list";
  }
  EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST(FrameworkCore, ChainHandlersLeaveFromInsideRealMessages) {
  TMessageLog log({WM_TEST, WM_TEST2, WM_NCDESTROY});
  auto form = std::make_unique<TRecordingForm>(nullptr, log, 1);
  form->Handle();
  HWND h = form->HandleIfCreated();
  // A skin's way out: on WM_NCDESTROY it unhooks itself, then passes the message on.
  std::optional<THookToken> skin;
  skin = form->HookWindowProc([&](TMessage& m, const TNext& next) {
    log.Add(2, m.Msg, seqSent);
    if (m.Msg == WM_NCDESTROY) skin.reset();
    next(m);
  });
  // A handler that unhooks the one below it, then sends a nested message that must skip it.
  THookToken below = log.Watch(*form, 3);
  THookToken top = form->HookWindowProc([&](TMessage& m, const TNext& next) {
    if (m.Msg == WM_TEST) {
      below.Reset();
      SendMessageA(h, WM_TEST2, 0, 0);
    }
    next(m);
  });
  SendMessageA(h, WM_TEST, 0, 0);
  EXPECT_EQ(CompareSequence(log, {{2, WM_TEST2, seqSent},
                                  {1, WM_TEST2, seqWndProc},
                                  {2, WM_TEST, seqSent},
                                  {1, WM_TEST, seqWndProc}}),
            "");
  log.Clear();
  form.reset();
  EXPECT_FALSE(skin.has_value());
  EXPECT_EQ(CompareSequence(log, {{2, WM_NCDESTROY, seqSent}, {1, WM_NCDESTROY, seqWndProc}}), "");
}

namespace {
// A plain system window the framework knows nothing of.
HWND MakeSystemButton(const char* text) {
  return CreateWindowExA(0, "BUTTON", text, WS_POPUP, 0, 0, 80, 25, nullptr, nullptr, GetModuleHandleA(nullptr),
                         nullptr);
}
}  // namespace

TEST(FrameworkCore, SubclassesLeaveInAnyOrderAndAtNcDestroy) {
  TMessageLog log({WM_TEST, WM_NCDESTROY});
  HWND h = MakeSystemButton("plain");
  ASSERT_TRUE(h);
  TWindowSubclass lower(h, [&](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    log.Add(1, msg, seqSent);
    return TWindowSubclass::CallNext(w, msg, wp, lp);
  });
  std::optional<TWindowSubclass> upper;
  upper.emplace(h, [&](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    log.Add(2, msg, seqSent);
    if (msg == WM_TEST) {
      lower.Reset();  // the one below, from inside
      upper.reset();  // and itself
    }
    return TWindowSubclass::CallNext(w, msg, wp, lp);
  });
  SendMessageA(h, WM_TEST, 0, 0);
  SendMessageA(h, WM_TEST, 0, 0);
  EXPECT_EQ(CompareSequence(log, {{2, WM_TEST, seqSent}}), "");
  EXPECT_FALSE(lower.Attached());

  log.Clear();
  TWindowSubclass last(h, [&](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    log.Add(3, msg, seqSent);
    if (msg == WM_TEST) throw std::runtime_error("subclass failed");
    return TWindowSubclass::CallNext(w, msg, wp, lp);
  });
  ExceptionCatcher caught;
  EXPECT_EQ(SendMessageA(h, WM_TEST, 0, 0), 0);
  EXPECT_EQ(caught.reports.size(), 1u);
  EXPECT_TRUE(last.Attached());
  DestroyWindow(h);
  EXPECT_FALSE(last.Attached()) << "removed at WM_NCDESTROY";
  EXPECT_EQ(CompareSequence(log, {{3, WM_TEST, seqSent}, {3, WM_NCDESTROY, seqSent}}), "");
}

namespace {
// A procedure put above a subclass chain with SetWindowLongPtr, calling the chain below it.
WNDPROC g_belowAbove = nullptr;
TMessageLog* g_aboveLog = nullptr;
LRESULT CALLBACK ProcedureAbove(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  g_aboveLog->Add(9, msg, seqSent);
  return CallWindowProcW(g_belowAbove, h, msg, wp, lp);
}

std::string TextOf(HWND h) {
  char text[32] = {};
  GetWindowTextA(h, text, sizeof text);
  return text;
}
}  // namespace

TEST(FrameworkCore, SubclassChainStaysWholeUnderAProcedureInstalledAbove) {
  TMessageLog log({WM_TEST});
  HWND h = MakeSystemButton("chain");
  ASSERT_TRUE(h);
  const LONG_PTR classProc = GetWindowLongPtrW(h, GWLP_WNDPROC);
  auto link = [&log](int id) {
    return [&log, id](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
      log.Add(id, msg, seqSent);
      return TWindowSubclass::CallNext(w, msg, wp, lp);
    };
  };
  std::optional<TWindowSubclass> a(std::in_place, h, link(1)), b(std::in_place, h, link(2)),
      c(std::in_place, h, link(3));
  b.reset();  // the middle one first
  SendMessageA(h, WM_TEST, 0, 0);
  EXPECT_EQ(CompareSequence(log, {{3, WM_TEST, seqSent}, {1, WM_TEST, seqSent}}), "") << "newest first, b gone";

  // Both remaining owners go while a later procedure still calls the chain: nothing below it may
  // be cut off, and the window's own procedure still answers through the chain.
  log.Clear();
  g_aboveLog = &log;
  g_belowAbove = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProcedureAbove)));
  a.reset();
  c.reset();
  SendMessageA(h, WM_TEST, 0, 0);
  SetWindowTextA(h, "through");
  EXPECT_EQ(TextOf(h), "through");
  EXPECT_EQ(CompareSequence(log, {{9, WM_TEST, seqSent}}), "") << "the links left pass messages on unseen";

  // With the later procedure gone, the leftover links leave at the next message and the window
  // has its class procedure back.
  SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_belowAbove));
  SendMessageA(h, WM_TEST, 0, 0);
  SendMessageA(h, WM_TEST, 0, 0);
  EXPECT_EQ(GetWindowLongPtrW(h, GWLP_WNDPROC), classProc);
  SetWindowTextA(h, "plain");
  EXPECT_EQ(TextOf(h), "plain");
  DestroyWindow(h);
  g_aboveLog = nullptr;
}

namespace {
INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM) {
  return msg == WM_INITDIALOG ? TRUE : FALSE;
}

// A system dialog ("#32770") from an in-memory template with no controls.
HWND MakeSystemDialog() {
  struct alignas(4) Template {
    DLGTEMPLATE t;
    WORD menu, cls, title;
  } tpl{};
  tpl.t.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
  tpl.t.cx = 100;
  tpl.t.cy = 50;
  return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &tpl.t, nullptr, PlainDialogProc, 0);
}
}  // namespace

TEST(FrameworkCore, AdoptedWindowsShareTheChainAndDetachEitherWay) {
  TMessageLog log({WM_SETTEXT, WM_NCDESTROY});
  HWND dlg = MakeSystemDialog();
  ASSERT_TRUE(dlg);
  {
    std::unique_ptr<TForeignWindow> adopted = AdoptWindow(dlg);
    EXPECT_EQ(adopted->WindowClassName(), "#32770");
    EXPECT_EQ(TWinControl::FromHandle(dlg), adopted.get());
    EXPECT_THROW(AdoptWindow(dlg), Exception) << "one object per window";
    THookToken watch = log.Watch(*adopted, 1);
    SetWindowTextA(dlg, "Adopted");
    char text[32] = {};
    GetWindowTextA(dlg, text, sizeof text);
    EXPECT_STREQ(text, "Adopted") << "the dialog's own procedure still handled it";
  }
  // The object is gone, the window stays, untouched by the old hooks.
  EXPECT_TRUE(IsWindow(dlg));
  EXPECT_EQ(TWinControl::FromHandle(dlg), nullptr);
  SetWindowTextA(dlg, "Released");
  EXPECT_EQ(CompareSequence(log, {{1, WM_SETTEXT, seqSent}}), "");

  // Adopted again; this time the window goes first.
  log.Clear();
  std::unique_ptr<TForeignWindow> again = AdoptWindow(dlg);
  THookToken watch = log.Watch(*again, 2);
  DestroyWindow(dlg);
  EXPECT_EQ(CompareSequence(log, {{2, WM_NCDESTROY, seqSent}}), "");
  EXPECT_FALSE(again->HandleAllocated());
  EXPECT_EQ(TWinControl::FromHandle(dlg), nullptr);
  EXPECT_THROW(again->Handle(), Exception);
  again.reset();  // harmless

  // A system button adopted and freed from inside its own message.
  HWND button = MakeSystemButton("button");
  auto owned = AdoptWindow(button);
  THookToken dropper = owned->HookWindowProc([&](TMessage& m, const TNext& next) {
    next(m);
    if (m.Msg == WM_TEST) owned.reset();
  });
  SendMessageA(button, WM_TEST, 0, 0);
  EXPECT_EQ(owned, nullptr);
  EXPECT_EQ(TWinControl::FromHandle(button), nullptr);
  SendMessageA(button, WM_TEST, 0, 0);
  DestroyWindow(button);
}
