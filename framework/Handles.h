// Move-only owners of system handles, all built from one template, plus the small scope guards
// that go with them (saved DC state, an object selected into a DC, a callable run at scope exit).
//
// A copied owner would close its handle twice, so every owner here is move-only. Each kind of
// handle is described by a traits type (most derive the first two from NullEmptyTraits):
//   using Handle = ...;                     the stored value
//   static Handle Empty();                  the value an empty owner holds
//   static bool IsEmpty(Handle);            optional: more than one "no handle" value
//   void Close(Handle) / static ...         frees a handle that is not empty
// Traits may carry state needed to close the handle (the window of a DC or a timer, the DC of a
// saved state); the owner keeps that state beside the handle and moves it with it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <type_traits>
#include <utility>

namespace zelvo {

// The system resource a kind of handle uses up, as the process's GUI resource counts see it.
// Traits that use one say so with `static constexpr THandleResource Resource = ...`.
enum class THandleResource { None, Gdi, User };

// How many handles of that resource the program's owners hold at this moment. Where the
// platform does not report GUI resource counts, this is how a leak of owners (an object or
// cache holding handles that never goes away) shows.
inline std::atomic<long>& OwnedHandleCount(THandleResource r) noexcept {
  static std::atomic<long> counts[3];
  return counts[static_cast<int>(r)];
}
inline long OwnedHandles(THandleResource r) noexcept { return OwnedHandleCount(r).load(std::memory_order_relaxed); }

template <class Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle h) noexcept : h_(h) { Counted(h_, 1); }
  UniqueHandle(Handle h, Traits traits) noexcept : traits_(std::move(traits)), h_(h) { Counted(h_, 1); }
  ~UniqueHandle() { Close(); }

  UniqueHandle(UniqueHandle&& o) noexcept
      : traits_(std::move(o.traits_)), h_(std::exchange(o.h_, Traits::Empty())) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) {
      Close();
      traits_ = std::move(o.traits_);
      h_ = std::exchange(o.h_, Traits::Empty());
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle Get() const noexcept { return h_; }
  explicit operator bool() const noexcept { return !IsEmptyValue(h_); }

  // Gives the handle up without closing it; the owner is empty afterwards.
  [[nodiscard]] Handle Release() noexcept {
    Counted(h_, -1);
    return std::exchange(h_, Traits::Empty());
  }

  // Closes the handle held and keeps `h` instead. Handing the owner the handle it already holds
  // keeps it open: there is nothing to close.
  void Reset(Handle h = Traits::Empty()) noexcept {
    if (h == h_) return;
    Close();
    h_ = h;
    Counted(h_, 1);
  }

  // Out-parameter access for APIs that return a handle through a pointer: closes what is held
  // first, so the pointer always fills an empty owner.
  Handle* Addr() noexcept {
    static_assert(ResourceOf() == THandleResource::None, "a counted handle cannot be filled through a pointer");
    Reset();
    return &h_;
  }

  const Traits& GetTraits() const noexcept { return traits_; }

  static bool IsEmptyValue(Handle h) noexcept {
    if constexpr (requires { Traits::IsEmpty(h); }) {
      return Traits::IsEmpty(h);
    } else {
      return h == Traits::Empty();
    }
  }

 private:
  static constexpr THandleResource ResourceOf() noexcept {
    if constexpr (requires { Traits::Resource; }) {
      return Traits::Resource;
    } else {
      return THandleResource::None;
    }
  }
  static void Counted(Handle h, long delta) noexcept {
    if constexpr (ResourceOf() != THandleResource::None) {
      if (!IsEmptyValue(h)) OwnedHandleCount(ResourceOf()).fetch_add(delta, std::memory_order_relaxed);
    }
  }
  void Close() noexcept {
    Handle h = std::exchange(h_, Traits::Empty());
    Counted(h, -1);
    if (!IsEmptyValue(h)) traits_.Close(h);
  }

  [[no_unique_address]] Traits traits_{};
  Handle h_ = Traits::Empty();
};

// ---- Traits -------------------------------------------------------------------------------------

// What most kinds share: the handle type, null for "no handle", and the resource it uses up.
template <class H, THandleResource R = THandleResource::None>
struct NullEmptyTraits {
  using Handle = H;
  static constexpr THandleResource Resource = R;
  static Handle Empty() noexcept { return nullptr; }
};

template <class H>
struct GdiTraits : NullEmptyTraits<H, THandleResource::Gdi> {
  static void Close(H h) noexcept { DeleteObject(h); }
};

struct MemoryDCTraits : NullEmptyTraits<HDC, THandleResource::Gdi> {
  static void Close(Handle h) noexcept { DeleteDC(h); }
};

// A DC obtained from a window (GetDC, GetWindowDC) goes back to the same window.
struct WindowDCTraits : NullEmptyTraits<HDC, THandleResource::Gdi> {
  HWND window = nullptr;
  void Close(Handle h) const noexcept { ReleaseDC(window, h); }
};

