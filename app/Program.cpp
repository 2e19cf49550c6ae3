#include "app/Program.h"

#include <windows.h>

#include <exception>

#include "app/Main.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "reginfo/RegInfo.h"
#include "skin/engine/SkinManage.h"
#include "util/WinUtil.h"

namespace zelvo {

namespace {
constexpr char kProgramTitle[] = "Zelvo Program Registration";
}

bool StartProgram(TApplication& app) {
  try {
    StartUtilities(app);
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), kProgramTitle, MB_OK | MB_ICONSTOP);
    return false;
  }
  // The skin components hand over to the real skin manager. The application owns it and shuts
  // it down before it frees the forms, so every skinned window gets its own window procedure
  // back while the skin code still exists.
  UseSkinManage();
  app.Icon = LoadSharedIcon("MAINICON");
  app.SetTitle(kProgramTitle);
  return true;
}

TProgramForms CreateProgramForms(TApplication& app, std::vector<std::string> args, std::unique_ptr<IShell> shell) {
  TProgramForms forms;
  try {
    app.Initialize();
    forms.Main = app.CreateForm<TMainForm>(args, std::move(shell));
    // The mail-in registration form follows the main window (silent mode has ended by now).
    if (!app.Terminated()) {
      TRegisterForm* registerForm = app.CreateForm<TRegisterForm>(args);
      forms.Main->ShowRegistrationForm = [registerForm] { registerForm->ShowModal(); };
      forms.Register = registerForm;
    }
  } catch (...) {
    HandleCurrentException();
  }
  return forms;
}

}  // namespace zelvo
