// The skin engine's cost on real windows, skinned against the same windows unskinned: start-up to
// the first painted main window, resizes, a full repaint of the registration form, and which
// windows repaint while the mouse crosses a button. Run under Wine by scripts/bench-skin-wine.sh.
//
//   bench_skin_win.exe [ROUNDS [start|process|resize|repaint|hover]]   (at least 3 rounds; default 21, all)
//
// Every figure is in-process wall-clock time (the Wine server and the X server do part of the
// painting, so processor time of this process alone would leave work out). Each round measures
// both sides, in alternating order; the table shows the medians over the rounds and the median of
// the per-round ratios. Every side is set up the same way: the program's skin component with its
// stored settings hands over to the real skin manager, and only its Active switch differs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Main.h"
#include "app/Program.h"
#include "framework/Controls.h"
#include "framework/EditCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/Subclass.h"
#include "reginfo/RegInfo.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinManage.h"
#include "skin/engine/WindowFacts.h"
#include "skin/file/SkinObjects.h"
#include "util/WinUtil.h"

using namespace zelvo;

namespace {

double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER f{};
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER c{};
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / perMs;
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "bench_skin_win: %s\n", what.c_str());
  std::fflush(stderr);
  ExitProcess(2);
}

// The main window's stored skin settings (as the program stores them), with the Active switch
// given.
TSkinDataStored ProgramSkinSettings(bool active) {
  TSkinDataStored s = MainSkinSettings();
  s.Active = active;
  return s;
}

// The program's skin component handed over to a fresh real skin manager, as at start-up; the
// manager goes again with the session.
class TSkinSession {
 public:
  explicit TSkinSession(bool active) {
    DestroySkinManager();
    UseSkinManage();
    data_ = std::make_unique<TSkinData>(nullptr);
    data_->ReadStored(ProgramSkinSettings(active));
    data_->Loaded();
    if (data_->SkinEmpty()) Fail("the program's skin did not load");
  }
  ~TSkinSession() {
    DestroySkinManager();
    data_.reset();
  }
  TSkinSession(const TSkinSession&) = delete;
  TSkinSession& operator=(const TSkinSession&) = delete;

 private:
  std::unique_ptr<TSkinData> data_;
};

bool Skinned(HWND h) { return TSkinManage::Instance() && TSkinManage::Instance()->FindSkinForm(h) != nullptr; }

bool PaintPending() { return (HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT) != 0; }

void Dispatch(MSG& msg) {
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

// Dispatches this thread's messages until `window` has been painted: one WM_PAINT of the window
// handled and no window of the thread left waiting for a paint; a skinned window must also have
// handled its frame set-up (SKIN_INIT, which sizes the frame, shapes it and paints it). False on
// a timeout.
bool PumpUntilPainted(HWND window, bool skinned, double timeoutMs = 3000) {
  const double end = NowMs() + timeoutMs;
  bool painted = false, frameReady = !skinned;
  while (NowMs() < end) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      Dispatch(msg);
      if (msg.hwnd == window && msg.message == WM_PAINT) painted = true;
      if (msg.hwnd == window && msg.message == SKIN_INIT) frameReady = true;
      if (painted && frameReady && !PaintPending()) return true;
    }
    if (painted && frameReady && !PaintPending()) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
  return false;
}

void PumpFor(double ms) {
  const double end = NowMs() + ms;
  while (NowMs() < end) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) Dispatch(msg);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
}

// Dispatches what is waiting, paints included (the work a measured step left behind).
void Flush() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) Dispatch(msg);
}

class TNoShell : public IShell {
 public:
  uintptr_t Execute(HWND, const char*, const std::string&, const char*, const char*, int) override { return 33; }
};

// ---------------------------------------------------------------------------------------------
// 1. Start to first paint: the main window's skin component reads its stored skin and hands over
// to a new skin manager (hook installed), the main window is created and shown, and its first
// paint (frame and client, children included) is handled.

double StartToFirstPaint(bool active) {
  DestroySkinManager();
  UseSkinManage();
  const double start = NowMs();
  auto form = std::make_unique<TMainForm>(nullptr, std::make_unique<TNoShell>());
  if (!active) form->SkinData->SetActive(false);
  form->DoCreate();
  form->Show();
  if (!PumpUntilPainted(form->Handle(), active)) Fail("the main window was never painted");
  const double took = NowMs() - start;
  if (Skinned(form->Handle()) != active) Fail("the main window's skinning is not what was asked");
  form.reset();
  DestroySkinManager();
  Flush();
  return took;
}

