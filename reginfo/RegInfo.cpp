#include "reginfo/RegInfo.h"

#include "controls/zcdateedit.h"
#include "reginfo/CardPrinter.h"
#include "reginfo/SystemProbes.h"
#include "util/Exceptions.h"
#include "util/WinUtil.h"

namespace zelvo {

namespace {

// "Where purchased" entries, in the order the list shows them.
constexpr const char* kStores[] = {
    "Best Buy",     "BJ's Wholesale Club", "Bradlee's",  "CompUSA",    "Zelvo Web Site", "Eckerd's",
    "Electronics Boutique", "Fred Meyer",  "K-Mart",     "Office Depot", "Office Max",   "Price-Costco",
    "Radio Shack",  "Sam's Club",          "Software Etc.", "Staples", "Walmart",
};
constexpr const char* kSexItems[] = {"Male", "Female", "Decline to state"};
constexpr int kDeclineToState = 2;

// Colours of the date field's popup calendar (red in the low byte).
constexpr TColor kRed = 0x0000FF, kMaroon = 0x000080, kBlack = 0x000000, kGray = 0x808080, kBlue = 0xFF0000;

// A caption label: right-aligned, one line, 13 pixels high, its top 3 pixels below its control's;
// as wide as its text, ending at `right`. Its accelerator moves the focus to `control`.
constexpr TControlDef CaptionLabel(const char* name, const char* caption, int right, int controlTop,
                                   const char* control, uint32_t flags = 0) {
  return {.kind = TControlKind::Label, .name = name, .left = right, .top = controlTop + 3, .width = 0,
          .height = 13, .caption = caption, .tabOrder = -1, .flags = lfAlignRight | lfAutoSize | flags,
          .onClick = nullptr, .resource = nullptr, .modalResult = 0, .focusControl = control};
}

constexpr TControlDef Field(TControlKind kind, const char* name, int tab, int left, int top, int width,
                            int height = 21, uint32_t flags = 0) {
  return {.kind = kind, .name = name, .left = left, .top = top, .width = width, .height = height,
          .caption = nullptr, .tabOrder = tab, .flags = flags, .onClick = nullptr, .resource = nullptr,
          .modalResult = 0};
}

using K = TControlKind;

// Creation order: each control after its caption label.
constexpr TControlDef kRegisterControls[] = {
    CaptionLabel("LProduct", "Prod&uct:", 96, 8, "EProduct"),
    Field(K::Edit, "EProduct", 0, 100, 8, 168),
    CaptionLabel("LName", "&Name:", 96, 32, "EName"),
    Field(K::Edit, "EName", 1, 100, 32, 168),
    CaptionLabel("LAddress1", "Address &1:", 96, 56, "EAddress1"),
    Field(K::Edit, "EAddress1", 2, 100, 56, 168),
    CaptionLabel("LAddress2", "Address &2:", 96, 80, "EAddress2"),
    Field(K::Edit, "EAddress2", 3, 100, 80, 168),
    CaptionLabel("LCity", "C&ity:", 96, 104, "ECity"),
    Field(K::Edit, "ECity", 4, 100, 104, 88),
    CaptionLabel("LState", "&State/Province:", 272, 104, "EState"),
    Field(K::UpperEdit, "EState", 5, 276, 104, 40),
    CaptionLabel("LPostalCode", "Posta&l Code:", 384, 104, "EPostalCode"),
    Field(K::Edit, "EPostalCode", 6, 388, 104, 64),
    CaptionLabel("LCountry", "C&ountry:", 96, 128, "ECountry"),
    Field(K::Edit, "ECountry", 7, 100, 128, 168),
    CaptionLabel("LAge", "&Age:", 96, 152, "EAge"),
    Field(K::Edit, "EAge", 8, 100, 152, 168),
    {.kind = K::RadioGroup, .name = "RSex", .left = 67, .top = 176, .width = 305, .height = 33,
     .caption = "Se&x:", .tabOrder = 9, .flags = 0, .onClick = nullptr, .resource = nullptr, .modalResult = 0,
     .items = kSexItems, .itemIndex = kDeclineToState, .columns = 3},
    CaptionLabel("LPhone", "P&hone:", 96, 216, "EPhone"),
    Field(K::Edit, "EPhone", 10, 100, 216, 168),
    CaptionLabel("LEMail", "&E-mail:", 96, 240, "EEMail"),
    Field(K::Edit, "EEMail", 11, 100, 240, 168),
    CaptionLabel("LPurchased", "&Where purchased:", 96, 264, "CPurchased"),
    {.kind = K::ComboBox, .name = "CPurchased", .left = 100, .top = 264, .width = 168, .height = 21,
     .caption = nullptr, .tabOrder = 12, .flags = 0, .onClick = nullptr, .resource = nullptr, .modalResult = 0,
     .items = kStores, .itemHeight = 13, .onChange = "CPurchasedChange"},
    // Store type only matters for a store not in the list; enabled by CPurchasedChange.
    CaptionLabel("LEStoreType", "S&tore Type:", 98, 288, "EStoreType", lfDisabled),
    Field(K::Edit, "EStoreType", 13, 100, 288, 168, 21, lfDisabled),
    CaptionLabel("LDate", "Date pu&rchased:", 360, 216, "EDate"),
    Field(K::Custom, "EDate", 14, 364, 216, 168),
    CaptionLabel("LComputerType", "Computer T&ype:", 360, 240, "EComputerType"),
    Field(K::Edit, "EComputerType", 15, 364, 240, 168),
    CaptionLabel("LOS", "Operatin&g System:", 360, 264, "EOS"),
    Field(K::Edit, "EOS", 16, 364, 264, 168),
    CaptionLabel("LRAM", "RA&M:", 360, 288, "ERAM"),
    Field(K::Edit, "ERAM", 17, 364, 288, 168),
    CaptionLabel("LComments", "&Comments:", 96, 312, "MComments"),
    Field(K::Memo, "MComments", 18, 100, 312, 432, 89, lfWordWrap | lfWantReturns),
    {.kind = K::BitBtn, .name = "BPrint", .left = 117, .top = 416, .width = 130, .height = 65,
     .caption = "&Print Registration...", .tabOrder = 19, .flags = lfDefault, .onClick = "BPrintClick",
     .resource = "BBPRINT", .modalResult = mrOk, .glyphSpacing = 10, .disabledGlyph = "BBPRINTDISABLED"},
    {.kind = K::BitBtn, .name = "BDontRegister", .left = 291, .top = 416, .width = 130, .height = 65,
     .caption = "&Don't Register", .tabOrder = 20, .flags = lfCancel, .onClick = nullptr, .resource = nullptr,
     .modalResult = mrCancel, .glyphSpacing = 10, .bitBtnKind = TBitBtnKind::bkCancel},
};

constexpr TFormDef kRegisterLayout{
    "RegisterForm", "Registration Information", 538, 489, TFormBorderStyle::bsSingle, biSystemMenu,
    TPosition::poScreenCenter, clBtnFace, "MS Sans Serif", -11, clWindowText, nullptr,
    "FormCreate", nullptr, kRegisterControls};

// Today from the system clock, as a date serial with no time of day.
double TodayDate() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return StDateToDateTime(DMYtoStDate(now.wDay, now.wMonth, now.wYear, 0));
}

}  // namespace

