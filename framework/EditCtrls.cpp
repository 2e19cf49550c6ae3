#include "framework/EditCtrls.h"

#include <algorithm>
#include <cctype>

namespace zelvo {

namespace {

// The text a window holds now (what the user typed into an edit or a combo box's edit part).
std::string WindowText(HWND h) {
  int n = GetWindowTextLengthA(h);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = GetWindowTextA(h, s.data(), n + 1);
  s.resize(static_cast<size_t>(std::max(n, 0)));
  return s;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  ParentColor = false;
  Color = clWindow;
}

void TCustomEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.baseClass = "EDIT";
  params.style |= ES_AUTOHSCROLL;
  params.exStyle |= WS_EX_CLIENTEDGE;
  if (CharCase == TEditCharCase::ecUpperCase) params.style |= ES_UPPERCASE;
  if (CharCase == TEditCharCase::ecLowerCase) params.style |= ES_LOWERCASE;
  if (readOnly_) params.style |= ES_READONLY;
}

void TCustomEdit::AfterCreateWnd() {
  HWND h = HandleIfCreated();
  SendMessageA(h, EM_LIMITTEXT, MaxLength > 0 ? static_cast<WPARAM>(MaxLength) : 0x7FFFFFFE, 0);
}

std::string TCustomEdit::Text() const {
  HWND h = HandleIfCreated();
  return h ? WindowText(h) : Caption();
}

void TCustomEdit::SetText(const std::string& text) {
  std::string t = text;
  if (CharCase == TEditCharCase::ecUpperCase) {
    for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  SetCaption(t);
}

void TCustomEdit::SetReadOnly(bool r) {
  readOnly_ = r;
  if (HWND h = HandleIfCreated()) SendMessageA(h, EM_SETREADONLY, r, 0);
}

bool TCustomEdit::Modified() const {
  HWND h = HandleIfCreated();
  return h && SendMessageA(h, EM_GETMODIFY, 0, 0) != 0;
}

void TCustomEdit::SetModified(bool m) {
  if (HWND h = HandleIfCreated()) SendMessageA(h, EM_SETMODIFY, m, 0);
}

void TCustomEdit::SelectAll() {
  if (HWND h = HandleIfCreated()) SendMessageA(h, EM_SETSEL, 0, -1);
}

int TCustomEdit::SelStart() const {
  DWORD start = 0, end = 0;
  if (HWND h = HandleIfCreated()) SendMessageA(h, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

int TCustomEdit::SelLength() const {
  DWORD start = 0, end = 0;
  if (HWND h = HandleIfCreated()) SendMessageA(h, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomEdit::SetSel(int start, int length) {
  if (HWND h = HandleIfCreated()) SendMessageA(h, EM_SETSEL, static_cast<WPARAM>(start), start + length);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(*this);
}

void TCustomEdit::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(*this, key);
}

void TCustomEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == EN_CHANGE) {
        // Keep the caption in step with what the user typed.
        TWinControl::SetCaptionSilently(WindowText(HandleIfCreated()));
        Change();
      }
      return;
    case WM_CHAR: {
      char key = static_cast<char>(m.WParam);
      KeyPress(key);
      if (key == 0) {
        m.Result = 0;
        return;
      }
      m.WParam = static_cast<unsigned char>(key);
      break;
    }
    case WM_SETFOCUS:
      TWinControl::WndProc(m);
      if (AutoSelect && !(GetWindowLongA(HandleIfCreated(), GWL_STYLE) & ES_MULTILINE)) SelectAll();
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------------------------
// TMemo

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner) { AutoSelect = false; }

void TMemo::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  params.style |= ES_MULTILINE | ES_AUTOVSCROLL;
  if (WordWrap) params.style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  if (WantReturns) params.style |= ES_WANTRETURN;
  if (ScrollBars == TScrollStyle::ssVertical || ScrollBars == TScrollStyle::ssBoth) params.style |= WS_VSCROLL;
  if (ScrollBars == TScrollStyle::ssHorizontal || ScrollBars == TScrollStyle::ssBoth) params.style |= WS_HSCROLL;
}

void TMemo::WndProc(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    TCustomEdit::WndProc(m);
    // The form's Enter handling passes Enter on to the memo only when it wants returns.
    m.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    auto* msg = reinterpret_cast<MSG*>(m.LParam);
    if (msg && msg->message == WM_KEYDOWN) {
      if (msg->wParam == VK_RETURN && WantReturns) m.Result |= DLGC_WANTALLKEYS;
      if (msg->wParam == VK_TAB && WantTabs) m.Result |= DLGC_WANTTAB;
    }
    return;
  }
  TCustomEdit::WndProc(m);
}

// ---------------------------------------------------------------------------------------------
// TComboBox

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  ParentColor = false;
  Color = clWindow;
}

void TComboBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.baseClass = "COMBOBOX";
  params.style |= WS_VSCROLL | CBS_AUTOHSCROLL;
  switch (Style) {
    case TComboBoxStyle::csDropDown: params.style |= CBS_DROPDOWN; break;
    case TComboBoxStyle::csSimple: params.style |= CBS_SIMPLE; break;
    case TComboBoxStyle::csDropDownList: params.style |= CBS_DROPDOWNLIST; break;
  }
  if (Sorted) params.style |= CBS_SORT;
}

void TComboBox::AfterCreateWnd() {
  HWND h = HandleIfCreated();
  for (const std::string& s : Items) SendMessageA(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  SendMessageA(h, CB_SETITEMHEIGHT, 0, ItemHeight);
  // The drop-down list shows DropDownCount items.
  RECT r{};
  GetWindowRect(h, &r);
  SetWindowPos(h, nullptr, 0, 0, Width(), Height() + ItemHeight * DropDownCount + 2,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!Caption().empty()) SetWindowTextA(h, Caption().c_str());
}

void TComboBox::SetItems(std::vector<std::string> items) {
  Items = std::move(items);
  if (HWND h = HandleIfCreated()) {
    SendMessageA(h, CB_RESETCONTENT, 0, 0);
    for (const std::string& s : Items) SendMessageA(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  }
}

std::string TComboBox::Text() const {
  HWND h = HandleIfCreated();
  return h ? WindowText(h) : Caption();
}

void TComboBox::SetText(const std::string& text) { SetCaption(text); }

int TComboBox::ItemIndex() const {
  HWND h = HandleIfCreated();
  return h ? static_cast<int>(SendMessageA(h, CB_GETCURSEL, 0, 0)) : -1;
}

void TComboBox::SetItemIndex(int index) {
  if (HWND h = HandleIfCreated()) SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool TComboBox::DroppedDown() const {
  HWND h = HandleIfCreated();
  return h && SendMessageA(h, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TComboBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    WORD code = HIWORD(m.WParam);
    if (code == CBN_EDITCHANGE || code == CBN_SELCHANGE) {
      if (code == CBN_SELCHANGE) {
        // The edit part is updated after the selection notice: take the chosen item's text.
        int i = ItemIndex();
        if (i >= 0 && i < static_cast<int>(Items.size())) SetCaptionSilently(Items[static_cast<size_t>(i)]);
      } else {
        SetCaptionSilently(Text());
      }
      if (OnChange) OnChange(*this);
    }
    return;
  }
  if (m.Msg == WM_GETDLGCODE) {
    DefaultHandler(m);
    // While the list is open, Enter and Escape belong to it.
    if (DroppedDown()) m.Result |= DLGC_WANTMESSAGE;
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------------------------
// TCheckBox and TRadioButton

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

void TCheckBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.baseClass = "BUTTON";
  params.style |= BS_AUTOCHECKBOX;
}

void TCheckBox::AfterCreateWnd() { SendMessageA(HandleIfCreated(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0); }

bool TCheckBox::Checked() const {
  HWND h = HandleIfCreated();
  return h ? SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED : checked_;
}

void TCheckBox::SetChecked(bool c) {
  checked_ = c;
  if (HWND h = HandleIfCreated()) SendMessageA(h, BM_SETCHECK, c ? BST_CHECKED : BST_UNCHECKED, 0);
}

TPropInfo TCheckBox::GetPropInfo(std::string_view name) const {
  if (name == "Checked") return {true, true};
  return {};
}
bool TCheckBox::GetOrdProp(std::string_view name, int32_t& value) const {
  if (name != "Checked") return false;
  value = Checked() ? 1 : 0;
  return true;
}
bool TCheckBox::SetOrdProp(std::string_view name, int32_t value) {
  if (name != "Checked") return false;
  SetChecked(value != 0);
  return true;
}

void TCheckBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED) {
      checked_ = Checked();
      Click();
    }
    return;
  }
  TWinControl::WndProc(m);
}

void TRadioButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.baseClass = "BUTTON";
  params.style |= BS_RADIOBUTTON;
}

void TRadioButton::WndProc(TMessage& m) {
  auto* group = dynamic_cast<TRadioGroup*>(Parent());
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED && group) {
        for (int i = 0; TRadioButton* b = group->Button(i); ++i) {
          if (b == this) group->SetItemIndex(i);
        }
        return;
      }
      break;
    case WM_KEYDOWN:
      if (group && (m.WParam == VK_LEFT || m.WParam == VK_UP || m.WParam == VK_RIGHT || m.WParam == VK_DOWN)) {
        int count = static_cast<int>(group->Items().size());
        int i = 0;
        while (i < count && group->Button(i) != this) ++i;
        int step = (m.WParam == VK_LEFT || m.WParam == VK_UP) ? -1 : 1;
        int next = (i + step + count) % count;
        group->SetItemIndex(next);
        group->Button(next)->SetFocus();
        return;
      }
      break;
    case WM_GETDLGCODE:
      DefaultHandler(m);
      m.Result |= DLGC_WANTARROWS;
      return;
    default:
      break;
  }
  TCheckBox::WndProc(m);
}

