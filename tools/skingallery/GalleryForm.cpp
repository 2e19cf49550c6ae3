#include "tools/skingallery/GalleryForm.h"

#include <commctrl.h>
#include <commdlg.h>

#include <set>
#include <utility>

#include "framework/EditCtrls.h"
#include "framework/Menus.h"
#include "framework/ProgressBars.h"
#include "framework/SpeedButtons.h"
#include "framework/StdCtrls.h"
#include "skin/engine/SkinData.h"
#include "tools/skingallery/SampleDialog.h"
#include "util/Exceptions.h"
#include "util/Util.h"

namespace zelvo::gallery {

namespace {

constexpr UINT kFolderChangedMessage = WM_APP + 0x120;
constexpr UINT kOpenAtStartMessage = WM_APP + 0x121;
constexpr UINT_PTR kReloadTimer = 0x6A10;
constexpr UINT_PTR kPopupTimer = 0x6A11;
// The problems listed in one message box; the rest are counted.
constexpr size_t kProblemsShown = 30;

template <class T>
T* Place(TForm& form, int x, int y, int w, int h) {
  T* c = form.Create<T>();
  c->SetParent(&form);
  c->SetBounds(x, y, w, h);
  return c;
}

std::string CountText(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string ClockText() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  char buf[16];
  wsprintfA(buf, "%02u:%02u:%02u", t.wHour, t.wMinute, t.wSecond);
  return buf;
}

// Whether a problem of the new load concerns a file that changed since the skin on show was
// read: an entry that cannot be decoded, or a bitmap named in the description that is missing
// or unreadable. Such a file may still be on its way to disk (written in pieces, or replaced by
// a rename).
bool ConcernsChangedFiles(const TSkinSource& s, const std::vector<std::string>& changed) {
  std::set<std::string> names;
  for (const std::string& c : changed) names.insert(LowerAscii(c));
  for (const TSkinSourceEntry& e : s.Entries) {
    if (!e.Problem.empty() && !e.Duplicate && names.count(LowerAscii(e.Name))) return true;
  }
  for (const TSkinImageProblem& p : s.Skin.ImageProblems) {
    if (names.count(LowerAscii(PathName(p.Value)))) return true;
  }
  return false;
}

// The program's own skin, as its stored stream holds it (the 4-byte count, then the container).
TSkinSource ProgramSkinSource() {
  const TByteSpan stored = StoredSkinStream("MAINFORM_SKINSTREAM");
  if (stored.size() < 4) return {};
  return LoadSkinContainer(kProgramSkinName, TByteVector(stored.begin() + 4, stored.end()), true);
}

}  // namespace

TGalleryForm::TGalleryForm(TComponent* owner, std::string skinPath, bool openPopup)
    : TForm(owner), startPath_(std::move(skinPath)) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  Name = "GalleryForm";
  SetCaption(std::string(kGalleryTitle) + " - " + kProgramSkinName);
  BorderStyle = TFormBorderStyle::bsSizeable;
  Position = TPosition::poScreenCenter;
  SetClientSize(624, 430);

  BuildMenus();
  BuildFrameworkControls();
  Handle();  // the common controls below need the window
  BuildCommonControls();

  hook_ = HookWindowProc([this](TMessage& m, const TNext& next) { Message(m, next); });
  // The menu's shortcuts.
  KeyPreview = true;
  OnKeyDown = [this](TForm&, WORD& key, bool shift, bool ctrl, bool alt) {
    if (ctrl && !shift && !alt && key == 'O') {
      key = 0;
      ChooseSkin();
    } else if (!ctrl && !shift && !alt && key == VK_F5) {
      key = 0;
      Reload();
    }
  };
  if (openPopup) popupTimer_ = UniqueTimer::Set(Handle(), kPopupTimer, 1000);

  // The program's own skin, read as the program reads it; a skin named at start replaces it
  // once the window is up, so that a report about it has the gallery behind it.
  skin_ = Create<TSkinData>();
  skin_->Name = "SkinData";
  TSkinDataStored stored;
  stored.Active = true;
  stored.SkinStream = StoredSkinStream("MAINFORM_SKINSTREAM");
  skin_->ReadStored(stored);
  skin_->Loaded();
  shown_.Problems = ProgramSkinSource().Problems;
  ShowShownSkin();
  if (!startPath_.empty()) PostMessageA(Handle(), kOpenAtStartMessage, 0, 0);
}

