// Helpers for driving real windows from a test: run an action that blocks in a nested message
// loop while a timer inspects and answers the dialog it shows.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/Forms.h"
#include "util/WinUtil.h"

namespace zelvo::test {

// The newest visible message dialog, or nullptr.
TMessageForm* VisibleMessageDialog();

// Runs `action`; while it runs, `onDialog` is called once for the first visible message dialog
// (after its window has been shown and focused). Returns false when no dialog ever appeared
// within the timeout.
bool WithDialog(const std::function<void()>& action, const std::function<void(TMessageForm&)>& onDialog,
                int timeoutMs = 5000);

// Sends a key press to the focused window through the application's message loop.
void PressKey(WORD vk);
// Lets the application handle pending messages for a while.
void Pump(int ms);

}  // namespace zelvo::test
