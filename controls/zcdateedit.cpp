#include "controls/zcdateedit.h"

#include <windowsx.h>

#include <algorithm>

#include "controls/zcintl.h"
#include "framework/Forms.h"

namespace zelvo {

namespace {
int TodayYear() {
  int day = 0, month = 0, year = 0;
  StDateToDMY(ZcToday(), day, month, year);
  return year;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// TZcController

TZcController::TZcController(TComponent* owner) : TComponent(owner), core_(TodayYear()) {
  core_.OnGetEpoch = [this](int& epoch) {
    if (OnGetEpoch) OnGetEpoch(*this, epoch);
  };
  EntryCommands = {{"Default", true, {}}, {"WordStar", false, {}}, {"Grid", false, {}}};
}

TZcController& ZcDefaultController() {
  static TZcController controller(nullptr);
  return controller;
}

// ---------------------------------------------------------------------------------------------
// TZcCustomEdit

TZcCustomEdit::TZcCustomEdit(TComponent* owner) : TCustomEdit(owner) {}

void TZcCustomEdit::SetController(TZcController* controller) {
  controller_ = controller;
  ControllerChanged();
}

void TZcCustomEdit::AfterCreateWnd() {
  TCustomEdit::AfterCreateWnd();
  if (controller_) return;
  TZcController* found = nullptr;
  if (TForm* form = ParentForm()) {
    for (TComponent* c : form->Components()) {
      if (auto* k = dynamic_cast<TZcController*>(c)) {
        found = k;
        break;
      }
    }
  }
  SetController(found ? found : &ZcDefaultController());
}

// ---------------------------------------------------------------------------------------------
// TZcEdButton

TZcEdButton::TZcEdButton(TComponent* owner) : TWinControl(owner) { SetTabStop(false); }

void TZcEdButton::SetGlyph(HBITMAP glyph) {
  glyph_ = glyph;
  Invalidate();
}

void TZcEdButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.style &= ~static_cast<DWORD>(WS_TABSTOP);
}

void TZcEdButton::WndProc(TMessage& m) {
  HWND h = HandleIfCreated();
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_PAINT: {
      ScopedPaint paint(h);
      HDC dc = paint.Get();
      RECT r = paint.Client();
      if (r.right > 0 && r.bottom > 0) {
        const bool enabled = IsWindowEnabled(h) != FALSE;
        UINT state = DFCS_BUTTONPUSH | (pressed_ ? DFCS_PUSHED : 0u) | (enabled ? 0u : DFCS_INACTIVE);
        DrawFrameControl(dc, &r, DFC_BUTTON, state);
        SIZE g = BitmapSize(glyph_);
        int x = (r.right - g.cx) / 2 + (pressed_ ? 1 : 0);
        int y = (r.bottom - g.cy) / 2 + (pressed_ ? 1 : 0);
        DrawZcGlyph(dc, x, y, glyph_, enabled);
      }
      m.Result = 0;
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // Pressed without taking the focus: the field keeps it.
      if (IsWindowEnabled(h)) {
        tracking_ = true;
        pressed_ = true;
        SetCapture(h);
        Invalidate();
      }
      m.Result = 0;
      return;
    case WM_MOUSEMOVE:
      if (tracking_) {
        RECT r;
        GetClientRect(h, &r);
        POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        bool inside = PtInRect(&r, p) != FALSE;
        if (inside != pressed_) {
          pressed_ = inside;
          Invalidate();
        }
      }
      m.Result = 0;
      return;
    case WM_LBUTTONUP:
      if (tracking_) {
        const bool click = pressed_;
        tracking_ = false;
        pressed_ = false;
        ReleaseCapture();
        Invalidate();
        if (click) Click();
      }
      m.Result = 0;
      return;
    case WM_CAPTURECHANGED:
      if (tracking_) {
        tracking_ = false;
        pressed_ = false;
        Invalidate();
      }
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------------------------
// TZcEdPopup

TZcEdPopup::TZcEdPopup(TComponent* owner)
    : TZcCustomEdit(owner), button_(Create<TZcEdButton>()), glyph_(LoadBitmapResource("ZCBTNCAL")) {
  button_->SetParent(this);
  button_->SetGlyph(glyph_.Get());
  button_->OnClick = [this](TComponent&) { PopupOpen(); };
}

TZcEdPopup::~TZcEdPopup() { button_->OnClick = nullptr; }

void TZcEdPopup::CreateParams(TCreateParams& params) {
  TZcCustomEdit::CreateParams(params);
  params.style |= WS_CLIPCHILDREN;
}

void TZcEdPopup::AfterCreateWnd() {
  TZcCustomEdit::AfterCreateWnd();
  LayoutButton();
  button_->SetEnabled(!ReadOnly());
}

void TZcEdPopup::SetShowButton(bool show) {
  showButton_ = show;
  LayoutButton();
}

void TZcEdPopup::SetButtonGlyph(UniqueGdi<HBITMAP> glyph) {
  glyph_ = glyph ? std::move(glyph) : LoadBitmapResource("ZCBTNCAL");
  button_->SetGlyph(glyph_.Get());
  LayoutButton();
}

void TZcEdPopup::SetReadOnly(bool readOnly) {
  TCustomEdit::SetReadOnly(readOnly);
  button_->SetEnabled(!readOnly);
}

RECT TZcEdPopup::ButtonBounds() {
  int clientHeight = Height() - 2 * GetSystemMetrics(SM_CYEDGE);
  if (HWND h = HandleIfCreated()) {
    RECT client;
    GetClientRect(h, &client);
    clientHeight = client.bottom;
  }
  // The field always has a border with the 3-D look (a sunken client edge).
  TRectI r = ZcDropDownButtonRect(showButton_, GetSystemMetrics(SM_CXHSCROLL), BitmapSize(glyph_.Get()).cx,
                                   true, true, Width(), clientHeight);
  return RECT{r.left, r.top, r.right, r.bottom};
}

void TZcEdPopup::LayoutButton() {
  RECT r = ButtonBounds();
  button_->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  // Typed text stops short of the button instead of running under it.
  if (HWND h = HandleIfCreated()) {
    SendMessageA(h, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, r.right - r.left));
  }
}

void TZcEdPopup::SetPopupActive(bool active) { popupActive_ = active; }

void TZcEdPopup::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
      TZcCustomEdit::WndProc(m);
      LayoutButton();
      return;
    case WM_SETCURSOR:
      if (fieldCursor_ && reinterpret_cast<HWND>(m.WParam) == HandleIfCreated()) {
        SetCursor(fieldCursor_);
        m.Result = TRUE;
        return;
      }
      break;
    case ZC_POPUPOPENED:
      if (OnPopupOpen) OnPopupOpen(*this);
      return;
    case ZC_POPUPCLOSED:
      if (OnPopupClose) OnPopupClose(*this);
      return;
    default:
      break;
  }
  TZcCustomEdit::WndProc(m);
}

// ---------------------------------------------------------------------------------------------
// TZcCustomDateEdit

void TZcCustomDateEdit::EditText::SetText(const std::string& text) {
  // Writing the window's text clears the edit's modified flag; the core decides that flag.
  const bool modified = edit_.Modified();
  edit_.TCustomEdit::SetText(text);
  if (edit_.HandleAllocated()) edit_.TCustomEdit::SetModified(modified);
}

TZcCustomDateEdit::TZcCustomDateEdit(TComponent* owner)
    : TZcEdPopup(owner), core_(ZcIntlSup(), ZcToday), editText_(*this), calendar_(Create<TZcCalendar>(true)) {
  core_.AttachEdit(&editText_);
  core_.OnPreParseDate = [this](std::string& text) {
    if (OnPreParseDate) OnPreParseDate(*this, text);
  };
  core_.OnGetDate = [this](std::string& text) {
    if (OnGetDate) OnGetDate(*this, text);
  };
  core_.OnSetDate = [this] {
    if (OnSetDate) OnSetDate(*this);
  };
  core_.OnExitProcessing = [this] { ExitProcessing(); };

  TZcCalendar& cal = *calendar_;
  cal.Name = "";
  cal.SetBorderStyle(TZcCalBorderStyle::bsSingle);
  cal.OnChange = [this](TZcCustomCalendar& c, double date) { CalendarChanged(c, date); };
  cal.OnExit = [this](TComponent&) { PopupClose(TZcPopupCloseReason::Other); };
  cal.OnKeyDown = [this](TComponent&, WORD& key, TZcShiftState shift) { CalendarKeyDown(key, shift); };
  cal.OnKeyPress = [this](TComponent&, char& key) { CalendarKeyPress(key); };
  cal.OnMouseDown = [this](TComponent&, TZcMouseButton, TZcShiftState, int x, int y) { CalendarMouseDown(x, y); };
}

TZcCustomDateEdit::~TZcCustomDateEdit() {
  // The calendar goes first, and without calling back into a field that is half gone.
  calendar_->OnChange = nullptr;
  calendar_->OnExit = nullptr;
  calendar_->OnKeyDown = nullptr;
  calendar_->OnKeyPress = nullptr;
  calendar_->OnMouseDown = nullptr;
  DestroyComponent(calendar_);
  core_.AttachEdit(nullptr);
}

void TZcCustomDateEdit::ControllerChanged() {
  core_.SetController(Controller() ? &Controller()->Core() : nullptr);
}

void TZcCustomDateEdit::SetReadOnly(bool readOnly) {
  TZcEdPopup::SetReadOnly(readOnly);
  core_.readOnly = readOnly;
}

void TZcCustomDateEdit::SetPopupFont(const TFontSpec& font) {
  calendar_->SetFont(font);
  calendar_->FontChanged();
}

void TZcCustomDateEdit::SetOnGetDateMask(std::function<void(TZcCustomDateEdit&, std::string&)> handler) {
  // Handed to the core only while assigned: its presence alone re-derives the date order.
  if (handler) {
    core_.OnGetDateMask = [this, h = std::move(handler)](std::string& picture) { h(*this, picture); };
  } else {
    core_.OnGetDateMask = nullptr;
  }
}

void TZcCustomDateEdit::ExitProcessing() {
  try {
    core_.ExitProcessing();
  } catch (const EZcException&) {
    // The text stays as typed; the user corrects it where it is.
    if (CanFocus() && !Focused()) SetFocus();
    throw;
  }
  if (!PopupActive() && OnExit) OnExit(*this);
}

void TZcCustomDateEdit::KeyPress(char& key) {
  // The key-press event first; "+" and "-" then step the date instead of being typed.
  TZcEdPopup::KeyPress(key);
  if (key != 0 && core_.KeyPress(key)) key = 0;
}

void TZcCustomDateEdit::CommitEntry() {
  exitPending_ = false;
  try {
    core_.CommitText();
  } catch (const EZcException&) {
    if (CanFocus() && !Focused()) SetFocus();
    throw;
  }
}

namespace {
// True when the focus goes to the cancel button of the field's own form: the user is leaving the
// form, and the entry being abandoned is not checked.
bool IsCancelButtonOf(HWND next, const TForm* form) {
  auto* button = dynamic_cast<TButtonControl*>(TWinControl::FromHandle(next));
  return button && button->Cancel && form && button->ParentForm() == form;
}
}  // namespace

void TZcCustomDateEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN:
      if (PopupActive() && (m.WParam == VK_RETURN || m.WParam == VK_ESCAPE)) {
        PopupClose(TZcPopupCloseReason::Key);
        m.Result = 0;
        return;
      }
      break;
    case WM_SYSKEYDOWN:
      if (m.WParam == VK_DOWN && (m.LParam & (1 << 29))) {
        if (ShowButton() && !ReadOnly()) PopupOpen();
        m.Result = 0;
        return;
      }
      break;
    case WM_KILLFOCUS: {
      DefaultHandler(m);
      // Leaving for another control of the same form is an exit; the popup taking the focus is
      // not (opening has parsed already), nor is the form losing the activation.
      HWND next = reinterpret_cast<HWND>(m.WParam);
      HWND self = HandleIfCreated();
      if (!PopupActive() && !closing_ && next && self && GetAncestor(next, GA_ROOT) == GetAncestor(self, GA_ROOT) &&
          !IsCancelButtonOf(next, ParentForm())) {
        exitPending_ = true;
        PostMessageA(self, ZC_EXITFIELD, 0, 0);
      }
      return;
    }
    case ZC_EXITFIELD:
      // A button pressed meanwhile may have read the entry already (CommitEntry).
      if (!exitPending_) return;
      exitPending_ = false;
      ExitProcessing();
      return;
    default:
      break;
  }
  TZcEdPopup::WndProc(m);
}