// ---------------------------------------------------------------------------------------------

bool TDialogCardQuestions::Confirm(const std::string& message) { return zelvo::Confirm(message, 0, true); }

bool TDialogCardQuestions::ConfirmDefaultNo(const std::string& message) {
  return zelvo::ConfirmDefaultNo(message, 0, true);
}

// ---------------------------------------------------------------------------------------------

const TFormDef& TRegisterForm::LayoutTable() { return kRegisterLayout; }

template <class T>
T* TRegisterForm::Component(const char* name) {
  T* c = Find<T>(name);
  if (!c) throw Exception(std::string("The registration form has no component ") + name);
  return c;
}

TRegisterForm::TRegisterForm(TComponent* owner, std::vector<std::string> args,
                             std::unique_ptr<SystemInfoSource> systemInfo)
    : TTableForm(owner), args_(std::move(args)), systemInfo_(std::move(systemInfo)) {
  if (!systemInfo_) systemInfo_ = std::make_unique<TWindowsSystemInfo>();
  PrinterFactory = [] { return std::make_unique<TWinCardPrinter>(); };
  QuestionsSource = [this]() -> CardQuestions& { return dialogQuestions_; };

  // The date field's controller: its own epoch is 1900, but the field sets its own, so the
  // controller changes nothing on this form.
  ZcController = Create<TZcController>();
  ZcController->Name = "ZcController";
  ZcController->SetEpoch(1900);
  BuildFromTable(kRegisterLayout);

  EProduct = Component<TEdit>("EProduct");
  EName = Component<TEdit>("EName");
  EAddress1 = Component<TEdit>("EAddress1");
  EAddress2 = Component<TEdit>("EAddress2");
  ECity = Component<TEdit>("ECity");
  EState = Component<TEdit>("EState");
  EPostalCode = Component<TEdit>("EPostalCode");
  ECountry = Component<TEdit>("ECountry");
  EAge = Component<TEdit>("EAge");
  RSex = Component<TRadioGroup>("RSex");
  EPhone = Component<TEdit>("EPhone");
  EEMail = Component<TEdit>("EEMail");
  CPurchased = Component<TComboBox>("CPurchased");
  LEStoreType = Component<TLabel>("LEStoreType");
  EStoreType = Component<TEdit>("EStoreType");
  EDate = Component<TZcDateEdit>("EDate");
  EComputerType = Component<TEdit>("EComputerType");
  EOS = Component<TEdit>("EOS");
  ERAM = Component<TEdit>("ERAM");
  MComments = Component<TMemo>("MComments");
  BPrint = Component<TBitBtn>("BPrint");
  BDontRegister = Component<TBitBtn>("BDontRegister");
}