TGalleryForm::~TGalleryForm() = default;

void TGalleryForm::BuildMenus() {
  auto* main = Create<TMainMenu>();
  Menu = main;
  TMenuItem* file = main->Items()->Add("&File");
  TMenuItem* open = file->Add("&Open...");
  open->ShortCut = MakeShortCut('O', scCtrl);
  open->OnClick = [this](TComponent&) { ChooseSkin(); };
  TMenuItem* reload = file->Add("&Reload");
  reload->ShortCut = MakeShortCut(VK_F5, 0);
  reload->OnClick = [this](TComponent&) { Reload(); };
  // A disabled item, for the skin's disabled menu text.
  TMenuItem* save = file->Add("&Save");
  save->ShortCut = MakeShortCut('S', scCtrl);
  save->Enabled = false;
  file->Add("-");
  TMenuItem* exit = file->Add("E&xit");
  exit->OnClick = [this](TComponent&) { Close(); };
  TMenuItem* view = main->Items()->Add("&View");
  view->Add("&Problems...")->OnClick = [this](TComponent&) { ShowProblems(); };
  view->Add("S&ystem dialog...")->OnClick = [this](TComponent&) { ShowSystemDialog(); };
  view->Add("-");
  TMenuItem* status = view->Add("&Status bar");
  status->Checked = true;
  status->OnClick = [status](TComponent&) { status->Checked = !status->Checked; };
  view->Add("&Large icons")->Default = true;
  main->Items()->Add("&Help")->Add("&About the gallery")->OnClick = [this](TComponent&) { ShowAbout(); };

  popup_ = Create<TPopupMenu>();
  TMenuItem* cut = popup_->Items()->Add("Cu&t");
  cut->ShortCut = MakeShortCut('X', scCtrl);
  TMenuItem* copy = popup_->Items()->Add("&Copy");
  copy->ShortCut = MakeShortCut('C', scCtrl);
  popup_->Items()->Add("&Paste")->Enabled = false;
  popup_->Items()->Add("-");
  popup_->Items()->Add("Chec&ked item")->Checked = true;
  TMenuItem* more = popup_->Items()->Add("&More");
  more->Add("First");
  more->Add("Second");
}

void TGalleryForm::BuildFrameworkControls() {
  Place<TEdit>(*this, 10, 10, 150, 21)->SetText("Edit field");
  spinEdit_ = Place<TEdit>(*this, 170, 10, 70, 21);
  spinEdit_->SetText("5");
  combo_ = Place<TComboBox>(*this, 260, 10, 170, 21);
  combo_->SetItems({"Combo box", "Second entry", "Third entry"});
  disabledCombo_ = Place<TComboBox>(*this, 440, 10, 170, 21);
  disabledCombo_->SetItems({"Disabled combo"});
  disabledCombo_->SetEnabled(false);

  auto* check = Place<TCheckBox>(*this, 10, 42, 110, 20);
  check->SetCaption("Check box");
  check->SetChecked(true);
  Place<TCheckBox>(*this, 125, 42, 110, 20)->SetCaption("Unchecked");
  auto* off = Place<TCheckBox>(*this, 240, 42, 120, 20);
  off->SetCaption("Disabled");
  off->SetChecked(true);
  off->SetEnabled(false);
  auto* r1 = Place<TRadioButton>(*this, 370, 42, 110, 20);
  r1->SetCaption("Radio button");
  r1->SetChecked(true);
  Place<TRadioButton>(*this, 490, 42, 110, 20)->SetCaption("Another");

  auto* group = Place<TRadioGroup>(*this, 10, 70, 180, 96);
  group->SetCaption("Radio group");
  group->SetItems({"Small", "Medium", "Large"});
  group->SetItemIndex(1);

  auto* memo = Place<TMemo>(*this, 200, 76, 210, 90);
  // Enough lines for its vertical scroll bar to show the skin's arrows, shaft and thumb.
  memo->ScrollBars = TScrollStyle::ssVertical;
  memo->SetText("A memo.\r\nSeveral lines of text\r\nin the skin's colours,\r\nwith the skin's scroll bar."
                "\r\nDrag its thumb:\r\nthe skin follows the mouse\r\nall the way down\r\nto the last line\r\nof this memo.\r\nThe end.");

  auto* button = Place<TButton>(*this, 420, 76, 90, 25);
  button->Name = "PushButton";
  button->SetCaption("Button");
  Place<TBitBtn>(*this, 520, 76, 90, 25)->SetKind(TBitBtnKind::bkOK);
  auto* disabled = Place<TButton>(*this, 520, 108, 90, 25);
  disabled->SetCaption("Disabled");
  disabled->SetEnabled(false);
  // Flat: at rest only its caption; hot and pressed show the skin's button frames.
  auto* speed = Place<TSpeedButton>(*this, 420, 108, 90, 25);
  speed->Name = "SpeedButton";
  speed->SetCaption("Speed");
  speed->SetFlat(true);

  // The skin's Progress entry across and upright.
  auto* across = Place<TProgressBar>(*this, 420, 142, 156, 16);
  across->Name = "ProgressAcross";
  across->SetPosition(60);
  auto* blocks = Place<TProgressBar>(*this, 420, 164, 156, 16);
  blocks->Name = "ProgressSmooth";
  blocks->Smooth = true;
  blocks->SetPosition(35);
  auto* upright = Place<TProgressBar>(*this, 586, 140, 24, 40);
  upright->Name = "ProgressUpright";
  upright->Orientation = TProgressBarOrientation::pbVertical;
  upright->SetPosition(70);
}

