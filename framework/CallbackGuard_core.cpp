#include "framework/CallbackGuard_core.h"

#include <deque>

#include "util/Exceptions.h"

namespace zelvo {

namespace {
IExceptionSink* g_sink = nullptr;
thread_local int t_deferDepth = 0;

std::deque<std::exception_ptr>& Deferred() {
  static std::deque<std::exception_ptr> queue;
  return queue;
}

void Show(const std::exception_ptr& e) noexcept {
  try {
    std::rethrow_exception(e);
  } catch (...) {
    try {
      HandleCurrentException();
    } catch (...) {
      // The reporter failed as well; nothing is left that could show it.
    }
  }
}
}  // namespace

void SetExceptionSink(IExceptionSink* sink) noexcept { g_sink = sink; }
IExceptionSink* ExceptionSink() noexcept { return g_sink; }

void HandleCurrentException() {
  try {
    throw;
  } catch (const std::exception& e) {
    if (g_sink) g_sink->HandleException(e);
  } catch (...) {
    if (g_sink) g_sink->HandleException(Exception("Unknown failure"));
  }
}

TDeferCallbackReports::TDeferCallbackReports() noexcept { ++t_deferDepth; }
TDeferCallbackReports::~TDeferCallbackReports() { --t_deferDepth; }
bool CallbackReportsDeferred() noexcept { return t_deferDepth > 0; }

void ReportCallbackException(TCallbackPolicy policy) noexcept {
  if (policy == TCallbackPolicy::ShowDialog && t_deferDepth == 0) {
    Show(std::current_exception());
    return;
  }
  try {
    Deferred().push_back(std::current_exception());
    if (g_sink) g_sink->DeferredReportsWaiting();
  } catch (...) {
    // No memory to queue the report, or no way to say it waits: nothing crosses the callback.
  }
}

void ShowDeferredCallbackErrors() noexcept {
  auto& queue = Deferred();
  while (!queue.empty()) {
    std::exception_ptr e = std::move(queue.front());
    queue.pop_front();
    Show(e);
  }
}

int DeferredCallbackErrorCount() noexcept { return static_cast<int>(Deferred().size()); }

}  // namespace zelvo