TTableForm::Method TRegisterForm::MethodAddress(std::string_view name) {
  if (name == "FormCreate") return [this](TComponent&) { FormCreate(); };
  if (name == "CPurchasedChange") return [this](TComponent&) { CPurchasedChange(); };
  if (name == "BPrintClick") return [this](TComponent&) { BPrintClick(); };
  return {};
}

TWinControl* TRegisterForm::CreateCustomControl(const TControlDef& def) {
  if (std::string_view(def.name) != "EDate") return TTableForm::CreateCustomControl(def);
  auto* date = Create<TZcDateEdit>();
  date->SetAllowIncDec(true);
  date->SetEpoch(1980);
  date->SetForceCentury(false);
  date->SetReadOnly(false);
  date->SetRequiredFields(TZcRequiredDateFields::All());
  date->SetShowButton(false);  // the button's picture stays stored all the same
  date->SetTodayString("/");
  date->SetController(ZcController);
  date->PopupAnchor = TZcPopupAnchor::paLeft;
  date->SetPopupDateFormat(TZcDateFormat::dfLong);
  date->SetPopupDayNameWidth(3);
  date->SetPopupWidth(200);
  date->SetPopupHeight(140);
  date->SetPopupWeekStarts(0);  // Sunday
  TZcCalDisplayOptions options;
  options.shortNames = true;
  options.showYear = true;
  options.showInactive = true;
  options.showRevert = true;
  options.showToday = true;
  options.showNavBtns = true;
  options.hideActive = false;
  date->SetPopupOptions(options);
  date->SetPopupFont(TFontSpec{"MS Sans Serif", -11, 0, clWindowText});
  TZcCalColors& colors = date->PopupColors();
  colors.SetColor(TZcCalColorRole::ActiveDay, kRed);
  colors.SetColor(TZcCalColorRole::DayNames, kMaroon);
  colors.SetColor(TZcCalColorRole::Days, kBlack);
  colors.SetColor(TZcCalColorRole::InactiveDays, kGray);
  colors.SetColor(TZcCalColorRole::MonthAndYear, kBlue);
  colors.SetColor(TZcCalColorRole::Weekend, kRed);
  colors.SetScheme(TZcCalColorScheme::cscalCustom);
  return date;
}

void TRegisterForm::FormCreate() {
  EProduct->SetText(args_.empty() ? std::string() : args_[0]);
  ECountry->SetText(SystemCountry(*systemInfo_));
  EDate->SetDate(TodayDate());
  EOS->SetText(OSDescription(*systemInfo_));
  ERAM->SetText(MemorySizeText(*systemInfo_));
  // The whole list drops down without scrolling.
  CPurchased->DropDownCount = static_cast<int>(CPurchased->Items.size());
}

void TRegisterForm::CPurchasedChange() {
  // The list control's own exact search: whole text, letter case ignored. The caption holds the
  // text the change is about (a chosen entry reaches the edit part only after this notice).
  const std::string text = CPurchased->Caption();
  int found = -1;
  if (text.empty()) {
    found = -1;  // the empty text names no store
  } else if (HWND h = CPurchased->HandleIfCreated()) {
    found = static_cast<int>(SendMessageA(h, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(text.c_str())));
  } else {
    for (size_t i = 0; i < CPurchased->Items.size() && found < 0; ++i) {
      if (lstrcmpiA(CPurchased->Items[i].c_str(), text.c_str()) == 0) found = static_cast<int>(i);
    }
  }
  LEStoreType->SetEnabled(found < 0);
  EStoreType->SetEnabled(LEStoreType->Enabled());
}

CardAnswers TRegisterForm::Answers() const {
  CardAnswers a;
  a.product = EProduct->Text();
  a.age = EAge->Text();
  a.sexIndex = RSex->ItemIndex();
  a.phone = EPhone->Text();
  a.email = EEMail->Text();
  a.purchased = CPurchased->Text();
  a.storeType = EStoreType->Text();
  a.datePurchased = EDate->Text();
  a.computerType = EComputerType->Text();
  a.os = EOS->Text();
  a.ram = ERAM->Text();
  // The edit control's text carries only the line breaks the user typed, never the ones its word
  // wrapping shows on screen.
  a.comments = MComments->Text();
  a.name = EName->Text();
  a.address1 = EAddress1->Text();
  a.address2 = EAddress2->Text();
  a.city = ECity->Text();
  a.state = EState->Text();
  a.postalCode = EPostalCode->Text();
  a.country = ECountry->Text();
  return a;
}

void TRegisterForm::BPrintClick() {
  // The button set the form's result to OK before this ran. Any failure (a wrong date, no
  // printer, a job that failed midway) takes it back: the failure is reported and the form stays
  // open with everything typed, so the buyer can put it right and print again. Enter presses this
  // button with the focus still in the date field, whose entry is read only when the focus leaves
  // it: it is read now.
  try {
    EDate->CommitEntry();
    std::unique_ptr<CardPrinter> printer = PrinterFactory();
    PrintCard(*printer, QuestionsSource(), Answers());
  } catch (...) {
    ModalResult = 0;
    throw;
  }
}

}  // namespace zelvo
