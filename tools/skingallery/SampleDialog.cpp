#include "tools/skingallery/SampleDialog.h"

#include <string_view>

namespace zelvo::gallery {

namespace {

// The predefined window classes of dialog items, by their atoms.
constexpr uint16_t kButtonAtom = 0x0080;
constexpr uint16_t kEditAtom = 0x0081;
constexpr uint16_t kStaticAtom = 0x0082;

class TTemplateWriter {
 public:
  void Word(uint16_t w) {
    bytes_.push_back(static_cast<uint8_t>(w));
    bytes_.push_back(static_cast<uint8_t>(w >> 8));
  }
  void Dword(uint32_t d) {
    Word(static_cast<uint16_t>(d));
    Word(static_cast<uint16_t>(d >> 16));
  }
  // A text as the template holds it: UTF-16, ending in a zero (the texts here are ASCII).
  void Text(std::string_view text) {
    for (char c : text) Word(static_cast<uint8_t>(c));
    Word(0);
  }
  void AlignDword() {
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
  }
  void Item(uint16_t atom, std::string_view text, DWORD style, short x, short y, short cx, short cy, uint16_t id) {
    AlignDword();
    Dword(WS_CHILD | WS_VISIBLE | style);
    Dword(0);  // extended style
    for (short v : {x, y, cx, cy}) Word(static_cast<uint16_t>(v));
    Word(id);
    Word(0xFFFF);
    Word(atom);
    Text(text);
    Word(0);  // no creation data
  }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

INT_PTR CALLBACK SampleProc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      SetDlgItemTextA(dialog, kSampleEditId, "An edit of a system dialog");
      CheckDlgButton(dialog, kSampleCheckId, BST_CHECKED);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wp));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

std::vector<uint8_t> SampleDialogTemplate() {
  TTemplateWriter t;
  constexpr uint16_t kItems = 5;
  t.Dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.Dword(0);  // extended style
  t.Word(kItems);
  for (short v : {0, 0, 200, 86}) t.Word(static_cast<uint16_t>(v));  // dialog units
  t.Word(0);  // no menu
  t.Word(0);  // the standard dialog class
  t.Text(kSampleDialogTitle);
  t.Word(8);  // point size of the font
  t.Text("MS Shell Dlg");
  t.Item(kStaticAtom, "&Name:", SS_LEFT, 7, 10, 34, 8, 0xFFFF);
  t.Item(kEditAtom, "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 44, 8, 149, 12, kSampleEditId);
  t.Item(kButtonAtom, "&Remember the name", BS_AUTOCHECKBOX | WS_TABSTOP, 44, 28, 149, 10, kSampleCheckId);
  t.Item(kButtonAtom, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 89, 62, 50, 14, IDOK);
  t.Item(kButtonAtom, "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 143, 62, 50, 14, IDCANCEL);
  return t.Take();
}

INT_PTR RunSampleDialog(HWND owner) {
  const std::vector<uint8_t> tmpl = SampleDialogTemplate();
  return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(tmpl.data()), owner,
                                 SampleProc, 0);
}

}  // namespace zelvo::gallery
