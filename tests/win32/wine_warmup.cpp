// Does the first-start work of a new Wine prefix before any timed test runs. The first window
// ever made in a prefix starts the desktop process and the display driver, and the first text
// drawn with the system's fonts builds the prefix's font cache; on a slow or busy machine that
// takes longer than a test's waits allow. This program makes a captioned window with a push
// button, draws text in the fonts the program's windows use, and ends with status 0 once the
// window has been painted (status 1 when a window cannot be made at all).
#include <windows.h>

#include <commctrl.h>

namespace {

constexpr UINT kPainted = WM_APP + 1;

void DrawSample(HDC dc) {
  // The faces the program's forms, dialogs and captions ask for, and the stock GUI font.
  const char* const faces[] = {"MS Sans Serif", "Tahoma", "Marlett", "Arial"};
  int y = 4;
  for (const char* face : faces) {
    HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    HGDIOBJ old = SelectObject(dc, font);
    TextOutA(dc, 4, y, "Zelvo 0123456789", 16);
    SelectObject(dc, old);
    DeleteObject(font);
    y += 16;
  }
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  TextOutA(dc, 4, y, "Zelvo 0123456789", 16);
  SelectObject(dc, old);
}

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      DrawSample(dc);
      EndPaint(window, &ps);
      PostMessageA(window, kPainted, 0, 0);
      return 0;
    }
    case kPainted:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, msg, wp, lp);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "ZelvoWineWarmUp";
  if (!RegisterClassA(&wc)) return 1;
  HWND window = CreateWindowExA(0, wc.lpszClassName, "Wine prefix warm-up", WS_OVERLAPPEDWINDOW, 40, 40, 320, 200,
                                nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 200, 120, 75, 23, window, nullptr,
                  instance, nullptr);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
