// skingallery: one skinned window holding every kind of control the skin engine draws (edits,
// an edit with up-down buttons, a memo, combo boxes, check boxes, radio buttons, a radio group,
// push, bitmap and flat buttons, progress bars, a track bar, tabs, a list view with its header,
// a status bar), a main menu and a popup menu (right click), so that a skin author sees a skin
// on all of them at once.
//
//   skingallery.exe [skin.skn] [--popup]
//
// Without a skin file the program's own skin is shown. A skin file that is missing or cannot be
// read is reported and the program ends with status 2. --popup opens the popup menu a second
// after start (for screenshots).
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/EditCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinManage.h"
#include "util/Exceptions.h"
#include "util/WinUtil.h"

using namespace zelvo;

namespace {

constexpr UINT_PTR kPopupTimer = 0x6A11;

template <class T>
T* Place(TForm& form, int x, int y, int w, int h) {
  T* c = form.Create<T>();
  c->SetParent(&form);
  c->SetBounds(x, y, w, h);
  return c;
}

class TGalleryForm : public TForm {
 public:
  TGalleryForm(TComponent* owner, const std::string& skinFile, bool openPopup) : TForm(owner) {
    Name = "GalleryForm";
    SetCaption("Zelvo Skin Gallery");
    BorderStyle = TFormBorderStyle::bsSizeable;
    Position = TPosition::poScreenCenter;
    SetClientSize(624, 430);

    BuildMenus();
    BuildFrameworkControls();
    Handle();  // the common controls below need the window
    BuildCommonControls();

    hook_ = HookWindowProc([this](TMessage& m, const TNext& next) { Message(m, next); });
    if (openPopup) SetTimer(Handle(), kPopupTimer, 1000, nullptr);

    // The skin: the program's own, or the file named on the command line.
    skin_ = Create<TSkinData>();
    skin_->Name = "SkinData";
    TSkinDataStored stored;
    stored.Active = true;
    stored.SkinStream = StoredSkinStream("MAINFORM_SKINSTREAM");
    skin_->ReadStored(stored);
    skin_->Loaded();
    if (!skinFile.empty()) skin_->SetSkinFile(skinFile);
  }

