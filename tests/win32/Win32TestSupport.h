// Helpers for driving real windows from a test: run an action that blocks in a nested message
// loop while a timer inspects and answers the dialog it shows; pump messages; print a window
// into memory and read its pixels back.
//
// Waits are for events (a dialog shown and focused, a condition met) with a generous limit, so
// that a slow or busy machine only makes a passing test slower; the limit costs nothing there.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "util/WinUtil.h"

namespace zelvo::test {

// The limit of the waits below, in milliseconds.
constexpr int kWaitLimitMs = 60000;

// The newest visible message dialog, or nullptr.
TMessageForm* VisibleMessageDialog();

// Runs `action`; while it runs, `onDialog` is called once for the first visible message dialog,
// as soon as the focus is in it (or, should it never take the focus, after a few seconds).
// Returns false when no dialog appeared within the time limit (from the start of `action`).
bool WithDialog(const std::function<void()>& action, const std::function<void(TMessageForm&)>& onDialog,
                int timeoutMs = kWaitLimitMs);

// Sends a key press to the focused window through the application's message loop.
void PressKey(WORD vk);
// Lets the application handle pending messages for a while.
void Pump(int ms);
// Dispatches the thread's messages for a while with a plain loop (no application object
// needed: for windows of the tests' own classes and for system dialogs).
void PumpFor(int ms);
// Lets the application handle messages until `done` holds; returns false when it still does not
// hold at the limit.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = kWaitLimitMs);

// Runs `action`; while it runs, `onBox` is called once for the first visible system dialog
// ("#32770") of this thread, with this caption when `caption` is given. `onBox` must close it.
// Returns false when no such dialog appeared within the timeout.
bool WithSystemDialog(const std::function<void()>& action, const std::function<void(HWND)>& onBox,
                      const char* caption = nullptr, int timeoutMs = kWaitLimitMs);

// A whole file's bytes (empty when it cannot be read).
std::vector<uint8_t> ReadFileBytes(const std::string& path);
// Writes a file as an editor saving in place does: created or emptied, written, closed. False
// when any of it fails.
bool WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes);

// What a window draws for one print message (WM_PRINT, WM_PRINTCLIENT) into a memory bitmap of
// the window's size, first filled black, read back pixel by pixel (window coordinates).
struct TPrinted {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
TPrinted PrintWindowPixels(HWND window, UINT msg, LPARAM flags);
// The same for whatever `draw` puts into the memory DC.
TPrinted PrintPixels(HWND window, const std::function<void(HDC)>& draw);

}  // namespace zelvo::test
