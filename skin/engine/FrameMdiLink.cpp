#include "skin/engine/FrameMdiLink.h"

#include <utility>

#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinMessages.h"
#include "util/Exceptions.h"

namespace zelvo {

void TFrameMdiLink::SetClient(HWND client) {
  client_ = client;
  if (client_) engine_->SetMdiClient(client_);
}

void TFrameMdiLink::Subclass() {
  if (!client_ || subclass_.Attached()) return;
  try {
    subclass_ = TWindowSubclass(client_, [this](HWND client, UINT msg, WPARAM wp, LPARAM lp) {
      return ClientMessage(client, msg, wp, lp);
    });
  } catch (const Exception&) {
    client_ = nullptr;
    return;
  }
  Sync();
}

void TFrameMdiLink::Release() {
  subclass_.Reset();
  if (client_ && engine_->MdiClient() == client_) engine_->SetMdiClient(nullptr);
  client_ = nullptr;
  if (std::exchange(childMaximized_, false) && engine_->MdiMaximized()) engine_->SetMdiMaximized(false);
}

LRESULT TFrameMdiLink::ClientMessage(HWND client, UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT result = TWindowSubclass::CallNext(client, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    // The subclass takes itself off after this message; the frame only forgets the client.
    if (client == client_) Release();
  } else if ((msg >= WM_MDICREATE && msg <= WM_MDIREFRESHMENU && msg != WM_MDIGETACTIVE) ||
             msg == kMdiCalcChildScroll) {
    // Creating, destroying, activating, maximizing, restoring, cascading, tiling: any of them
    // may have changed whether the active child is maximized. A child maximized or restored
    // through its own system menu does not go through the client's MDI messages, but the client
    // posts itself the scroll-range message after any child was sized.
    Sync();
  }
  return result;
}

bool TFrameMdiLink::Sync() {
  if (!client_ || syncing_ || !IsWindow(client_)) return false;
  BOOL maximized = FALSE;
  syncing_ = true;
  const HWND active =
      reinterpret_cast<HWND>(SendMessageA(client_, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
  syncing_ = false;
  const bool now = active != nullptr && maximized != FALSE;
  if (engine_->MdiMaximized() != now) engine_->SetMdiMaximized(now);
  if (now == childMaximized_) return false;
  childMaximized_ = now;
  if (changed_) changed_();
  return true;
}

void TFrameMdiLink::CommandActiveChild(WPARAM command) {
  if (!client_) return;
  const HWND child = reinterpret_cast<HWND>(SendMessageA(client_, WM_MDIGETACTIVE, 0, 0));
  if (!child) return;
  SendMessageA(child, WM_SYSCOMMAND, command, 0);
  // Usually the client's own messages have told already; an unskinned child restored by its own
  // system command has not.
  Sync();
}

}  // namespace zelvo
