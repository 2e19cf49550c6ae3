// skingallery: one skinned window holding every kind of control the skin engine draws, for skin
// authors (see GalleryForm.h).
//
//   skingallery.exe [SKIN] [--popup]
//
// SKIN is a skin file, a skin folder or a skin folder's description file; without one the
// program's own skin is shown. A skin that cannot be read is reported and the program's skin
// stays. --popup opens the popup menu a second after start (for screenshots).
#include <windows.h>

#include <exception>
#include <string>

#include "framework/Forms.h"
#include "skin/engine/SkinManage.h"
#include "tools/skingallery/GalleryForm.h"
#include "util/WinUtil.h"

using namespace zelvo;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::string skinPath;
  bool openPopup = false;
  for (int i = 1; i < __argc; ++i) {
    const std::string arg = __argv[i];
    if (arg == "--popup") {
      openPopup = true;
    } else if (skinPath.empty()) {
      skinPath = arg;
    }
  }
  TApplication app;
  try {
    StartUtilities(app);
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), gallery::kGalleryTitle, MB_OK | MB_ICONSTOP);
    return 1;
  }
  UseSkinManage();
  app.Icon = LoadSharedIcon("MAINICON");
  app.SetTitle(gallery::kGalleryTitle);
  try {
    app.Initialize();
    app.CreateForm<gallery::TGalleryForm>(skinPath, openPopup)->Show();
  } catch (...) {
    HandleCurrentException();
  }
  if (!app.Terminated() && app.MainForm()) app.Run();
  StopUtilities();
  return 0;
}
