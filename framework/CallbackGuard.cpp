#include "framework/CallbackGuard.h"

#include <deque>
#include <exception>

#include "framework/Forms.h"

namespace zelvo {

namespace {
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
    HWND app = Application ? Application->Handle() : nullptr;
    if (app) PostMessageA(app, CM_CALLBACKERROR, 0, 0);
  } catch (...) {
    // No memory to queue the report: it is lost, but nothing crosses the callback.
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

bool IsNonClientMessage(UINT msg) noexcept {
  return (msg >= WM_NCCREATE && msg <= WM_NCACTIVATE) || (msg >= WM_NCMOUSEMOVE && msg <= WM_NCXBUTTONDBLCLK) ||
         msg == WM_NCMOUSEHOVER || msg == WM_NCMOUSELEAVE;
}

TCallbackPolicy PolicyForMessage(UINT msg) noexcept {
  switch (msg) {
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_PRINT:
    case WM_PRINTCLIENT:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return TCallbackPolicy::PostToApplication;
    default:
      return IsNonClientMessage(msg) ? TCallbackPolicy::PostToApplication : TCallbackPolicy::ShowDialog;
  }
}

}  // namespace zelvo