// Kernel handles: some calls fail with null, others with INVALID_HANDLE_VALUE; neither is closed.
struct KernelHandleTraits : NullEmptyTraits<HANDLE> {
  static bool IsEmpty(Handle h) noexcept { return h == nullptr || h == INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { CloseHandle(h); }
};

// A directory search (FindFirstFile / FindClose).
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsEmpty(Handle h) noexcept { return h == nullptr || h == INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { FindClose(h); }
};

struct MenuTraits : NullEmptyTraits<HMENU, THandleResource::User> {
  static void Close(Handle h) noexcept { DestroyMenu(h); }
};

struct IconTraits : NullEmptyTraits<HICON, THandleResource::User> {
  static void Close(Handle h) noexcept { DestroyIcon(h); }
};

struct ImageListTraits : NullEmptyTraits<HIMAGELIST> {
  static void Close(Handle h) noexcept { ImageList_Destroy(h); }
};

struct HookTraits : NullEmptyTraits<HHOOK, THandleResource::User> {
  static void Close(Handle h) noexcept { UnhookWindowsHookEx(h); }
};

struct RegKeyTraits : NullEmptyTraits<HKEY> {
  static void Close(Handle h) noexcept { RegCloseKey(h); }
};

struct GlobalMemoryTraits : NullEmptyTraits<HGLOBAL> {
  static void Close(Handle h) noexcept { GlobalFree(h); }
};

// A timer is a window plus an id (for a thread timer, null plus the id SetTimer returned).
struct TimerTraits {
  using Handle = UINT_PTR;
  HWND window = nullptr;
  static Handle Empty() noexcept { return 0; }
  void Close(Handle id) const noexcept { KillTimer(window, id); }
};

// A saved DC state: the DC plus the level SaveDC returned.
struct SavedDCTraits {
  using Handle = int;
  HDC dc = nullptr;
  static Handle Empty() noexcept { return 0; }
  void Close(Handle level) const noexcept { RestoreDC(dc, level); }
};

// An object selected into a DC: the DC plus the object it replaced, put back on close.
struct SelectionTraits : NullEmptyTraits<HGDIOBJ> {
  HDC dc = nullptr;
  void Close(Handle previous) const noexcept { SelectObject(dc, previous); }
};

// ---- Owners -------------------------------------------------------------------------------------

// Pens, brushes, fonts, bitmaps, regions, palettes (DeleteObject).
template <class H>
using UniqueGdi = UniqueHandle<GdiTraits<H>>;
// A DC this program created (CreateCompatibleDC, CreateDC): DeleteDC.
using UniqueDC = UniqueHandle<MemoryDCTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
// A file opened with CreateFile: failure is INVALID_HANDLE_VALUE, closed with CloseHandle.
using UniqueFileHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
// Only for icons that are not shared: a shared icon (LR_SHARED, LoadIcon) must never be destroyed.
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueImageList = UniqueHandle<ImageListTraits>;
using UniqueHook = UniqueHandle<HookTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueGlobal = UniqueHandle<GlobalMemoryTraits>;

// A memory DC like the given one (a null DC: like the screen).
inline UniqueDC CompatibleDC(HDC like) noexcept { return UniqueDC(CreateCompatibleDC(like)); }

// A window's DC, released to that window. `WindowDC(w)` is its client DC (GetDC); `Whole(w)` the
// DC of the whole window, frame included (GetWindowDC). A null window gives the screen's DC.
class WindowDC : public UniqueHandle<WindowDCTraits> {
 public:
  WindowDC() noexcept = default;
  explicit WindowDC(HWND w) noexcept : UniqueHandle(GetDC(w), WindowDCTraits{{}, w}) {}
  static WindowDC Whole(HWND w) noexcept { return WindowDC(GetWindowDC(w), w); }
  HWND Window() const noexcept { return GetTraits().window; }

 private:
  WindowDC(HDC dc, HWND w) noexcept : UniqueHandle(dc, WindowDCTraits{{}, w}) {}
};

// A running timer, killed by the owner. Window timers need a non-zero id.
class UniqueTimer : public UniqueHandle<TimerTraits> {
 public:
  UniqueTimer() noexcept = default;
  // Adopts a timer already set.
  UniqueTimer(HWND w, UINT_PTR id) noexcept : UniqueHandle(id, TimerTraits{w}) {}
  // Sets a timer; empty when SetTimer fails. For a thread timer (null window) the id is the one
  // SetTimer chose.
  static UniqueTimer Set(HWND w, UINT_PTR id, UINT ms, TIMERPROC proc = nullptr) noexcept {
    const UINT_PTR r = SetTimer(w, id, ms, proc);
    return UniqueTimer(w, r == 0 ? 0 : (w ? id : r));
  }
  HWND Window() const noexcept { return GetTraits().window; }
};

// Saves a DC's state (SaveDC) and restores exactly that state when the guard ends, whatever the
// code in between selected, clipped or moved.
class SavedDC : public UniqueHandle<SavedDCTraits> {
 public:
  SavedDC() noexcept = default;
  explicit SavedDC(HDC dc) noexcept : UniqueHandle(SaveDC(dc), SavedDCTraits{dc}) {}
};

// Selects an object into a DC for the lifetime of the guard; a null object selects nothing.
class ScopedSelect : public UniqueHandle<SelectionTraits> {
 public:
  ScopedSelect() noexcept = default;
  ScopedSelect(HDC dc, HGDIOBJ obj) noexcept
      : UniqueHandle(obj ? SelectObject(dc, obj) : nullptr, SelectionTraits{{}, dc}) {}
};

// Runs a callable once when the scope ends, unless dismissed. Moving hands the duty over.
template <class F>
class [[nodiscard]] ScopeExit {
 public:
  explicit ScopeExit(F f) noexcept(std::is_nothrow_move_constructible_v<F>) : f_(std::move(f)) {}
  ScopeExit(ScopeExit&& o) noexcept(std::is_nothrow_move_constructible_v<F>)
      : f_(std::move(o.f_)), active_(std::exchange(o.active_, false)) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  ScopeExit& operator=(ScopeExit&&) = delete;
  ~ScopeExit() {
    if (active_) f_();
  }
  void Dismiss() noexcept { active_ = false; }

 private:
  F f_;
  bool active_ = true;
};

}  // namespace zelvo
