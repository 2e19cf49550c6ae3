#include "app/Program.h"

#include <windows.h>

#include <exception>

#include "app/Main.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "reginfo/RegInfo.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinManage.h"
#include "util/WinUtil.h"

namespace zelvo {

namespace {
constexpr char kProgramTitle[] = "Zelvo Program Registration";

// Silent mode with settings in hand. The first window a process makes loads the display driver
// (and starts the desktop's process when none runs), which makes a silent run half as long again,
// so the shell gets no owner window; the refusal, which waits for the user anyway, gets everything
// a message of the program has: the hidden application window and the program's skin.
void RegisterSilently(TApplication& app, IShell& shell, TRegistrationSettings settings) {
  if (!ShellSucceeded(OpenRegistrationPage(shell, nullptr, settings))) {
    InitializeApplication(app);
    TSkinData skin(nullptr);
    skin.ReadStored(MainSkinSettings());
    skin.Loaded();
    ReportRegistrationRefused();
  }
  app.Terminate();
}
}  // namespace

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
  app.SetTitle(kProgramTitle);
  return true;
}

void InitializeApplication(TApplication& app) {
  // Loading the icon loads the display driver, which a silent run does without.
  app.Icon = LoadSharedIcon("MAINICON");
  app.Initialize();
}

TProgramForms CreateProgramForms(TApplication& app, std::vector<std::string> args, std::unique_ptr<IShell> shell) {
  TProgramForms forms;
  try {
    TSettingsSource readSettings = ReadSettingsFile;
    if (!args.empty() && IsSilentArgument(args[0])) {
      std::exception_ptr unreadable;
      TRegistrationSettings settings;
      try {
        settings = ReadSettingsFile();
      } catch (...) {
        unreadable = std::current_exception();
      }
      if (!unreadable) {
        RegisterSilently(app, *shell, std::move(settings));
        return forms;
      }
      // The main window's creation step reports the failure (the file is read once).
      readSettings = [unreadable]() -> TRegistrationSettings { std::rethrow_exception(unreadable); };
    }
    InitializeApplication(app);
    forms.Main = app.CreateForm<TMainForm>(std::move(shell), std::move(readSettings));
    TRegisterForm* registerForm = app.CreateForm<TRegisterForm>(args);
    forms.Main->ShowRegistrationForm = [registerForm] { registerForm->ShowModal(); };
    forms.Register = registerForm;
  } catch (...) {
    HandleCurrentException();
  }
  return forms;
}

}  // namespace zelvo
