#include "framework/CallbackGuard.h"

namespace zelvo {

namespace {
IApplicationHost* g_host = nullptr;
}  // namespace

void IApplicationHost::DeferredReportsWaiting() {
  if (HWND window = Handle()) PostMessageA(window, CM_CALLBACKERROR, 0, 0);
}

void SetApplicationHost(IApplicationHost* host) noexcept {
  g_host = host;
  SetExceptionSink(host);
}

IApplicationHost* ApplicationHost() noexcept { return g_host; }

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
