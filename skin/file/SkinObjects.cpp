#include "skin/file/SkinObjects.h"

#include "util/IniFile.h"

namespace zelvo {

TColor ParseColourString(std::string_view text) {
  text = TrimText(text);
  uint32_t parts[3] = {0, 0, 0};
  int taken = 0;
  uint32_t number = 0;
  bool pending = false;
  for (char ch : text) {
    if (ch >= '0' && ch <= '9') {
      number = number * 10 + static_cast<uint32_t>(ch - '0');  // wraps; only the low 8 bits count
      pending = true;
    } else if (pending) {
      if (taken < 3) parts[taken] = number;
      ++taken;
      number = 0;
      pending = false;
    }
  }
  if (pending && taken == 2) parts[2] = number;
  return (parts[0] & 0xFF) | ((parts[1] & 0xFF) << 8) | ((parts[2] & 0xFF) << 16);
}

TSkinObjects::TSkinObjects() = default;

std::vector<TSkinObjects::TEntryRef> TSkinObjects::OptionalEntries() const {
  return {
      {"Personality/menuBar", MenuBar.get()},
      {"Progress", Progress.get()},
      {"GroupBoxEdge", GroupBoxEdge.get()},
      {"GroupBox", GroupBox.get()},
      {"Toolbars", Toolbars.get()},
      {"Tabs", Tabs.get()},
      {"StatusBarEdges", StatusBarEdges.get()},
      {"ComboButton", ComboButton.get()},
      {"SunkEdge", SunkEdge.get()},
      {"ExtraImages", ExtraImages.get()},
      {"Headerbar", Headerbar.get()},
      {"MenuItem", MenuItem.get()},
      {"MenuBackground", MenuBackground.get()},
      {"Scrollbar", Scrollbar.get()},
      {"HorzScroll", HorzScroll.get()},
      {"VertScroll", VertScroll.get()},
      {"HorzScrollThumb", HorzScrollThumb.get()},
      {"VertScrollThumb", VertScrollThumb.get()},
      {"Trackbar.ThumbHorz", TrackbarThumbHorz.get()},
      {"Trackbar.ThumbVert", TrackbarThumbVert.get()},
      {"Trackbar.ThumbLeft", TrackbarThumbLeft.get()},
      {"Trackbar.ThumbRight", TrackbarThumbRight.get()},
      {"Trackbar.ThumbUp", TrackbarThumbUp.get()},
      {"Trackbar.ThumbDown", TrackbarThumbDown.get()},
      {"UpDown.Horz", UpDownHorz.get()},
      {"UpDown.Vert", UpDownVert.get()},
  };
}

namespace {

// Built-in mapping, in the order the component adds it. The four lines the main window leaves
// out of its own list are marked by the class-name prefix "Tcx".
const char* const kBuiltinSkin3rd[] = {
    "TTBDock=Panel",
    "TTBToolbar=Panel",
    "TLMDGROUPBOX=Panel",
    "TLMDSIMPLEPANEL=Panel",
    "TLMDDBCalendar=Panel",
    "TLMDButtonPanel=Panel",
    "TLMDLMDCalculator=Panel",
    "TLMDHeaderPanel=Panel",
    "TLMDTechnicalLine=Panel",
    "TLMDLMDClock=Panel",
    "TImageEnMView=scrollbar",
    "TImageEnView=scrollbar",
    "TRzButton=button",
    "TRzCheckGroup=CheckGroup",
    "TLMDCheckGroup=CheckGroup",
    "TLMDDBCheckGroup=CheckGroup",
    "TRzRadioGroup=Radiogroup",
    "TRzDBRadioGroup=Radiogroup",
    "TLMDRADIOGROUP=radiogroup",
    "TLMDDBRADIOGROUP=radiogroup",
    "TWWRADIOGROUP=radiogroup",
    "TcxDBRadioGroup=radiogroup",
    "TcxRadioGroup=radiogroup",
    "TRzRadioButton=Radiobutton",
    "TRzDBRadioButton=Radiobutton",
    "TLMDRadiobutton=Radiobutton",
    "TRzCheckBox=Checkbox",
    "TRzDBCheckBox=Checkbox",
    "TDBCheckboxEh=Checkbox",
    "TDBCheckboxEh=Checkbox",
    "TLMDCHECKBOX=checkbox",
    "TLMDDBCHECKBOX=checkbox",
    "TcxDBCheckBox=checkbox",
    "TcxCheckBox=checkbox",
    "TRzButtonEdit=Edit",
    "TLMDEDIT=Edit",
    "TLMDMASKEDIT=Edit",
    "TLMDBROWSEEDIT=Edit",
    "TLMDEXTSPINEDIT=Edit",
    "TLMDCALENDAREDIT=Edit",
    "TLMDFILEOPENEDIT=Edit",
    "TLMDFILESAVEEDIT=Edit",
    "TLMDCOLOREDIT=Edit",
    "TLMDDBEDIT=Edit",
    "TLMDDBMASKEDIT=Edit",
    "TLMDDBEXTSPINEDIT=Edit",
    "TLMDDBSPINEDIT=Edit",
    "TLMDDBEDITDBLookup=Edit",
    "TLMDEDITDBLookup=Edit",
    "TWWDBEDIT=Edit",
    "TZCPICTUREFIELD=Edit",
    "TZCDBPICTUREFIELD=Edit",
    "TZCSLIDEREDIT=Edit",
    "TZCDBSLIDEREDIT=Edit",
    "TZCSIMPLEFIELD=Edit",
    "TZCDBSIMPLEFIELD=Edit",
    "TZ32DBFLEXEDIT=Edit",
    "TZCNUMERICFIELD=Edit",
    "TZCDBNUMERICFIELD=Edit",
    "TLMDTrackbar=trackbar",
    "TLMDListCombobox=combobox",
    "TLMDCheckListCombobox=combobox",
    "TLMDHeaderListCombobox=combobox",
    "TLMDImageCombobox=combobox",
    "TLMDColorCombobox=combobox",
    "TLMDFontCombobox=combobox",
    "TLMDFontSizeCombobox=combobox",
    "TLMDFontSizeCombobox=combobox",
    "TLMDPrinterCombobox=combobox",
    "TLMDDriveCombobox=combobox",
    "TLMDCalculatorComboBox=combobox",
    "TLMDTrackBarComboBox=combobox",
    "TLMDCalendarComboBox=combobox",
    "TDBLookupCombobox=Combobox",
    "TWWDBCombobox=Combobox",
    "TWWDBCombobox=Combobox",
    "TWWDBLookupCombo=Combobox",
    "TWWKeyCombo=Combobox",
    "TWWTempKeyCombo=Combobox",
    "TWWDBDateTimePicker=Combobox",
};

// Lines the main window adds after the built-in ones it keeps.
const char* const kMainFormExtraSkin3rd[] = {
    "TDXDBPICKEDIT=Combobox",
    "TDXDBCALCEDIT=Combobox",
    "TDXDBIMAGEEDIT=Combobox",
    "TDXDBPOPUPEDIT=Combobox",
    "TDXDBEXTLOOKUPEDIT=Combobox",
    "TDXDBLOOKUPEDIT=Combobox",
    "TDXDBDATEEDIT=Combobox",
    "TDXDATEEDIT=Combobox",
    "TDXPICKEDIT=Combobox",
    "TDXPOPUPEDIT=Combobox",
    "TDXDBCURRENCYEDIT=Edit",
    "TDXDBEDIT=Edit",
    "TDXDBMASKEDIT=Edit",
    "TDXDBHYPERLINKEDIT=Edit",
    "TDXEDIT=Edit",
    "TDXMASKEDIT=Edit",
    "TDXBUTTONEDIT=Edit",
    "TDXCURRENCYEDIT=Edit",
    "TDXHYPERLINKEDIT=Edit",
};

}  // namespace

const std::vector<std::string>& BuiltinSkin3rd() {
  static const std::vector<std::string> list(std::begin(kBuiltinSkin3rd), std::end(kBuiltinSkin3rd));
  return list;
}

const std::vector<std::string>& MainFormSkin3rd() {
  static const std::vector<std::string> list = [] {
    std::vector<std::string> lines;
    for (const char* line : kBuiltinSkin3rd) {
      if (std::string_view(line).substr(0, 3) != "Tcx") lines.emplace_back(line);
    }
    lines.insert(lines.end(), std::begin(kMainFormExtraSkin3rd), std::end(kMainFormExtraSkin3rd));
    return lines;
  }();
  return list;
}

}  // namespace zelvo
