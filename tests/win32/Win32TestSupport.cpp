#include "Win32TestSupport.h"

#include <gtest/gtest.h>

#include <utility>

#include "framework/Handles.h"

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
// Milliseconds since `start`, across the tick counter's wrap.
DWORD Since(DWORD start) { return GetTickCount() - start; }

// How long a shown dialog that never takes the focus is waited for before it is answered anyway
// (the test then reports what it finds).
constexpr DWORD kFocusGraceMs = 3000;

struct Watch {
  std::function<void(TMessageForm&)> onDialog;
  bool seen = false;
  DWORD start = 0;
  DWORD limit = 0;
  HWND shown = nullptr;  // the dialog found visible, and since when
  DWORD shownAt = 0;
};
Watch* g_watch = nullptr;

bool FocusIsIn(HWND dialog) {
  HWND focus = GetFocus();
  return focus && (focus == dialog || IsChild(dialog, focus));
}

void CALLBACK WatchTimer(HWND, UINT, UINT_PTR id, DWORD) {
  if (!g_watch || g_watch->seen) {
    KillTimer(nullptr, id);
    return;
  }
  if (TMessageForm* dlg = VisibleMessageDialog()) {
    // Act once the dialog has settled its focus: keys pressed before would go elsewhere.
    HWND h = dlg->HandleIfCreated();
    if (h != g_watch->shown) {
      g_watch->shown = h;
      g_watch->shownAt = GetTickCount();
    }
    if (!FocusIsIn(h) && Since(g_watch->shownAt) < kFocusGraceMs) return;
    g_watch->seen = true;
    KillTimer(nullptr, id);
    try {
      g_watch->onDialog(*dlg);
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what();
      dlg->ModalResult = 2;
    }
  } else if (Since(g_watch->start) > g_watch->limit) {
    KillTimer(nullptr, id);
  }
}
}  // namespace

bool WithDialog(const std::function<void()>& action, const std::function<void(TMessageForm&)>& onDialog,
                int timeoutMs) {
  Watch watch{onDialog, false, GetTickCount(), static_cast<DWORD>(timeoutMs)};
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

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (Since(start) > static_cast<DWORD>(timeoutMs)) return false;
    Application->ProcessMessages();
    Sleep(5);
  }
  return true;
}

void PumpFor(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  MSG msg;
  while (static_cast<int>(end - GetTickCount()) > 0) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  }
}

namespace {
struct BoxWatch {
  std::function<void(HWND)> onBox;
  const char* caption = nullptr;
  bool seen = false;
  DWORD start = 0;
  DWORD limit = 0;
};
BoxWatch* g_box = nullptr;

struct BoxSearch {
  const char* caption;
  HWND found = nullptr;
};
BOOL CALLBACK FindSystemDialog(HWND h, LPARAM lp) {
  auto* search = reinterpret_cast<BoxSearch*>(lp);
  char cls[16] = {}, text[256] = {};
  GetClassNameA(h, cls, sizeof cls);
  if (std::string(cls) != "#32770" || !IsWindowVisible(h)) return TRUE;
  GetWindowTextA(h, text, sizeof text);
  if (search->caption && std::string(text) != search->caption) return TRUE;
  search->found = h;
  return FALSE;
}

void CALLBACK BoxTimer(HWND, UINT, UINT_PTR id, DWORD) {
  if (!g_box || g_box->seen || Since(g_box->start) > g_box->limit) {
    KillTimer(nullptr, id);
    return;
  }
  BoxSearch search{g_box->caption};
  EnumThreadWindows(GetCurrentThreadId(), &FindSystemDialog, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return;
  g_box->seen = true;
  KillTimer(nullptr, id);
  g_box->onBox(search.found);
}
}  // namespace

bool WithSystemDialog(const std::function<void()>& action, const std::function<void(HWND)>& onBox,
                      const char* caption, int timeoutMs) {
  BoxWatch watch{onBox, caption, false, GetTickCount(), static_cast<DWORD>(timeoutMs)};
  BoxWatch* outer = std::exchange(g_box, &watch);
  SetTimer(nullptr, 0, 30, BoxTimer);
  action();
  g_box = outer;
  return watch.seen;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::vector<uint8_t> data;
  UniqueFileHandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!f) return data;
  data.resize(GetFileSize(f.Get(), nullptr));
  DWORD read = 0;
  if (!data.empty()) ReadFile(f.Get(), data.data(), static_cast<DWORD>(data.size()), &read, nullptr);
  data.resize(read);
  return data;
}

bool WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes) {
  UniqueFileHandle f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return f && (bytes.empty() || WriteFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) &&
         written == bytes.size();
}

TPrinted PrintWindowPixels(HWND window, UINT msg, LPARAM flags) {
  return PrintPixels(window, [&](HDC dc) { SendMessageA(window, msg, reinterpret_cast<WPARAM>(dc), flags); });
}

TPrinted PrintPixels(HWND window, const std::function<void(HDC)>& draw) {
  RECT wr{};
  GetWindowRect(window, &wr);
  TPrinted s;
  s.width = wr.right - wr.left;
  s.height = wr.bottom - wr.top;
  if (s.width <= 0 || s.height <= 0) return s;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, s.width, s.height);
  HGDIOBJ old = SelectObject(mem, bmp);
  RECT all{0, 0, s.width, s.height};
  FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  draw(mem);
  s.pixels.resize(static_cast<size_t>(s.width) * s.height);
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) s.pixels[static_cast<size_t>(y) * s.width + x] = GetPixel(mem, x, y);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return s;
}

}  // namespace zelvo::test
