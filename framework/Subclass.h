// Subclassing a window by its handle (the common controls' window-subclass functions).
//
// A TWindowSubclass puts a procedure in front of a window's present procedure for as long as the
// object lives. Inside the procedure, TWindowSubclass::CallNext reaches the previous procedure.
// Subclasses of one window may be removed in any order, also from inside their own procedure;
// at WM_NCDESTROY the subclass removes itself once the message has been handled (Attached() then
// answers false). A procedure that someone installed later with SetWindowLongPtr, calling the
// chain from above, is never cut off: a subclass removed under it stays linked, passing every
// message on, until that procedure has gone or the window is destroyed. Every call of the
// procedure goes through the callback guard: an exception is reported, and for non-client
// messages the previous procedure's result is returned instead.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

namespace zelvo {

class TWindowSubclass {
 public:
  using Proc = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

  TWindowSubclass() noexcept;
  // Subclasses `window`; throws Exception when the window cannot be subclassed (not a window,
  // or one of another thread).
  TWindowSubclass(HWND window, Proc proc);
  TWindowSubclass(TWindowSubclass&& other) noexcept;
  TWindowSubclass& operator=(TWindowSubclass&& other) noexcept;
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;
  ~TWindowSubclass();

  // Removes the subclass now (harmless when already removed).
  void Reset() noexcept;
  bool Attached() const noexcept;
  HWND Window() const noexcept;

  // The previous procedure of the window whose subclass procedure is running.
  static LRESULT CallNext(HWND h, UINT msg, WPARAM wp, LPARAM lp);

  struct State;  // shared with the subclass procedure; outlives the owner while it runs

 private:
  std::unique_ptr<State> state_;
};

}  // namespace zelvo
