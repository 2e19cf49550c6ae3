#include "app/Main.h"

#include <array>
#include <optional>
#include <utility>

#include "framework/Handles.h"
#include "framework/Resources.h"
#include "framework/Text.h"
#include "resources/resource_ids.h"
#include "skin/engine/SkinData.h"
#include "util/Exceptions.h"
#include "util/IniFile.h"
#include "util/Util.h"
#include "util/WinUtil.h"

namespace zelvo {

namespace {
constexpr std::array<TControlDef, 2> kMainControls{{
    {TControlKind::Picture, "BackImage", 0, 0, 418, 275, nullptr, -1, lfAlignClient, nullptr, "MAINBACK", 0},
    {TControlKind::Button, "Button1", 160, 242, 97, 25, "Register Now!", 0, lfDefault, "BRegisterOnlineClick",
     nullptr, 0},
}};

constexpr TFormDef kMainLayout{
    "MainForm", "Zelvo Program Registration", 418, 275, TFormBorderStyle::bsSingle, biSystemMenu,
    TPosition::poScreenCenter, clBtnFace, "MS Sans Serif", -11, clWindowText, "MAINICON",
    "FormCreate", "FormCloseQuery", kMainControls};

// Reads a whole file; a file that exists but cannot be read is a failure.
std::string ReadWholeFile(const std::string& path) {
  UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw Exception("Cannot open file \"" + path + "\"");
  HANDLE f = file.Get();
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(f, &size)) throw Exception("Cannot read file \"" + path + "\"");
  if (size.QuadPart > static_cast<LONGLONG>(TIniFile::kMaxSize)) {
    throw Exception("The settings file \"" + path + "\" is too large");
  }
  std::string data(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!data.empty() && (!ReadFile(f, data.data(), static_cast<DWORD>(data.size()), &read, nullptr) ||
                        read != data.size())) {
    throw Exception("Cannot read file \"" + path + "\"");
  }
  return data;
}

// UTF-16 settings text in the system's ANSI code page, as every other text of the program.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 is the system's wide text");
std::string SettingsInAnsi(std::u16string_view wide) {
  std::optional<std::string> ansi =
      WideToAnsi(std::wstring_view(reinterpret_cast<const wchar_t*>(wide.data()), wide.size()));
  if (!ansi) throw Exception("The settings file cannot be read in this system's code page");
  return std::move(*ansi);
}
}  // namespace

TSkinDataStored MainSkinSettings() {
  TSkinDataStored s;
  s.Active = true;
  s.DisableTag = 99;
  s.SkinControls = kDefaultSkinControls;  // every kind except xcFastReport
  s.Skin3rd = MainFormSkin3rd();
  s.SkinFormtype = TSkinFormType::sfMainform;
  s.MenuUpdate = true;
  s.Version = "2.62.5.26";
  s.SkinStream = StoredSkinStream("MAINFORM_SKINSTREAM");
  return s;
}

const TFormDef& TMainForm::LayoutTable() { return kMainLayout; }

TRegistrationSettings ReadSettingsFile() {
  std::string settingsPath = SettingsFilePath(ProgramPath());
  DWORD attrs = GetFileAttributesA(settingsPath.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY)) return {};
  TIniFile ini(SettingsText(ReadWholeFile(settingsPath), SettingsInAnsi));
  return ReadRegistrationSettings(ini);
}

uintptr_t OpenRegistrationPage(IShell& shell, HWND owner, TRegistrationSettings& settings) {
  if (settings.pageAddress.empty()) settings.pageAddress = kDefaultRegistrationPage;
  std::string target = RegistrationTarget(settings.pageAddress, settings.sku);
  if (!MayOpenAddress(target)) return 0;
  return shell.Execute(owner, "open", target, nullptr, nullptr, SW_HIDE);
}

void ReportRegistrationRefused() { ShowError(LoadStr(IDS_ERROR_CONNECTING), 0, true); }

TMainForm::TMainForm(TComponent* owner, std::unique_ptr<IShell> shell, TSettingsSource readSettings)
    : TTableForm(owner), shell_(std::move(shell)), readSettings_(std::move(readSettings)) {
  BuildFromTable(kMainLayout);
  // The skin component comes after the controls, as the window's third component; once its
  // stored settings have been read it hands over to the skin manager.
  SkinData = Create<TSkinData>();
  SkinData->Name = "SkinData";
  SkinData->ReadStored(MainSkinSettings());
  SkinData->Loaded();
}

TTableForm::Method TMainForm::MethodAddress(std::string_view name) {
  if (name == "FormCreate") return [this](TComponent&) { FormCreate(); };
  if (name == "FormCloseQuery") return [this](TComponent&) { FormCloseQuery(); };
  if (name == "BRegisterOnlineClick") return [this](TComponent&) { BRegisterOnlineClick(); };
  if (name == "BRegisterMailClick") return [this](TComponent&) { BRegisterMailClick(); };
  if (name == "BDontRegisterClick") return [this](TComponent&) { BDontRegisterClick(); };
  return {};
}

// A settings file that cannot be read fails here: the error reporter shows it and the window
// starts with empty settings.
void TMainForm::FormCreate() { settings_ = readSettings_(); }

void TMainForm::FormCloseQuery() {}

void TMainForm::BRegisterOnlineClick() {
  // Owned by the application's hidden window, not by this one.
  if (ShellSucceeded(OpenRegistrationPage(*shell_, Application ? Application->Handle() : nullptr, settings_))) {
    Close();
  } else {
    ReportRegistrationRefused();
  }
}

void TMainForm::BRegisterMailClick() {
  if (ShowRegistrationForm) ShowRegistrationForm();
  Close();
}

void TMainForm::BDontRegisterClick() { Close(); }

}  // namespace zelvo
