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
// gives the application its icon and title. When the utilities cannot start it tells the user
// and returns false: the program ends.
bool StartProgram(TApplication& app);

struct TProgramForms {
  TMainForm* Main = nullptr;          // nullptr when its creation failed (the error was shown)
  TRegisterForm* Register = nullptr;  // nullptr also when silent mode has ended the program
};

// Initializes the application and creates its forms: the main window (its skin component
// serves every window of the program) and the mail-in registration form it shows. A failure
// goes to the application's exception handler.
TProgramForms CreateProgramForms(TApplication& app, std::vector<std::string> args, std::unique_ptr<IShell> shell);

}  // namespace zelvo
