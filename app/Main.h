// The main window: the artwork, one "Register Now!" button, and the online registration.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/Registration.h"
#include "app/Shell.h"
#include "framework/Layout.h"

namespace zelvo {

class TSkinData;
struct TSkinDataStored;

// Stored settings of the main window's skin component; the skin itself is the
// MAINFORM_SKINSTREAM resource the build packs from resources/skin.
TSkinDataStored MainSkinSettings();

class TMainForm : public TTableForm {
 public:
  // The command-line arguments (without the program path) and the shell to use.
  TMainForm(TComponent* owner, std::vector<std::string> args, std::unique_ptr<IShell> shell);
  const char* ClassName() const override { return "TMainForm"; }
  Method MethodAddress(std::string_view name) override;

  static const TFormDef& LayoutTable();

  // Event handlers.
  void FormCreate();
  void FormCloseQuery();
  void BRegisterOnlineClick();
  void BRegisterMailClick();
  void BDontRegisterClick();

  const TRegistrationSettings& Settings() const { return settings_; }
  bool SilentMode() const { return silent_; }
  // Shows the registration form modally; set by the program once that form exists.
  std::function<void()> ShowRegistrationForm;

  // The window's skin component (created after the layout's controls, owned by the window).
  TSkinData* SkinData = nullptr;

 private:
  std::vector<std::string> args_;
  std::unique_ptr<IShell> shell_;
  TRegistrationSettings settings_;
  bool silent_ = false;
};

}  // namespace zelvo
