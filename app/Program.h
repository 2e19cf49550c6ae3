// The program's start-up, shared by the entry point and by the end-to-end driver that prints the
// registration card, so that the driver's windows are made (and skinned) as the program's are.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/Shell.h"

namespace zelvo {

class TApplication;
class TMainForm;
class TRegisterForm;

// Starts the utility library and hands the skin components over to the real skin manager, then
// gives the application its title. When the utilities cannot start it tells the user and returns
// false: the program ends. Nothing here makes or needs a window.
bool StartProgram(TApplication& app);

// Gives the application its icon and makes its hidden window, the owner of the program's windows.
void InitializeApplication(TApplication& app);

struct TProgramForms {
  TMainForm* Main = nullptr;          // nullptr when its creation failed (the error was shown)
  TRegisterForm* Register = nullptr;  // nullptr also when silent mode has ended the program
};

// Initializes the application and creates its forms: the main window (its skin component
// serves every window of the program) and the mail-in registration form it shows. A failure
// goes to the application's exception handler.
//
// Silent mode (argument 1 "silent", any letter case) is decided first, before any window exists:
// the settings file is read and the registration page handed to the shell, with no owner window
// (the shell is told to show nothing of its own), and nothing else is made. Only when the shell
// refuses does the program make its hidden window and load its skin, for the error message; then
// the application is terminated either way and no form is returned. A settings file that cannot
// be read ends silent mode before it starts: the main window is made as in a normal start, its
// creation step reports that failure, and the program starts normally.
TProgramForms CreateProgramForms(TApplication& app, std::vector<std::string> args, std::unique_ptr<IShell> shell);

}  // namespace zelvo
