// The skin gallery's window: one skinned form holding every kind of control the skin engine
// draws, a main menu and a popup menu, so that a skin author sees a skin on all of them at once;
// and the author's loop around it: open a skin file or folder, see its problems, and see a
// folder's edits as they are saved.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/Handles.h"
#include "skin/file/SkinSource.h"
#include "tools/skingallery/FolderWatch.h"
#include "tools/skingallery/GalleryFiles.h"

namespace zelvo {

class TComboBox;
class TEdit;
class TPopupMenu;
class TMenuItem;
class TSkinData;

namespace gallery {

inline constexpr char kGalleryTitle[] = "Zelvo Skin Gallery";
// What the title names for the skin the program carries.
inline constexpr char kProgramSkinName[] = "program skin";

// After a change in the watched folder, the reload waits this long for more changes; a folder
// that is still changing while it is read, a file still being written, or a file that changed
// and now cannot be used (the editor may be halfway through saving it) is tried again after
// kReloadRetryMs, until the folder has been quiet for kReloadQuietMs: only then is a failure
// taken as the author's.
inline constexpr UINT kReloadSettleMs = 150;
inline constexpr UINT kReloadRetryMs = 200;
inline constexpr DWORD kReloadQuietMs = 2000;

// The skin on show: where it came from and what the inspect tool says of it.
struct TShownSkin {
  std::string Path;   // a skin file or a skin folder; empty for the program's own skin
  bool Folder = false;
  std::vector<std::string> Problems;
  TFolderSnapshot Snapshot;  // a folder's files as they were read
};

class TGalleryForm : public TForm {
 public:
  // `skinPath`: a skin file, a skin folder or a folder's description, opened once the window is
  // shown (empty: the program's skin only). `openPopup`: the popup menu opens a second after start.
  TGalleryForm(TComponent* owner, std::string skinPath, bool openPopup);
  ~TGalleryForm() override;
  const char* ClassName() const override { return "TGalleryForm"; }

  // Opens a skin file, a skin folder, or the folder of a description file. A skin that cannot be
  // read is reported in a message box (its path and the problem) and the skin on show stays.
  bool OpenSkin(const std::string& path);
  // File > Open...: the system's open-file dialog for skin files and skin folders' descriptions.
  void ChooseSkin();
  // Reads the skin on show again from its file or folder.
  void Reload();
  // View > Problems: the problems in a message box.
  void ShowProblems();
  // Help > About: the system's message box.
  void ShowAbout();
  // View > System dialog: a small system dialog of an edit, a check box and buttons.
  void ShowSystemDialog();

  const TShownSkin& Shown() const { return shown_; }
  TSkinData& SkinData() const { return *skin_; }
  bool Watching() const { return watch_ != nullptr; }
  // The text of one of the status bar's three parts: the problem count, the skin's source and
  // what the reload last did.
  std::string StatusText(int part) const;
  TPopupMenu& Popup() const { return *popup_; }

 private:
  void BuildMenus();
  void BuildFrameworkControls();
  void BuildCommonControls();
  void Message(TMessage& m, const TNext& next);
  // Puts a loaded skin on show and tells the title and the status bar.
  void PutOnShow(TSkinSource source, const std::string& path, TFolderSnapshot snapshot);
  void FolderChanged();
  void TryReload();
  void RetryReload(const std::string& why);
  void RestartReloadTimer(UINT ms);
  void SetStatus(int part, const std::string& text);
  void ShowShownSkin();

  TSkinData* skin_ = nullptr;
  TPopupMenu* popup_ = nullptr;
  TEdit* spinEdit_ = nullptr;
  TComboBox* combo_ = nullptr;
  TComboBox* disabledCombo_ = nullptr;
  HWND statusBar_ = nullptr;
  THookToken hook_;
  std::string startPath_;
  TShownSkin shown_;
  std::unique_ptr<TFolderWatch> watch_;
  UniqueTimer reloadTimer_;
  UniqueTimer popupTimer_;
  // The folder as the last reload attempt found it, and since when it has looked so.
  TFolderSnapshot attempted_;
  DWORD quietSince_ = 0;
};

}  // namespace gallery
}  // namespace zelvo
