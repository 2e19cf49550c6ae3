#include "app/Shell.h"

#include <shellapi.h>

namespace zelvo {

uintptr_t TWindowsShell::Execute(HWND owner, const char* operation, const std::string& file,
                                 const char* parameters, const char* directory, int showCommand) {
  HINSTANCE r = ShellExecuteA(owner, operation, file.c_str(), parameters, directory, showCommand);
  return reinterpret_cast<uintptr_t>(r);
}

}  // namespace zelvo
