#include "framework/Subclass.h"

#include <commctrl.h>

#include <utility>

#include "framework/CallbackGuard.h"
#include "util/Exceptions.h"

namespace zelvo {

struct TWindowSubclass::State {
  HWND window = nullptr;
  Proc proc;
  bool attached = false;
  int depth = 0;  // calls of the procedure running now
  // The window procedure just after linking: the entry of the subclass chain.
  LONG_PTR chainEntry = 0;
  // The owner let go while a procedure installed later sat above the chain: the link stays
  // and passes everything on (see Reset).
  bool inert = false;
  // Set when the owner went away while the link could not leave yet: the state frees itself
  // once it is unlinked and no call of it runs.
  std::unique_ptr<State> orphan;
};

namespace {
LONG_PTR WindowProcOf(HWND h) { return GetWindowLongPtrW(h, GWLP_WNDPROC); }

LRESULT CALLBACK SubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref) {
  auto* s = reinterpret_cast<TWindowSubclass::State*>(ref);
  ++s->depth;
  LRESULT r = 0;
  if (s->inert) {
    r = DefSubclassProc(h, msg, wp, lp);
    // The procedure above has gone again: the chain is the window's entry once more, and the
    // link can leave without cutting anyone off.
    if (s->attached && msg != WM_NCDESTROY && WindowProcOf(h) == s->chainEntry) {
      RemoveWindowSubclass(h, SubclassProc, id);
      s->attached = false;
    }
  } else {
    r = GuardCallbackOr(
        PolicyForMessage(msg), [&] { return s->proc(h, msg, wp, lp); },
        [&]() -> LRESULT { return IsNonClientMessage(msg) ? DefSubclassProc(h, msg, wp, lp) : 0; });
  }
  if (msg == WM_NCDESTROY && s->attached) {
    RemoveWindowSubclass(h, SubclassProc, id);
    s->attached = false;
  }
  if (--s->depth == 0 && s->orphan && !s->attached) {
    s->orphan.reset();  // frees the state, its procedure with it
  }
  return r;
}
}  // namespace

TWindowSubclass::TWindowSubclass() noexcept = default;

TWindowSubclass::TWindowSubclass(HWND window, Proc proc) : state_(std::make_unique<State>()) {
  state_->window = window;
  state_->proc = std::move(proc);
  if (!window || !IsWindow(window) || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId() ||
      !SetWindowSubclass(window, SubclassProc, reinterpret_cast<UINT_PTR>(state_.get()),
                         reinterpret_cast<DWORD_PTR>(state_.get()))) {
    throw Exception("The window cannot be subclassed");
  }
  state_->attached = true;
  state_->chainEntry = WindowProcOf(window);
}

TWindowSubclass::TWindowSubclass(TWindowSubclass&& other) noexcept : state_(std::move(other.state_)) {}

TWindowSubclass& TWindowSubclass::operator=(TWindowSubclass&& other) noexcept {
  if (this != &other) {
    Reset();
    state_ = std::move(other.state_);
  }
  return *this;
}

TWindowSubclass::~TWindowSubclass() { Reset(); }

void TWindowSubclass::Reset() noexcept {
  if (!state_) return;
  State* s = state_.get();
  if (s->attached && IsWindow(s->window) && WindowProcOf(s->window) != s->chainEntry) {
    // Someone replaced the window procedure after this link was made (SetWindowLongPtr) and
    // calls the chain from there. Removing the chain's last link may put back the procedure
    // found before the chain (some versions of the common controls do so unconditionally),
    // which would cut that later procedure off. The link stays, passing every message on, and
    // leaves when the chain is the window's entry again or at WM_NCDESTROY.
    s->inert = true;
    s->orphan = std::move(state_);
    return;
  }
  if (s->attached) {
    RemoveWindowSubclass(s->window, SubclassProc, reinterpret_cast<UINT_PTR>(s));
    s->attached = false;
  }
  if (s->depth > 0) {
    s->orphan = std::move(state_);  // still running: it frees itself when the call returns
  } else {
    state_.reset();
  }
}

bool TWindowSubclass::Attached() const noexcept { return state_ && state_->attached; }

HWND TWindowSubclass::Window() const noexcept { return state_ ? state_->window : nullptr; }

LRESULT TWindowSubclass::CallNext(HWND h, UINT msg, WPARAM wp, LPARAM lp) { return DefSubclassProc(h, msg, wp, lp); }

}  // namespace zelvo
