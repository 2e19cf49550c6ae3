// The callback guard's Windows side: which messages are handled with which policy, and the
// application as the framework's lower modules see it (see CallbackGuard_core.h for the guard).
#pragma once

#include <windows.h>

#include "framework/CallbackGuard_core.h"

namespace zelvo {

// Posted to the application window when a deferred error report is waiting.
constexpr UINT CM_CALLBACKERROR = WM_APP + 0x3F01;

// The application as the modules below it (controls, menus) see it: where exceptions are
// reported, and the hidden window that hears what no form takes (deferred error reports, the commands of
// a popup menu that belongs to no window). The application registers itself for its lifetime.
class IApplicationHost : public IExceptionSink {
 public:
  virtual HWND Handle() const = 0;
  // Posts CM_CALLBACKERROR to the window.
  void DeferredReportsWaiting() override;
};
// Registers `host` as the exception sink too (null: none).
void SetApplicationHost(IApplicationHost* host) noexcept;
IApplicationHost* ApplicationHost() noexcept;

// Painting and non-client messages are handled with the posting policy.
TCallbackPolicy PolicyForMessage(UINT msg) noexcept;
// Messages whose failure must still reach the previous or default procedure (the frame, the
// caption, window creation and destruction): without it the window would be left half drawn or
// half made.
bool IsNonClientMessage(UINT msg) noexcept;

}  // namespace zelvo
