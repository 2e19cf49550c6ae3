// Entry point: utilities first, then the application title, the main window, the registration
// form and the message loop.
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/Main.h"
#include "framework/Forms.h"
#include "reginfo/RegInfo.h"
#include "skin/SkinManage.h"
#include "util/Exceptions.h"
#include "util/WinUtil.h"

using namespace zelvo;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TApplication app;
  try {
    StartUtilities(app);
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), "Zelvo Program Registration", MB_OK | MB_ICONSTOP);
    return 1;
  }
  // The skin components hand over to the real skin manager. The application owns it and shuts
  // it down before it frees the forms, so every skinned window gets its own window procedure
  // back while the skin code still exists.
  UseSkinManage();
  std::vector<std::string> args;
  for (int i = 1; i < __argc; ++i) args.emplace_back(__argv[i]);

  app.Icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, 32, 32, 0));
  app.SetTitle("Zelvo Program Registration");
  try {
    app.Initialize();
    TMainForm* mainForm = app.CreateForm<TMainForm>(args, std::make_unique<TWindowsShell>());
    // The mail-in registration form follows the main window (silent mode has ended by now).
    if (!app.Terminated()) {
      TRegisterForm* registerForm = app.CreateForm<TRegisterForm>(args);
      mainForm->ShowRegistrationForm = [registerForm] { registerForm->ShowModal(); };
    }
  } catch (...) {
    HandleCurrentException();
  }
  if (!app.Terminated() && app.MainForm()) app.Run();
  StopUtilities();
  return 0;
}
