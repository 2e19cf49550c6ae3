// Entry point of the Windows test programs: an application object with its hidden window and the
// error reporter, as the program itself has them, then the GoogleTest run.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "util/WinUtil.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  zelvo::TApplication app;
  zelvo::StartUtilities(app);
  app.SetTitle("Zelvo Program Registration");
  app.Initialize();
  int result = RUN_ALL_TESTS();
  zelvo::StopUtilities();
  return result;
}
