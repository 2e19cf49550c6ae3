#include "app/Shell.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <string>

#include "app/Registration.h"
#include "framework/Handles.h"
#include "framework/Text.h"

namespace zelvo {

namespace {
// ANSI text (or none) in its wide form.
std::wstring Widen(const char* text) { return text ? AnsiToWide(text) : std::wstring(); }
// The command registered to open addresses of the given scheme ("https"), honouring the user's
// choice of program; empty when there is none the program can start itself.
std::wstring SchemeOpenCommand(const std::wstring& scheme) {
  DWORD size = 0;
  if (AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, scheme.c_str(), L"open", nullptr, &size) != S_FALSE ||
      size <= 1) {
    return {};
  }
  std::wstring command(size, L'\0');
  if (FAILED(AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, scheme.c_str(), L"open", command.data(),
                               &size))) {
    return {};
  }
  command.resize(wcsnlen(command.c_str(), command.size()));
  return command;
}

// Opens a long web address with the command its scheme is registered with, without the shell's
// execute call. False when there is no such command or it could not be started.
bool OpenLongAddress(const std::wstring& address, int showCommand) {
  const size_t colon = address.find(L':');
  if (colon == std::wstring::npos || colon == 0) return false;
  std::wstring commandLine = ExpandOpenCommand(SchemeOpenCommand(address.substr(0, colon)), address);
  if (commandLine.empty()) return false;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  UniqueKernelHandle thread(process.hThread), child(process.hProcess);
  return true;
}
}  // namespace

uintptr_t TWindowsShell::Execute(HWND owner, const char* operation, const std::string& file, const char* parameters,
                                 const char* directory, int showCommand) {
  // A long web address goes to its scheme's registered command directly: some shells copy the file
  // argument into path-sized buffers and fault on it. Where no command can be started the shell
  // is asked after all.
  if (file.size() >= kLongShellFile && !parameters && !directory &&
      (!operation || std::string_view(operation) == "open") && HasWebScheme(file) &&
      OpenLongAddress(Widen(file.c_str()), showCommand)) {
    return 33;
  }
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
