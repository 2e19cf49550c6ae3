// The boundary every callback the system calls goes through: window procedures, subclass and
// hook procedures, timer and enumeration callbacks.
//
// No exception crosses into the system. A failure is reported through the application's error
// handler, either at once (ShowDialog: a modal error dialog, fine for ordinary messages) or later
// (PostToApplication: the report is queued and the application window is posted a message that
// shows it). Inside hooks and painting a modal dialog would re-enter the code that failed, so
// those callbacks use the posting policy, and any guard nested inside them does too.
#pragma once

#include <windows.h>

#include <cstdint>
#include <type_traits>
#include <utility>

namespace zelvo {

enum class TCallbackPolicy : uint8_t { ShowDialog, PostToApplication };

// Posted to the application window when a deferred error report is waiting.
constexpr UINT CM_CALLBACKERROR = WM_APP + 0x3F01;

// Reports the exception being handled (call inside a catch block). Never throws.
void ReportCallbackException(TCallbackPolicy policy) noexcept;
// Shows every queued report now, oldest first (the application window calls this).
void ShowDeferredCallbackErrors() noexcept;
// Number of reports queued and not yet shown (for checks).
int DeferredCallbackErrorCount() noexcept;

// While one of these exists on the thread, every report is posted instead of shown: hooks and
// painting code open one around their work.
class TDeferCallbackReports {
 public:
  TDeferCallbackReports() noexcept;
  ~TDeferCallbackReports();
  TDeferCallbackReports(const TDeferCallbackReports&) = delete;
  TDeferCallbackReports& operator=(const TDeferCallbackReports&) = delete;
};
bool CallbackReportsDeferred() noexcept;

// Painting and non-client messages are handled with the posting policy.
TCallbackPolicy PolicyForMessage(UINT msg) noexcept;
// Messages whose failure must still reach the previous or default procedure (the frame, the
// caption, window creation and destruction): without it the window would be left half drawn or
// half made.
bool IsNonClientMessage(UINT msg) noexcept;

// Runs `body`; on an exception reports it with `policy` and returns `fallback`.
template <class F, class R>
R GuardCallback(TCallbackPolicy policy, F&& body, R fallback) noexcept {
  try {
    if (policy == TCallbackPolicy::PostToApplication) {
      TDeferCallbackReports defer;
      return std::forward<F>(body)();
    }
    return std::forward<F>(body)();
  } catch (...) {
    ReportCallbackException(policy);
    return fallback;
  }
}

// Runs a body returning nothing; on an exception reports it.
template <class F>
void GuardCallback(TCallbackPolicy policy, F&& body) noexcept {
  try {
    if (policy == TCallbackPolicy::PostToApplication) {
      TDeferCallbackReports defer;
      std::forward<F>(body)();
      return;
    }
    std::forward<F>(body)();
  } catch (...) {
    ReportCallbackException(policy);
  }
}

// Runs `body`; on an exception reports it and returns what `fallback()` gives (for example the
// previous window procedure's result). A failing fallback gives a value-initialised result.
template <class F, class Fb>
auto GuardCallbackOr(TCallbackPolicy policy, F&& body, Fb&& fallback) noexcept -> decltype(body()) {
  using R = decltype(body());
  try {
    if (policy == TCallbackPolicy::PostToApplication) {
      TDeferCallbackReports defer;
      return std::forward<F>(body)();
    }
    return std::forward<F>(body)();
  } catch (...) {
    ReportCallbackException(policy);
  }
  try {
    return std::forward<Fb>(fallback)();
  } catch (...) {
    ReportCallbackException(TCallbackPolicy::PostToApplication);
    return R{};
  }
}

}  // namespace zelvo