// ---------------------------------------------------------------------------------------------
// TRadioGroup

TRadioGroup::TRadioGroup(TComponent* owner) : TWinControl(owner) {}

void TRadioGroup::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.windowClass = "TRadioGroup";
  params.baseClass = "BUTTON";
  params.style |= BS_GROUPBOX | WS_CLIPCHILDREN;
  params.style &= ~static_cast<DWORD>(WS_TABSTOP);
}

void TRadioGroup::SetItems(const std::vector<std::string>& items) {
  for (TRadioButton* b : buttons_) {
    if (TComponent* owner = b->Owner()) owner->DestroyComponent(b);
  }
  buttons_.clear();
  items_ = items;
  TComponent* owner = Owner() ? Owner() : this;
  for (const std::string& item : items_) {
    auto* b = owner->Create<TRadioButton>();
    b->SetCaption(item);
    b->SetParent(this);
    buttons_.push_back(b);
  }
  ArrangeButtons();
  SetItemIndex(itemIndex_ < static_cast<int>(items_.size()) ? itemIndex_ : -1);
}

TRadioButton* TRadioGroup::Button(int index) const {
  if (index < 0 || index >= static_cast<int>(buttons_.size())) return nullptr;
  return buttons_[static_cast<size_t>(index)];
}

void TRadioGroup::SetItemIndex(int index) {
  itemIndex_ = index;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    bool on = static_cast<int>(i) == index;
    buttons_[i]->SetChecked(on);
    // Only the selected button (or the first when none is) is reached with Tab.
    buttons_[i]->SetTabStop(on || (index < 0 && i == 0));
  }
  if (OnClick) OnClick(*this);
}

void TRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  int columns = std::max(1, Columns);
  int rows = (static_cast<int>(buttons_.size()) + columns - 1) / columns;
  // Inside the frame: the caption takes the top; the buttons share the rest evenly.
  int fontHeight = EffectiveFont().height < 0 ? -EffectiveFont().height : EffectiveFont().height;
  int top = fontHeight + 2;
  int inner = std::max(1, Height() - top - 4);
  int rowHeight = inner / rows;
  int colWidth = (Width() - 10) / columns;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    int col = static_cast<int>(i) / rows, row = static_cast<int>(i) % rows;
    buttons_[i]->SetBounds(8 + col * colWidth, top + row * rowHeight + (rowHeight - (fontHeight + 6)) / 2,
                           colWidth - 4, fontHeight + 6);
  }
}

void TRadioGroup::WndProc(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND) {
    // The group box draws only its frame and caption; the area inside is the group's colour.
    RECT r;
    GetClientRect(HandleIfCreated(), &r);
    UniqueGdi<HBRUSH> brush(CreateSolidBrush(ColorToRGB(EffectiveColor())));
    FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush.Get());
    m.Result = 1;
    return;
  }
  if (m.Msg == WM_SIZE) {
    TWinControl::WndProc(m);
    ArrangeButtons();
    return;
  }
  TWinControl::WndProc(m);
}

}  // namespace zelvo
