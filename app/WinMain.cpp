// Entry point: utilities first, then the application title, the main window, the registration
// form and the message loop.
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/Program.h"
#include "framework/Forms.h"
#include "util/WinUtil.h"

using namespace zelvo;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TApplication app;
  if (!StartProgram(app)) return 1;
  std::vector<std::string> args;
  for (int i = 1; i < __argc; ++i) args.emplace_back(__argv[i]);
  CreateProgramForms(app, std::move(args), std::make_unique<TWindowsShell>());
  if (!app.Terminated() && app.MainForm()) app.Run();
  StopUtilities();
  return 0;
}