 private:
  void BuildMenus() {
    auto* main = Create<TMainMenu>();
    Menu = main;
    TMenuItem* file = main->Items()->Add("&File");
    TMenuItem* open = file->Add("&Open...");
    open->ShortCut = MakeShortCut('O', scCtrl);
    TMenuItem* save = file->Add("&Save");
    save->ShortCut = MakeShortCut('S', scCtrl);
    save->Enabled = false;
    file->Add("-");
    TMenuItem* exit = file->Add("E&xit");
    exit->OnClick = [this](TComponent&) { Close(); };
    TMenuItem* view = main->Items()->Add("&View");
    TMenuItem* status = view->Add("&Status bar");
    status->Checked = true;
    status->OnClick = [status](TComponent&) { status->Checked = !status->Checked; };
    view->Add("&Large icons")->Default = true;
    main->Items()->Add("&Help")->Add("&About the gallery");

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

  void BuildFrameworkControls() {
    Place<TEdit>(*this, 10, 10, 150, 21)->SetText("Edit field");
    spinEdit_ = Place<TEdit>(*this, 170, 10, 70, 21);
    spinEdit_->SetText("5");
    auto* combo = Place<TComboBox>(*this, 260, 10, 170, 21);
    combo->SetItems({"Combo box", "Second entry", "Third entry"});
    combo_ = combo;
    auto* combo2 = Place<TComboBox>(*this, 440, 10, 170, 21);
    combo2->SetItems({"Disabled combo"});
    combo2->SetEnabled(false);
    disabledCombo_ = combo2;

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

    Place<TButton>(*this, 420, 76, 90, 25)->SetCaption("Button");
    Place<TBitBtn>(*this, 520, 76, 90, 25)->SetKind(TBitBtnKind::bkOK);
    auto* disabled = Place<TButton>(*this, 520, 108, 90, 25);
    disabled->SetCaption("Disabled");
    disabled->SetEnabled(false);
  }

  HWND Common(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, DWORD ex = 0) {
    HWND c = CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, Handle(), nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return c;
  }

  void BuildCommonControls() {
    // The combo boxes show their first entry once their windows hold the entries.
    combo_->Handle();
    combo_->SetItemIndex(0);
    disabledCombo_->Handle();
    disabledCombo_->SetItemIndex(0);
    // Up-down buttons on the second edit.
    HWND spin = Common(UPDOWN_CLASSA, "", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 0, 0);
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(spinEdit_->Handle()), 0);
    SendMessageA(spin, UDM_SETRANGE32, 0, 10);
    SendMessageA(spin, UDM_SETPOS32, 0, 5);
    // A flat button stands for the speed button.
    Common("BUTTON", "Speed", BS_PUSHBUTTON | BS_FLAT, 420, 108, 90, 25);

    HWND p1 = Common(PROGRESS_CLASSA, "", 0, 420, 142, 190, 16);
    SendMessageA(p1, PBM_SETPOS, 60, 0);
    HWND p2 = Common(PROGRESS_CLASSA, "", PBS_SMOOTH, 420, 164, 190, 16);
    SendMessageA(p2, PBM_SETPOS, 35, 0);

    HWND track = Common(TRACKBAR_CLASSA, "", TBS_AUTOTICKS, 10, 174, 400, 34);
    SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    SendMessageA(track, TBM_SETPOS, TRUE, 4);
    HWND trackBoth = Common(TRACKBAR_CLASSA, "", TBS_AUTOTICKS | TBS_BOTH, 420, 184, 190, 34);
    SendMessageA(trackBoth, TBM_SETRANGE, TRUE, MAKELPARAM(0, 5));
    SendMessageA(trackBoth, TBM_SETPOS, TRUE, 2);

    HWND tabs = Common(WC_TABCONTROLA, "", 0, 10, 216, 290, 180);
    const char* pages[] = {"General", "Colours", "Menus"};
    for (int i = 0; i < 3; ++i) {
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<char*>(pages[i]);
      SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }

    HWND list = Common(WC_LISTVIEWA, "", LVS_REPORT, 310, 222, 300, 174, WS_EX_CLIENTEDGE);
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

    HWND bar = Common(STATUSCLASSNAMEA, "", SBARS_SIZEGRIP, 0, 0, 0, 0);
    int parts[] = {200, 400, -1};
    SendMessageA(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    SendMessageA(bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("Status bar"));
    SendMessageA(bar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>("Second panel"));
    SendMessageA(bar, SB_SETTEXTA, 2, reinterpret_cast<LPARAM>("Right click: popup menu"));
    statusBar_ = bar;
  }

  void Message(TMessage& m, const TNext& next) {
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
          KillTimer(HandleIfCreated(), kPopupTimer);
          POINT at{300, 120};
          ClientToScreen(HandleIfCreated(), &at);
          popup_->Popup(at.x, at.y);
          m.Result = 0;
          return;
        }
        break;
      case WM_SIZE:
        if (statusBar_) SendMessageA(statusBar_, WM_SIZE, 0, 0);
        break;
      default:
        break;
    }
    next(m);
  }

  TSkinData* skin_ = nullptr;
  TPopupMenu* popup_ = nullptr;
  TEdit* spinEdit_ = nullptr;
  TComboBox* combo_ = nullptr;
  TComboBox* disabledCombo_ = nullptr;
  HWND statusBar_ = nullptr;
  THookToken hook_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::string skinFile;
  bool openPopup = false;
  for (int i = 1; i < __argc; ++i) {
    std::string arg = __argv[i];
    if (arg == "--popup") {
      openPopup = true;
    } else if (skinFile.empty()) {
      skinFile = arg;
    }
  }
  if (!skinFile.empty() && GetFileAttributesA(skinFile.c_str()) == INVALID_FILE_ATTRIBUTES) {
    MessageBoxA(nullptr, ("The skin file \"" + skinFile + "\" does not exist.").c_str(), "Zelvo Skin Gallery",
                MB_OK | MB_ICONSTOP);
    return 2;
  }
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);

  TApplication app;
  try {
    StartUtilities(app);
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), "Zelvo Skin Gallery", MB_OK | MB_ICONSTOP);
    return 1;
  }
  UseSkinManage();
  app.Icon = LoadSharedIcon("MAINICON");
  app.SetTitle("Zelvo Skin Gallery");
  int status = 0;
  try {
    app.Initialize();
    TGalleryForm* form = app.CreateForm<TGalleryForm>(skinFile, openPopup);
    form->Show();
  } catch (const ESkinLoadError& e) {
    MessageBoxA(nullptr, e.Message().c_str(), "Zelvo Skin Gallery", MB_OK | MB_ICONSTOP);
    status = 2;
  } catch (...) {
    HandleCurrentException();
  }
  if (status == 0 && !app.Terminated() && app.MainForm()) app.Run();
  StopUtilities();
  return status;
}
