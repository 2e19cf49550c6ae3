// The boundary every callback the system calls goes through: window procedures, subclass and
// hook procedures, timer and enumeration callbacks.
//
// No exception crosses into the system. A failure is reported to the application (the exception
// sink), either at once (ShowDialog: a modal error dialog, fine for ordinary messages) or later
// (PostToApplication: the report is queued and the sink is told that reports wait; the
// application posts its window a message that shows them). Inside hooks and painting a modal
// dialog would re-enter the code that failed, so those callbacks use the posting policy, and any
// guard nested inside them does too.
//
// The application registers itself as the sink for its lifetime, so the modules below it report
// without knowing it. Portable: no platform headers.
#pragma once

#include <cstdint>
#include <exception>
#include <utility>

namespace zelvo {

enum class TCallbackPolicy : uint8_t { ShowDialog, PostToApplication };

// Where reports go (the application).
class IExceptionSink {
 public:
  virtual ~IExceptionSink() = default;
  // Shows a report of `e` now. May throw; the reporting functions below catch it.
  virtual void HandleException(const std::exception& e) = 0;
  // Reports were queued: ShowDeferredCallbackErrors should run once the callback is over.
  virtual void DeferredReportsWaiting() = 0;
};

// The sink reports go to (null: none; reports to be shown now are dropped, queued ones wait).
void SetExceptionSink(IExceptionSink* sink) noexcept;
IExceptionSink* ExceptionSink() noexcept;

// Reports the exception being handled (call inside a catch block) to the sink at once; an
// exception that is no std::exception reads "Unknown failure".
void HandleCurrentException();

// Reports the exception being handled with `policy`. Never throws.
void ReportCallbackException(TCallbackPolicy policy) noexcept;
// Shows every queued report now, oldest first (the application calls this).
void ShowDeferredCallbackErrors() noexcept;
// Number of reports queued and not yet shown (for checks).
int DeferredCallbackErrorCount() noexcept;

// While one of these exists on the thread, every report is queued instead of shown: hooks and
// painting code open one around their work.
class TDeferCallbackReports {
 public:
  TDeferCallbackReports() noexcept;
  ~TDeferCallbackReports();
  TDeferCallbackReports(const TDeferCallbackReports&) = delete;
  TDeferCallbackReports& operator=(const TDeferCallbackReports&) = delete;
};
bool CallbackReportsDeferred() noexcept;

namespace detail {
// Runs `body`, inside a deferral when the policy posts.
template <class F>
decltype(auto) RunUnderPolicy(TCallbackPolicy policy, F&& body) {
  if (policy == TCallbackPolicy::PostToApplication) {
    TDeferCallbackReports defer;
    return std::forward<F>(body)();
  }
  return std::forward<F>(body)();
}
}  // namespace detail

// Runs `body`; on an exception reports it with `policy` and returns `fallback`.
template <class F, class R>
R GuardCallback(TCallbackPolicy policy, F&& body, R fallback) noexcept {
  try {
    return detail::RunUnderPolicy(policy, std::forward<F>(body));
  } catch (...) {
    ReportCallbackException(policy);
    return fallback;
  }
}

// Runs a body returning nothing; on an exception reports it.
template <class F>
void GuardCallback(TCallbackPolicy policy, F&& body) noexcept {
  try {
    detail::RunUnderPolicy(policy, std::forward<F>(body));
  } catch (...) {
    ReportCallbackException(policy);
  }
}

// Runs `body`; on an exception reports it and returns what `fallback()` gives (for example the
// previous window procedure's result). A failing fallback gives a value-initialised result and
// a queued report.
template <class F, class Fb>
auto GuardCallbackOr(TCallbackPolicy policy, F&& body, Fb&& fallback) noexcept -> decltype(body()) {
  using R = decltype(body());
  try {
    return detail::RunUnderPolicy(policy, std::forward<F>(body));
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
