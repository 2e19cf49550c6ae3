// The least program that opens a web page: one ShellExecuteA call, with the address it is given
// as its whole command line, hidden and with no owner window; exit status 0 when the shell
// accepted. The silent run of register.exe is measured against it (scripts/bench-silent-wine.sh).
#include <windows.h>

#include <shellapi.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  const auto answer = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", commandLine, nullptr, nullptr, SW_HIDE));
  return answer > 32 ? 0 : 1;
}