void TZcCustomDateEdit::PopupOpen() {
  TZcCalendar& cal = *calendar_;
  if (HWND w = cal.HandleIfCreated(); w && IsWindowVisible(w)) return;
  SetPopupActive(true);
  try {
    ExitProcessing();
  } catch (...) {
    // A wrong entry keeps the popup closed; it must not stay marked as open.
    SetPopupActive(false);
    throw;
  }
  HWND self = Handle();
  PostMessageA(self, ZC_POPUPOPENED, 0, 0);

  TForm* form = ParentForm();
  HWND formWnd = form ? form->Handle() : GetAncestor(self, GA_ROOT);
  cal.SetPopupOwner(formWnd);
  scrollForm_ = form;
  if (form) {
    savedAutoScroll_ = form->AutoScroll;
    form->AutoScroll = false;
  }
  cal.SetCtl3D(false);

  RECT work{};
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (GetMonitorInfoA(MonitorFromWindow(formWnd, MONITOR_DEFAULTTONEAREST), &mi)) {
    work = mi.rcWork;
  } else {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  }
  POINT origin{0, 0};
  ClientToScreen(self, &origin);
  TPointI at = ZcPopupPosition({origin.x, origin.y}, Width(), Height(), cal.Width(), cal.Height(), PopupAnchor,
                                true, TRectI{work.left, work.top, work.right, work.bottom});
  cal.SetBounds(at.x, at.y, cal.Width(), cal.Height());
  HWND calWnd = cal.Handle();

  cal.SetDate(Text().empty() ? StDateToDateTime(ZcToday()) : Date());
  fieldCursor_ = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  savedCaret_ = SelStart();
  SetWindowPos(calWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  cal.SetVisible(true);
  cal.SetFocus();
  SetCapture(calWnd);
}

void TZcCustomDateEdit::PopupClose(TZcPopupCloseReason reason) {
  HWND calWnd = calendar_->HandleIfCreated();
  if (!calWnd || !IsWindowVisible(calWnd) || closing_) return;
  closing_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{closing_};

  SetPopupActive(false);
  HWND self = Handle();
  PostMessageA(self, ZC_POPUPCLOSED, 0, 0);
  if (GetCapture() == calWnd) ReleaseCapture();
  SetFocus();
  calendar_->SetVisible(false);
  if (scrollForm_) {
    scrollForm_->AutoScroll = savedAutoScroll_;
    scrollForm_ = nullptr;
  }
  fieldCursor_ = nullptr;
  switch (reason) {
    case TZcPopupCloseReason::Key:
    case TZcPopupCloseReason::PressInField:
      SetSel(savedCaret_, 0);
      break;
    case TZcPopupCloseReason::Tab:
    case TZcPopupCloseReason::ShiftTab:
      // Tab again, from the field: the focus moves on as if Tab had been pressed there.
      PostMessageA(self, WM_KEYDOWN, VK_TAB, 1);
      break;
    case TZcPopupCloseReason::Chosen:
    case TZcPopupCloseReason::Other:
      break;
  }
}

void TZcCustomDateEdit::CalendarChanged(TZcCustomCalendar& calendar, double date) {
  const bool browsing = calendar.Browsing();
  SetDate(date);
  TCustomEdit::SetModified(true);
  if (browsing) return;
  PopupClose(TZcPopupCloseReason::Chosen);
  if (Focused()) SetSel(static_cast<int>(Text().size()), 0);
}

void TZcCustomDateEdit::CalendarKeyDown(WORD& key, TZcShiftState shift) {
  if (key == VK_TAB) {
    if (!shift.ctrl && !shift.alt) {
      PopupClose(shift.shift ? TZcPopupCloseReason::ShiftTab : TZcPopupCloseReason::Tab);
    } else {
      PopupClose(TZcPopupCloseReason::Other);
    }
    key = 0;
  } else if (key == VK_UP && shift.alt) {
    PopupClose(TZcPopupCloseReason::Key);
    key = 0;
  }
}

void TZcCustomDateEdit::CalendarKeyPress(char key) {
  // Enter and Space still reach the calendar afterwards, which hands its date over.
  if (key == '\r' || key == '\x1B' || key == ' ') PopupClose(TZcPopupCloseReason::Key);
}

void TZcCustomDateEdit::CalendarMouseDown(int x, int y) {
  HWND calWnd = calendar_->HandleIfCreated();
  if (!calWnd) return;
  POINT p{x, y};
  ClientToScreen(calWnd, &p);
  RECT calRect;
  GetWindowRect(calWnd, &calRect);
  if (PtInRect(&calRect, p)) return;
  RECT fieldRect;
  GetWindowRect(Handle(), &fieldRect);
  PopupClose(PtInRect(&fieldRect, p) ? TZcPopupCloseReason::PressInField : TZcPopupCloseReason::Other);
}

// ---------------------------------------------------------------------------------------------
// TZcDateEdit: published properties by name

namespace {
enum class DateProp {
  None, AllowIncDec, Epoch, ForceCentury, ShowButton, ReadOnly, PopupAnchor,
  PopupDateFormat, PopupDayNameWidth, PopupHeight, PopupWidth, PopupWeekStarts
};
struct DatePropName {
  const char* name;
  DateProp prop;
  bool isEnum;
};
constexpr DatePropName kDateProps[] = {
    {"AllowIncDec", DateProp::AllowIncDec, true},         {"Epoch", DateProp::Epoch, false},
    {"ForceCentury", DateProp::ForceCentury, true},       {"ShowButton", DateProp::ShowButton, true},
    {"ReadOnly", DateProp::ReadOnly, true},               {"PopupAnchor", DateProp::PopupAnchor, true},
    {"PopupDateFormat", DateProp::PopupDateFormat, true}, {"PopupDayNameWidth", DateProp::PopupDayNameWidth, false},
    {"PopupHeight", DateProp::PopupHeight, false},        {"PopupWidth", DateProp::PopupWidth, false},
    {"PopupWeekStarts", DateProp::PopupWeekStarts, true},
};
const DatePropName* FindDateProp(std::string_view name) {
  for (const auto& p : kDateProps) {
    if (SameName(p.name, name)) return &p;
  }
  return nullptr;
}
}  // namespace

TPropInfo TZcDateEdit::GetPropInfo(std::string_view name) const {
  if (const DatePropName* p = FindDateProp(name)) return TPropInfo{true, p->isEnum};
  return TZcCustomDateEdit::GetPropInfo(name);
}

bool TZcDateEdit::GetOrdProp(std::string_view name, int32_t& value) const {
  const DatePropName* p = FindDateProp(name);
  if (!p) return TZcCustomDateEdit::GetOrdProp(name, value);
  auto& self = const_cast<TZcDateEdit&>(*this);
  switch (p->prop) {
    case DateProp::AllowIncDec: value = AllowIncDec(); break;
    case DateProp::Epoch: value = Epoch(); break;
    case DateProp::ForceCentury: value = ForceCentury(); break;
    case DateProp::ShowButton: value = ShowButton(); break;
    case DateProp::ReadOnly: value = ReadOnly(); break;
    case DateProp::PopupAnchor: value = static_cast<int32_t>(PopupAnchor); break;
    case DateProp::PopupDateFormat: value = static_cast<int32_t>(PopupDateFormat()); break;
    case DateProp::PopupDayNameWidth: value = PopupDayNameWidth(); break;
    case DateProp::PopupHeight: value = self.PopupHeight(); break;
    case DateProp::PopupWidth: value = self.PopupWidth(); break;
    case DateProp::PopupWeekStarts: value = PopupWeekStarts(); break;
    case DateProp::None: return false;
  }
  return true;
}

bool TZcDateEdit::SetOrdProp(std::string_view name, int32_t value) {
  const DatePropName* p = FindDateProp(name);
  if (!p) return TZcCustomDateEdit::SetOrdProp(name, value);
  switch (p->prop) {
    case DateProp::AllowIncDec: SetAllowIncDec(value != 0); break;
    case DateProp::Epoch: SetEpoch(value); break;
    case DateProp::ForceCentury: SetForceCentury(value != 0); break;
    case DateProp::ShowButton: SetShowButton(value != 0); break;
    case DateProp::ReadOnly: SetReadOnly(value != 0); break;
    case DateProp::PopupAnchor: PopupAnchor = value == 0 ? TZcPopupAnchor::paLeft : TZcPopupAnchor::paRight; break;
    case DateProp::PopupDateFormat:
      SetPopupDateFormat(value == 0 ? TZcDateFormat::dfShort : TZcDateFormat::dfLong);
      break;
    case DateProp::PopupDayNameWidth: SetPopupDayNameWidth(value); break;
    case DateProp::PopupHeight: SetPopupHeight(value); break;
    case DateProp::PopupWidth: SetPopupWidth(value); break;
    case DateProp::PopupWeekStarts: SetPopupWeekStarts(value); break;
    case DateProp::None: return false;
  }
  return true;
}

}  // namespace zelvo