// 1b. The same from the program's start: a new process of this program starts as the program
// does, makes and shows the main window and signals once it is painted; the time runs from
// CreateProcess to that signal. The child's side is ChildStart.
int ChildStart(bool active, const char* eventName) {
  HANDLE painted = OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName);
  if (!painted) Fail("the child cannot open its event");
  auto form = std::make_unique<TMainForm>(nullptr, std::make_unique<TNoShell>());
  if (!active) form->SkinData->SetActive(false);
  form->DoCreate();
  form->Show();
  if (!PumpUntilPainted(form->Handle(), active)) Fail("the main window was never painted");
  if (Skinned(form->Handle()) != active) Fail("the main window's skinning is not what was asked");
  SetEvent(painted);
  CloseHandle(painted);
  form.reset();
  return 0;
}

double ProcessStartToFirstPaint(bool active) {
  static int serial = 0;
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string event = "ZelvoBenchPainted-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
  HANDLE painted = CreateEventA(nullptr, TRUE, FALSE, event.c_str());
  if (!painted) Fail("cannot create the paint event");
  std::string cmd = std::string("\"") + self + "\" 0 " + (active ? "child-on " : "child-off ") + event;
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  const double start = NowMs();
  if (!CreateProcessA(self, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) Fail("cannot start a child");
  HANDLE waits[2] = {painted, pi.hProcess};
  const DWORD which = WaitForMultipleObjects(2, waits, FALSE, 60000);
  const double took = NowMs() - start;
  if (which != WAIT_OBJECT_0) Fail("the child ended or hung before its window was painted");
  WaitForSingleObject(pi.hProcess, 30000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  CloseHandle(painted);
  return took;
}

struct TPaints {
  int paint = 0, ncpaint = 0, erase = 0;
};

// Counts the paint messages each watched window receives (the counting procedure is put in front
// of everything else, skins included, so it sees every paint however it was caused).
class TPaintCounter {
 public:
  void WatchTree(HWND top) {
    top_ = top;
    Watch(top);
    EnumChildWindows(top, WatchChild, reinterpret_cast<LPARAM>(this));
  }
  void Reset() { counts_.clear(); }
  // Stops watching (before the windows go); the counts stay.
  void Stop() { subclasses_.clear(); }
  // The counts of one window, and the sums over every other watched window.
  TPaints Of(HWND h) const {
    auto it = counts_.find(h);
    return it == counts_.end() ? TPaints{} : it->second;
  }
  TPaints OthersThan(HWND h) const {
    TPaints sum;
    for (const auto& [w, n] : counts_) {
      if (w == h) continue;
      sum.paint += n.paint;
      sum.ncpaint += n.ncpaint;
      sum.erase += n.erase;
    }
    return sum;
  }
  const std::map<HWND, TPaints>& Counts() const { return counts_; }
  HWND Top() const { return top_; }

 private:
  // A window procedure's calling convention, which a lambda cannot have on 32-bit Windows.
  static BOOL CALLBACK WatchChild(HWND child, LPARAM self) {
    reinterpret_cast<TPaintCounter*>(self)->Watch(child);
    return TRUE;
  }
  void Watch(HWND h) {
    subclasses_.push_back(std::make_unique<TWindowSubclass>(h, [this](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
      if (msg == WM_PAINT) ++counts_[w].paint;
      if (msg == WM_NCPAINT) ++counts_[w].ncpaint;
      if (msg == WM_ERASEBKGND) ++counts_[w].erase;
      return TWindowSubclass::CallNext(w, msg, wp, lp);
    }));
  }
  std::vector<std::unique_ptr<TWindowSubclass>> subclasses_;
  std::map<HWND, TPaints> counts_;
  HWND top_ = nullptr;
};

// ---------------------------------------------------------------------------------------------
// 2. Resizes: a sizeable framework form of the main window's client size with a button, an edit
// and a check box, resized 100 times; each step is painted at once (the window and its children).

std::unique_ptr<TForm> MakeSizeableForm() {
  auto form = std::make_unique<TForm>(nullptr);
  form->Name = "ResizeForm";
  form->SetCaption("Zelvo Program Registration");
  form->BorderStyle = TFormBorderStyle::bsSizeable;
  form->SetBounds(80, 80, 426, 302);
  form->SetClientSize(418, 275);
  auto* button = form->Create<TButton>();
  button->SetParent(form.get());
  button->SetBounds(160, 242, 97, 25);
  button->SetCaption("Register Now!");
  auto* edit = form->Create<TEdit>();
  edit->SetParent(form.get());
  edit->SetBounds(20, 20, 200, 22);
  auto* check = form->Create<TCheckBox>();
  check->SetParent(form.get());
  check->SetBounds(20, 60, 200, 20);
  check->SetCaption("Send me news");
  return form;
}

constexpr int kResizes = 100;

// The time of the 100 resizes; with `counter`, the paint messages of the form and its children
// are counted instead (not timed).
double HundredResizes(bool active, TPaintCounter* counter) {
  TSkinSession session(active);
  std::unique_ptr<TForm> form = MakeSizeableForm();
  form->Show();
  HWND h = form->Handle();
  if (!PumpUntilPainted(h, active)) Fail("the resize form was never painted");
  if (Skinned(h) != active) Fail("the resize form's skinning is not what was asked");
  if (counter) counter->WatchTree(h);
  RECT r{};
  GetWindowRect(h, &r);
  const int w0 = r.right - r.left, h0 = r.bottom - r.top;
  const double start = NowMs();
  for (int i = 1; i <= kResizes; ++i) {
    // Sizes wander up and down, never the same twice in a row.
    const int dw = (i * 7) % 61 - 30, dh = (i * 5) % 41 - 20;
    SetWindowPos(h, nullptr, 0, 0, w0 + dw, h0 + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // UpdateWindow for the window and each of its children.
    RedrawWindow(h, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  Flush();
  const double took = NowMs() - start;
  if (counter) counter->Stop();
  form.reset();
  Flush();
  return took;
}
double HundredResizesTimed(bool active) { return HundredResizes(active, nullptr); }

// ---------------------------------------------------------------------------------------------
// 3. Full repaint of the registration form (frame, client, every control).

constexpr int kRepaints = 20;

std::unique_ptr<TRegisterForm> ShowRegisterForm(bool active) {
  auto form = std::make_unique<TRegisterForm>(nullptr, std::vector<std::string>{"Zelvo Notes"});
  form->DoCreate();
  form->Show();
  if (!PumpUntilPainted(form->Handle(), active)) Fail("the registration form was never painted");
  if (Skinned(form->Handle()) != active) Fail("the registration form's skinning is not what was asked");
  PumpFor(50);  // whatever the first paint left behind (deferred control paints) is done
  return form;
}

double FullRepaint(bool active) {
  TSkinSession session(active);
  std::unique_ptr<TRegisterForm> form = ShowRegisterForm(active);
  HWND h = form->Handle();
  const double start = NowMs();
  for (int i = 0; i < kRepaints; ++i) {
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_ERASE | RDW_UPDATENOW);
  }
  Flush();
  const double took = (NowMs() - start) / kRepaints;
  form.reset();
  Flush();
  return took;
}

// ---------------------------------------------------------------------------------------------
// 4. Hover: which windows of the registration form repaint while the mouse moves from the form
// onto its Print button, across it and off it again.

void MoveMouse(POINT screen) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  const int w = GetSystemMetrics(SM_CXSCREEN), hgt = GetSystemMetrics(SM_CYSCREEN);
  in.mi.dx = static_cast<LONG>((screen.x * 65535LL + w / 2) / (w - 1));
  in.mi.dy = static_cast<LONG>((screen.y * 65535LL + hgt / 2) / (hgt - 1));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

std::string WindowName(HWND h) {
  if (TWinControl* c = TWinControl::FromHandle(h)) {
    if (!c->Name.empty()) return c->Name;
    return c->ClassName();
  }
  return WindowClassName(h);
}

struct THoverResult {
  std::vector<std::pair<std::string, TPaints>> windows;  // windows that got any paint message
  int steps = 0;
};

THoverResult HoverAcrossButton(bool active) {
  TSkinSession session(active);
  std::unique_ptr<TRegisterForm> form = ShowRegisterForm(active);
  HWND h = form->Handle();
  SetForegroundWindow(h);
  PumpFor(100);
  HWND button = form->BPrint->Handle();
  RECT br{};
  GetWindowRect(button, &br);
  // From left of the button to right of it, through its middle; both ends over the bare form.
  const int y = (br.top + br.bottom) / 2;
  POINT from{br.left - 12, y}, to{br.right + 12, y};
  for (POINT p : {from, to}) {
    if (WindowFromPoint(p) != h) Fail("the hover path does not start and end over the bare form");
  }
  TPaintCounter counter;
  counter.WatchTree(h);
  MoveMouse(from);
  PumpFor(150);
  counter.Reset();
  THoverResult result;
  for (int x = from.x; x <= to.x; x += 4) {
    MoveMouse(POINT{x, y});
    PumpFor(8);
    ++result.steps;
  }
  MoveMouse(to);
  PumpFor(600);
  for (const auto& [w, n] : counter.Counts()) {
    if (n.paint || n.ncpaint || n.erase) result.windows.push_back({w == h ? "form" : WindowName(w), n});
  }
  counter.Stop();
  form.reset();
  Flush();
  return result;
}

// ---------------------------------------------------------------------------------------------

struct TPair {
  std::vector<double> skinned, plain, ratios;
};

template <class F>
TPair PairedRounds(int rounds, F&& measure) {
  TPair p;
  measure(true);  // warm-up: classes registered, fonts and bitmaps cached, both sides
  measure(false);
  for (int r = 0; r < rounds; ++r) {
    double s = 0, u = 0;
    if (r % 2 == 0) {
      s = measure(true);
      u = measure(false);
    } else {
      u = measure(false);
      s = measure(true);
    }
    p.skinned.push_back(s);
    p.plain.push_back(u);
    p.ratios.push_back(s / u);
  }
  return p;
}

void Row(const char* what, const TPair& p, double goal) {
  const double ratio = Median(p.ratios);
  std::printf("%-44s %9.2f %9.2f   %5.2fx  (%4.2f-%4.2f)  <= %.1fx %s\n", what, Median(p.skinned), Median(p.plain),
              ratio, *std::min_element(p.ratios.begin(), p.ratios.end()),
              *std::max_element(p.ratios.begin(), p.ratios.end()), goal, ratio <= goal ? "met" : "MISSED");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 21;
  rounds = std::max(3, rounds);
  bool only = argc > 2;
  std::string which = only ? argv[2] : "";
  TApplication app;
  // Utilities, the real skin manager, title, icon and hidden window, as the program.
  if (!StartProgram(app)) return 1;
  InitializeApplication(app);
  if ((which == "child-on" || which == "child-off") && argc > 3) {
    // The error reporter goes before the application it serves.
    const int status = ChildStart(which == "child-on", argv[3]);
    StopUtilities();
    return status;
  }

  std::printf("Wall-clock figures (in-process, except 1b), median of %d paired rounds (%d for 1), alternating order;\n",
              rounds, 3 * rounds);
  std::printf("ratio = median of the per-round ratios skinned/unskinned (range in brackets).\n\n");
  std::printf("%-44s %9s %9s   %6s\n", "", "skinned", "unskinned", "ratio");
  std::fflush(stdout);
  if (!only || which == "start") {
    // A start takes a few milliseconds: three times the rounds, so the median holds on a busy machine.
    Row("1. start to first paint, TMainForm (ms)", PairedRounds(3 * rounds, StartToFirstPaint), 1.2);
  }
  if (!only || which == "start" || which == "process") {
    Row("1b. the same, whole process (ms)", PairedRounds(rounds, ProcessStartToFirstPaint), 1.2);
  }
  if (!only || which == "resize") {
    Row("2. 100 resizes + paint, sizeable form (ms)", PairedRounds(rounds, HundredResizesTimed), 1.5);
  }
  if (!only || which == "resize" || which == "resizepaints") {
    for (bool active : {true, false}) {
      TPaintCounter counter;
      HundredResizes(active, &counter);
      std::printf("   paint messages in the 100 resizes, %s: form WM_PAINT %d WM_NCPAINT %d WM_ERASEBKGND %d;"
                  " its 3 controls together WM_PAINT %d WM_NCPAINT %d WM_ERASEBKGND %d\n",
                  active ? "skinned  " : "unskinned", counter.Of(counter.Top()).paint, counter.Of(counter.Top()).ncpaint,
                  counter.Of(counter.Top()).erase, counter.OthersThan(counter.Top()).paint,
                  counter.OthersThan(counter.Top()).ncpaint, counter.OthersThan(counter.Top()).erase);
    }
    std::fflush(stdout);
  }
  if (!only || which == "repaint") {
    Row("3. full repaint, TRegisterForm (ms each)", PairedRounds(rounds, FullRepaint), 2.0);
  }
  if (!only || which == "hover") {
    std::printf("\n4. Mouse from the registration form across its Print button and off it again\n");
    for (bool active : {true, false}) {
      THoverResult r = HoverAcrossButton(active);
      std::printf("   %s, %d moves: ", active ? "skinned  " : "unskinned", r.steps);
      if (r.windows.empty()) std::printf("no window repainted");
      for (const auto& [name, n] : r.windows) {
        std::printf("%s WM_PAINT %d WM_NCPAINT %d WM_ERASEBKGND %d; ", name.c_str(), n.paint, n.ncpaint, n.erase);
      }
      std::printf("\n");
      std::fflush(stdout);
    }
  }
  StopUtilities();
  return 0;
}