void TGalleryForm::BuildCommonControls() {
  auto common = [this](const char* cls, DWORD style, int x, int y, int w, int h, DWORD ex = 0) {
    HWND c = CreateWindowExA(ex, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, Handle(), nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return c;
  };
  // The combo boxes show their first entry once their windows hold the entries.
  combo_->Handle();
  combo_->SetItemIndex(0);
  disabledCombo_->Handle();
  disabledCombo_->SetItemIndex(0);
  // Up-down buttons on the second edit.
  HWND spin = common(UPDOWN_CLASSA, UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 0, 0);
  SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(spinEdit_->Handle()), 0);
  SendMessageA(spin, UDM_SETRANGE32, 0, 10);
  SendMessageA(spin, UDM_SETPOS32, 0, 5);

  HWND track = common(TRACKBAR_CLASSA, TBS_AUTOTICKS, 10, 174, 400, 34);
  SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
  SendMessageA(track, TBM_SETPOS, TRUE, 4);
  HWND trackBoth = common(TRACKBAR_CLASSA, TBS_AUTOTICKS | TBS_BOTH, 420, 184, 190, 34);
  SendMessageA(trackBoth, TBM_SETRANGE, TRUE, MAKELPARAM(0, 5));
  SendMessageA(trackBoth, TBM_SETPOS, TRUE, 2);

  HWND tabs = common(WC_TABCONTROLA, 0, 10, 216, 290, 180);
  const char* pages[] = {"General", "Colours", "Menus"};
  for (int i = 0; i < 3; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(pages[i]);
    SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }

  HWND list = common(WC_LISTVIEWA, LVS_REPORT, 310, 222, 300, 174, WS_EX_CLIENTEDGE);
  const char* columns[] = {"Entry", "Frames", "Size"};
  const int widths[] = {120, 70, 90};
  for (int i = 0; i < 3; ++i) {
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = widths[i];
    col.pszText = const_cast<char*>(columns[i]);
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
  }
  const char* rows[][3] = {{"Buttons", "5", "75 x 21"}, {"MenuItem", "5", "90 x 20"}, {"Tabs", "5", "70 x 22"},
                           {"Headerbar", "5", "60 x 18"}, {"StatusBarEdges", "3", "48 x 20"}};
  for (int r = 0; r < 5; ++r) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = r;
    item.pszText = const_cast<char*>(rows[r][0]);
    const int at = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (int c = 1; c < 3; ++c) {
      LVITEMA sub{};
      sub.iSubItem = c;
      sub.pszText = const_cast<char*>(rows[r][c]);
      SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&sub));
    }
  }

  statusBar_ = common(STATUSCLASSNAMEA, SBARS_SIZEGRIP, 0, 0, 0, 0);
  int parts[] = {130, 400, -1};
  SendMessageA(statusBar_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
  SetStatus(2, "Right click: popup menu");
}

