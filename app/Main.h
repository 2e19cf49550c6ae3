// The main window: the artwork, one "Register Now!" button, and the online registration.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/Registration.h"
#include "app/Shell.h"
#include "framework/Layout.h"

namespace zelvo {

class TSkinData;
struct TSkinDataStored;

// Stored settings of the main window's skin component; the skin itself is the
// MAINFORM_SKINSTREAM resource the build packs from resources/skin.
TSkinDataStored MainSkinSettings();

// The settings file beside the program: empty settings when there is none; a file that exists
// but cannot be read is a failure.
TRegistrationSettings ReadSettingsFile();
// Where the main window's creation step takes its settings from.
using TSettingsSource = std::function<TRegistrationSettings()>;

// The online registration: the page address (the default page when the settings name none,
// kept in `settings`) followed by the SKU is handed to the shell's "open", hidden, with `owner`
// as the owner window. Returns the shell's answer; an address that may not be opened is
// answered 0 without asking the shell.
uintptr_t OpenRegistrationPage(IShell& shell, HWND owner, TRegistrationSettings& settings);
// Tells the user that the registration page could not be opened; waits until the user has
// dismissed the message.
void ReportRegistrationRefused();

class TMainForm : public TTableForm {
 public:
  // The shell to use and where the creation step reads the settings. Silent mode is decided
  // before the main window is made (see Program.h): the window never sees the command line.
  TMainForm(TComponent* owner, std::unique_ptr<IShell> shell, TSettingsSource readSettings = ReadSettingsFile);
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
  // Shows the registration form modally; set by the program once that form exists.
  std::function<void()> ShowRegistrationForm;

  // The window's skin component (created after the layout's controls, owned by the window).
  TSkinData* SkinData = nullptr;

 private:
  std::unique_ptr<IShell> shell_;
  TSettingsSource readSettings_;
  TRegistrationSettings settings_;
};

}  // namespace zelvo
