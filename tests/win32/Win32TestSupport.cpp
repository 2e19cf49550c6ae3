#include "Win32TestSupport.h"

#include <gtest/gtest.h>

namespace zelvo::test {

TMessageForm* VisibleMessageDialog() {
  TMessageForm* found = nullptr;
  for (TForm* f : Application->Forms()) {
    if (auto* m = dynamic_cast<TMessageForm*>(f); m && m->HandleIfCreated() && IsWindowVisible(m->HandleIfCreated())) {
      found = m;
    }
  }
  return found;
}

namespace {
struct Watch {
  std::function<void(TMessageForm&)> onDialog;
  bool seen = false;
  int ticks = 0;
  int maxTicks = 0;
};
Watch* g_watch = nullptr;

void CALLBACK WatchTimer(HWND, UINT, UINT_PTR id, DWORD) {
  if (!g_watch || g_watch->seen) {
    KillTimer(nullptr, id);
    return;
  }
  ++g_watch->ticks;
  if (TMessageForm* dlg = VisibleMessageDialog()) {
    // Give the dialog one more tick to settle its focus before acting on it.
    if (g_watch->ticks < 3) return;
    g_watch->seen = true;
    KillTimer(nullptr, id);
    try {
      g_watch->onDialog(*dlg);
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what();
      dlg->ModalResult = 2;
    }
  } else if (g_watch->ticks > g_watch->maxTicks) {
    KillTimer(nullptr, id);
  }
}
}  // namespace

bool WithDialog(const std::function<void()>& action, const std::function<void(TMessageForm&)>& onDialog,
                int timeoutMs) {
  Watch watch{onDialog, false, 0, timeoutMs / 30};
  g_watch = &watch;
  SetTimer(nullptr, 0, 30, WatchTimer);
  action();
  g_watch = nullptr;
  return watch.seen;
}

void PressKey(WORD vk) {
  HWND focus = GetFocus();
  PostMessageA(focus, WM_KEYDOWN, vk, 1);
  PostMessageA(focus, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
}

void Pump(int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (GetTickCount() < end) {
    Application->ProcessMessages();
    Sleep(10);
  }
}

}  // namespace zelvo::test