void TGalleryForm::Message(TMessage& m, const TNext& next) {
  switch (m.Msg) {
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(m.WParam) == HandleIfCreated()) {
        popup_->Popup(static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam)));
        m.Result = 0;
        return;
      }
      break;
    case WM_TIMER:
      if (m.WParam == kPopupTimer) {
        popupTimer_.Reset();
        POINT at{300, 120};
        ClientToScreen(HandleIfCreated(), &at);
        popup_->Popup(at.x, at.y);
        m.Result = 0;
        return;
      }
      if (m.WParam == kReloadTimer) {
        TryReload();
        m.Result = 0;
        return;
      }
      break;
    case kFolderChangedMessage:
      FolderChanged();
      return;
    case kOpenAtStartMessage:
      OpenSkin(startPath_);
      return;
    case WM_SIZE:
      if (statusBar_) SendMessageA(statusBar_, WM_SIZE, 0, 0);
      break;
    default:
      break;
  }
  next(m);
}

// ---------------------------------------------------------------------------------------------
// Opening and showing a skin

bool TGalleryForm::OpenSkin(const std::string& path) {
  const TWinSkinFiles files;
  // A description file stands for its folder.
  std::string target = path;
  if (IsDescriptionPath(path) && files.KindOf(path) == TSkinPathKind::File) {
    target = FolderOf(path);
    if (target.empty()) target = ".";
  }
  const bool folder = files.KindOf(target) == TSkinPathKind::Folder;
  // Watched from before it is read, so that no change after the reading goes unseen.
  std::unique_ptr<TFolderWatch> watch;
  std::string watchError;
  if (folder) {
    try {
      watch = std::make_unique<TFolderWatch>(target, Handle(), kFolderChangedMessage);
    } catch (const Exception& e) {
      watchError = e.Message();
    }
  }
  TFolderSnapshot snapshot = folder ? SnapshotFolder(target) : TFolderSnapshot();
  TSkinSource source = LoadSkinSource(files, target, true);
  if (!source.Loaded()) {
    const std::string text = "The skin cannot be opened.\n\n" + source.Error +
                             (source.Outcome == TSkinSource::TOutcome::Busy ? " (try again when it is saved)" : "") +
                             "\n\nThe gallery keeps the skin it shows.";
    MessageBoxA(Handle(), text.c_str(), kGalleryTitle, MB_OK | MB_ICONSTOP);
    return false;
  }
  watch_ = std::move(watch);
  PutOnShow(std::move(source), target, std::move(snapshot));
  if (folder) SetStatus(2, watch_ ? "Watching the folder for changes" : watchError);
  return true;
}

void TGalleryForm::ChooseSkin() {
  char file[MAX_PATH] = "";
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Handle();
  // A skin folder is opened through its description file.
  ofn.lpstrFilter =
      "Skins (*.skn, a folder's *.ini)\0*.skn;*.ini\0Skin files (*.skn)\0*.skn\0"
      "Skin folders (their *.ini)\0*.ini\0All files (*.*)\0*.*\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrTitle = "Open a skin file or a skin folder's description";
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (GetOpenFileNameA(&ofn)) OpenSkin(file);
}

void TGalleryForm::PutOnShow(TSkinSource source, const std::string& path, TFolderSnapshot snapshot) {
  shown_.Path = path;
  shown_.Folder = source.Folder;
  shown_.Problems = std::move(source.Problems);
  shown_.Snapshot = std::move(snapshot);
  attempted_.clear();
  skin_->AdoptSkin(std::move(source.Skin), std::move(source.Container));
  ShowShownSkin();
}

void TGalleryForm::ShowShownSkin() {
  const std::string name = shown_.Path.empty() ? kProgramSkinName : PathName(shown_.Path);
  SetCaption(std::string(kGalleryTitle) + " - " + name);
  const size_t n = shown_.Problems.size();
  SetStatus(0, n == 0 ? "No problems" : CountText(n, "problem", "problems"));
  SetStatus(1, shown_.Path.empty() ? "The program's own skin" : (shown_.Folder ? "Folder " : "File ") + shown_.Path);
}

