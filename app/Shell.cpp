#include "app/Shell.h"

#include <shellapi.h>

#include <string>

namespace zelvo {

namespace {
// ANSI text in its wide form, as the system's own conversion reads the program's code page.
std::wstring Widen(const char* text) {
  if (!text || !*text) return {};
  const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (size <= 1) return {};
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), size);
  wide.resize(static_cast<size_t>(size - 1));
  return wide;
}
}  // namespace

uintptr_t TWindowsShell::Execute(HWND owner, const char* operation, const std::string& file, const char* parameters,
                                 const char* directory, int showCommand) {
  // The wide, extended call: on some systems a long address faults inside the plain ANSI call.
  const std::wstring verb = Widen(operation), target = Widen(file.c_str());
  const std::wstring params = Widen(parameters), dir = Widen(directory);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // Errors come back to the caller, which reports them in the program's own words.
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner;
  info.lpVerb = operation ? verb.c_str() : nullptr;
  info.lpFile = target.c_str();
  info.lpParameters = parameters ? params.c_str() : nullptr;
  info.lpDirectory = directory ? dir.c_str() : nullptr;
  info.nShow = showCommand;
  if (!ShellExecuteExW(&info)) {
    // The execute call's own failure numbers are all 32 or below; a failed call without one counts
    // as "no association".
    const uintptr_t code = reinterpret_cast<uintptr_t>(info.hInstApp);
    return code != 0 && code <= 32 ? code : SE_ERR_NOASSOC;
  }
  // Success: the result is above 32 by definition, whatever the call left in hInstApp.
  const uintptr_t code = reinterpret_cast<uintptr_t>(info.hInstApp);
  return code > 32 ? code : 33;
}

}  // namespace zelvo