void TGalleryForm::SetStatus(int part, const std::string& text) {
  if (statusBar_) SendMessageA(statusBar_, SB_SETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.c_str()));
}

std::string TGalleryForm::StatusText(int part) const {
  if (!statusBar_) return {};
  const auto length = LOWORD(SendMessageA(statusBar_, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0));
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(statusBar_, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return text;
}

// ---------------------------------------------------------------------------------------------
// Following a skin folder

void TGalleryForm::FolderChanged() {
  if (!watch_) return;
  // More changes usually follow at once (an editor writes, then sets the time): wait for them.
  RestartReloadTimer(kReloadSettleMs);
}

void TGalleryForm::RestartReloadTimer(UINT ms) {
  // The running timer goes first: the new one has the same id, which killing the old would kill.
  reloadTimer_.Reset();
  reloadTimer_ = UniqueTimer::Set(Handle(), kReloadTimer, ms);
}

void TGalleryForm::Reload() {
  if (shown_.Path.empty()) {
    SetStatus(2, "The program's own skin is built in");
    return;
  }
  const std::string path = shown_.Path;
  OpenSkin(path);
}

void TGalleryForm::RetryReload(const std::string& why) {
  SetStatus(2, why);
  RestartReloadTimer(kReloadRetryMs);
}

void TGalleryForm::TryReload() {
  reloadTimer_.Reset();
  if (!watch_) return;
  const std::string folder = watch_->Folder();
  const TFolderSnapshot before = SnapshotFolder(folder);
  if (before != attempted_) {
    attempted_ = before;
    quietSince_ = GetTickCount();
  }
  const std::vector<std::string> changed = ChangedFiles(shown_.Snapshot, before);
  if (changed.empty()) return;  // nothing the skin is read from differs
  TSkinSource source = LoadSkinSource(TWinSkinFiles(), folder, true);
  if (SnapshotFolder(folder) != before) {
    RetryReload("Waiting for the folder's files to be saved");
    return;
  }
  // A file held open by its writer, a skin that does not load, or a changed file that cannot be
  // used may all be a save still under way; after a quiet while they are what the author saved.
  const bool quiet = GetTickCount() - quietSince_ >= kReloadQuietMs;
  if (!quiet && (!source.Loaded() || ConcernsChangedFiles(source, changed))) {
    RetryReload("Waiting for " + (changed.size() == 1 ? changed.front() : CountText(changed.size(), "file", "files")) +
                " to be complete");
    return;
  }
  if (!source.Loaded()) {
    SetStatus(2, "Not reloaded: " + source.Error);
    return;
  }
  PutOnShow(std::move(source), folder, before);
  SetStatus(2, "Reloaded at " + ClockText());
}

// ---------------------------------------------------------------------------------------------
// Problems, About, the system dialog

void TGalleryForm::ShowProblems() {
  const std::vector<std::string>& problems = shown_.Problems;
  const std::string name = shown_.Path.empty() ? kProgramSkinName : shown_.Path;
  std::string text;
  if (problems.empty()) {
    text = "No problems in " + name + ": every bitmap it names is there and decodes.";
  } else {
    text = CountText(problems.size(), "problem", "problems") + " in " + name + ":\n";
    for (size_t i = 0; i < problems.size() && i < kProblemsShown; ++i) text += "\n" + problems[i];
    if (problems.size() > kProblemsShown) text += "\n... and " + std::to_string(problems.size() - kProblemsShown) + " more";
  }
  MessageBoxA(Handle(), text.c_str(), "Skin problems", MB_OK | (problems.empty() ? MB_ICONINFORMATION : MB_ICONWARNING));
}

void TGalleryForm::ShowAbout() {
  const std::string text = std::string(kGalleryTitle) +
                           "\n\nShows a skin on every kind of control the skin engine draws. Open a skin file, or a "
                           "skin folder through its description; the gallery follows the folder as you edit it.\n\n"
                           "Skin: " +
                           (shown_.Path.empty() ? std::string(kProgramSkinName) : shown_.Path);
  MessageBoxA(Handle(), text.c_str(), "About the gallery", MB_OK | MB_ICONINFORMATION);
}

void TGalleryForm::ShowSystemDialog() { RunSampleDialog(Handle()); }

}  // namespace zelvo::gallery
