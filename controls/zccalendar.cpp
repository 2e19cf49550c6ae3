#include "controls/zccalendar.h"

#include <windowsx.h>

#include <algorithm>

#include "controls/zcintl.h"
#include "framework/Forms.h"

namespace zelvo {

namespace {

constexpr TZcCalButton kButtons[6] = {TZcCalButton::PrevYear, TZcCalButton::PrevMonth,
                                      TZcCalButton::NextMonth, TZcCalButton::NextYear,
                                      TZcCalButton::Today,     TZcCalButton::Revert};


void FillSolid(HDC dc, const RECT& r, COLORREF color) {
  UniqueGdi<HBRUSH> brush(CreateSolidBrush(color));
  FillRect(dc, &r, brush.Get());
}

void HorizontalLine(HDC dc, int x1, int x2, int y, COLORREF color) {
  RECT r{x1, y, x2, y + 1};
  FillSolid(dc, r, color);
}

void DrawCentred(HDC dc, const std::string& text, RECT box, COLORREF color) {
  SetTextColor(dc, color);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &box,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

TZcShiftState ZcCurrentShiftState() {
  TZcShiftState s;
  s.shift = GetKeyState(VK_SHIFT) < 0;
  s.ctrl = GetKeyState(VK_CONTROL) < 0;
  s.alt = GetKeyState(VK_MENU) < 0;
  return s;
}

void DrawZcGlyph(HDC dc, int x, int y, HBITMAP glyph, bool enabled) {
  SIZE size = BitmapSize(glyph);
  if (size.cx <= 0 || size.cy <= 0) return;
  COLORREF key = BottomLeftPixel(glyph);
  if (enabled) {
    DrawTransparent(dc, x, y, glyph, 0, 0, size.cx, size.cy, key);
    return;
  }
  // A monochrome mask: 1 where the glyph shows the transparent colour, 0 where it has a picture.
  UniqueDC source = CompatibleDC(dc);
  ScopedSelect selectSource(source.Get(), glyph);
  UniqueDC maskDc = CompatibleDC(dc);
  UniqueGdi<HBITMAP> mask(CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
  ScopedSelect selectMask(maskDc.Get(), mask.Get());
  SetBkColor(source.Get(), key);
  BitBlt(maskDc.Get(), 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
  // Paint the picture's shape twice: highlight one pixel down-right, shadow on top.
  COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
  for (int pass = 0; pass < 2; ++pass) {
    UniqueGdi<HBRUSH> brush(CreateSolidBrush(GetSysColor(pass == 0 ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW)));
    ScopedSelect selectBrush(dc, brush.Get());
    int offset = pass == 0 ? 1 : 0;
    // Where the mask is 0 take the brush, where it is 1 keep the destination (ROP 0xB8074A).
    BitBlt(dc, x + offset, y + offset, size.cx, size.cy, maskDc.Get(), 0, 0, 0x00B8074A);
  }
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBk);
}

// ---------------------------------------------------------------------------------------------
// TZcCustomControl

TZcCustomControl::TZcCustomControl(TComponent* owner) : TWinControl(owner) {}

void TZcCustomControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEWHEEL:
      if (DoMouseWheel(GET_WHEEL_DELTA_WPARAM(m.WParam))) {
        m.Result = 0;
        return;
      }
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------------------------
// TZcCustomCalendar

TZcCustomCalendar::TZcCustomCalendar(TComponent* owner, bool popup)
    : TZcCustomControl(owner), core_(ZcIntlSup(), ZcToday, popup) {
  SetBounds(0, 0, 200, 140);
  Font = TFontSpec{};  // "MS Sans Serif", 8 point
  ParentFont = false;
  ParentColor = false;
  Color = clBtnFace;
  SetTabStop(!popup);
  if (popup) {
    SetVisible(false);
    borderStyle_ = TZcCalBorderStyle::bsSingle;
  }
  for (TZcCalButton b : kButtons) {
    glyphs_[static_cast<size_t>(b)] = LoadBitmapResource(ZcCalButtonResource(b));
  }
  core_.OnInvalidate = [this](const TZcCalRepaint& r) { HandleInvalidate(r); };
  core_.OnChange = [this](double date, bool) {
    if (OnChange) OnChange(*this, date);
  };
  core_.OnGetDateEnabled = [this](double date, bool& enabled) {
    if (OnGetDateEnabled) OnGetDateEnabled(*this, date, enabled);
  };
  core_.OnGetHighlight = [this](double date, TZcColor& color) {
    if (OnGetHighlight) OnGetHighlight(*this, date, color);
  };
  core_.colors.OnChange = [this] { Invalidate(); };
  Relayout();
}

TZcCustomCalendar::~TZcCustomCalendar() {
  core_.OnInvalidate = nullptr;
  core_.colors.OnChange = nullptr;
}

bool TZcCustomCalendar::SetDate(double date) { return core_.SetDate(date); }

void TZcCustomCalendar::SetDateFormat(TZcDateFormat f) {
  core_.dateFormat = f;
  Invalidate();
}

void TZcCustomCalendar::SetOptions(const TZcCalDisplayOptions& options) {
  core_.SetOptions(options);
  Relayout();
}

void TZcCustomCalendar::SetBorderStyle(TZcCalBorderStyle style) {
  if (style == borderStyle_) return;
  borderStyle_ = style;
  if (HWND h = HandleIfCreated()) {
    // The frame is a window style: apply it and let the system recompute the client area.
    LONG s = GetWindowLongA(h, GWL_STYLE);
    LONG ex = GetWindowLongA(h, GWL_EXSTYLE);
    if (style == TZcCalBorderStyle::bsSingle) {
      s |= WS_BORDER;
      ex |= WS_EX_CLIENTEDGE;
    } else {
      s &= ~WS_BORDER;
      ex &= ~WS_EX_CLIENTEDGE;
    }
    SetWindowLongA(h, GWL_STYLE, s);
    SetWindowLongA(h, GWL_EXSTYLE, ex);
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  Relayout();
}

void TZcCustomCalendar::SetCtl3D(bool value) {
  if (value == ctl3D_) return;
  ctl3D_ = value;
  Relayout();
}

void TZcCustomCalendar::FontChanged() {
  Relayout();
  Invalidate();
}

void TZcCustomCalendar::SetPopupOwner(HWND owner) {
  popupOwner_ = owner;
  if (HWND h = HandleIfCreated(); h && IsPopup()) {
    HWND target = owner ? owner : (Application ? Application->Handle() : nullptr);
    SetWindowLongPtrA(h, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(target));
  }
}

void TZcCustomCalendar::CreateParams(TCreateParams& params) {
  TZcCustomControl::CreateParams(params);
  if (IsPopup()) {
    // A top-level popup with a frame, shown only by its date field.
    params.style = WS_POPUP | WS_CLIPCHILDREN;
    if (Visible()) params.style |= WS_VISIBLE;
  }
  if (borderStyle_ == TZcCalBorderStyle::bsSingle) {
    params.style |= WS_BORDER;
    // On systems with the 3-D look a single frame also gets the sunken client edge.
    params.exStyle |= WS_EX_CLIENTEDGE;
  }
  // Both kinds share the window class; a popup saves the screen bits it covers.
  params.classStyle = CS_DBLCLKS | CS_SAVEBITS;
}

void TZcCustomCalendar::AfterCreateWnd() {
  TZcCustomControl::AfterCreateWnd();
  if (IsPopup()) SetPopupOwner(popupOwner_);
  Relayout();
  core_.WindowCreated();
}

void TZcCustomCalendar::Relayout() {
  TZcCalLayoutInput in;
  RECT client{0, 0, Width(), Height()};
  if (HWND h = HandleIfCreated()) {
    GetClientRect(h, &client);
  } else if (borderStyle_ == TZcCalBorderStyle::bsSingle) {
    // Border and client edge, before the window exists.
    InflateRect(&client, -(GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CXEDGE)),
                -(GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYEDGE)));
    OffsetRect(&client, -client.left, -client.top);
  }
  in.clientWidth = client.right - client.left;
  in.clientHeight = client.bottom - client.top;
  in.textHeight = TTextMeasure(FontHandle()).Extent("Yy").cy;
  for (TZcCalButton b : kButtons) {
    in.glyphWidths[static_cast<size_t>(b)] = BitmapSize(glyphs_[static_cast<size_t>(b)].Get()).cx;
  }
  in.ctl3D = ctl3D_;
  in.popup = IsPopup();
  in.options = core_.Options();
  core_.SetLayout(ZcCalendarLayout(in));
  Invalidate();
}

RECT TZcCustomCalendar::CellRect(int cell) const {
  if (cell < 1 || cell > 42) return RECT{};
  return ToRect(core_.Layout().Cell(2 + (cell - 1) / 7, (cell - 1) % 7));
}

RECT TZcCustomCalendar::ButtonRect(TZcCalButton button) const { return ToRect(core_.Layout().Button(button)); }

void TZcCustomCalendar::HandleInvalidate(const TZcCalRepaint& repaint) {
  HWND h = HandleIfCreated();
  if (!h) return;
  if (repaint.all) {
    InvalidateRect(h, nullptr, FALSE);
    return;
  }
  // Within the same month only the old and the new day's cells change.
  for (int cell : {repaint.oldCell, repaint.newCell}) {
    RECT r = CellRect(cell);
    InvalidateRect(h, &r, FALSE);
  }
}

bool TZcCustomCalendar::DoMouseWheel(int delta) { return core_.MouseWheel(delta); }

bool TZcCustomCalendar::KeyFor(WPARAM vk, TZcCalKey& key) {
  switch (vk) {
    case VK_LEFT: key = TZcCalKey::Left; return true;
    case VK_RIGHT: key = TZcCalKey::Right; return true;
    case VK_UP: key = TZcCalKey::Up; return true;
    case VK_DOWN: key = TZcCalKey::Down; return true;
    case VK_PRIOR: key = TZcCalKey::PageUp; return true;
    case VK_NEXT: key = TZcCalKey::PageDown; return true;
    case VK_HOME: key = TZcCalKey::Home; return true;
    case VK_END: key = TZcCalKey::End; return true;
    case VK_BACK: key = TZcCalKey::Back; return true;
    case VK_ESCAPE: key = TZcCalKey::Escape; return true;
    default: return false;
  }
}

void TZcCustomCalendar::MouseDown(TZcMouseButton button, int x, int y) {
  if (core_.MenuActive()) return;
  HWND h = HandleIfCreated();
  if (h && GetFocus() != h) SetFocus();
  if (OnMouseDown) {
    OnMouseDown(*this, button, ZcCurrentShiftState(), x, y);
    // The event may have closed a popup.
    if (!h || !IsWindowVisible(h)) return;
  }
  if (core_.readOnly) return;
  const bool captured = h && GetCapture() == h;
  if (!captured && button == TZcMouseButton::Left) {
    // A plain calendar's glyph buttons act when released over them.
    for (TZcCalButton b : kButtons) {
      if (core_.Layout().Visible(b) && core_.Layout().Button(b).Contains(x, y)) {
        trackedButton_ = static_cast<int>(b);
        trackedInside_ = true;
        SetCapture(h);
        RECT r = ButtonRect(b);
        InvalidateRect(h, &r, FALSE);
        return;
      }
    }
  }
  core_.MouseDown(x, y, button, captured);
}

void TZcCustomCalendar::ShowMonthMenu(int x, int y) {
  HWND h = HandleIfCreated();
  if (!h) return;
  std::array<TZcMonthMenuItem, 7> items = core_.MonthMenuItems();
  UniqueMenu owner(CreatePopupMenu());
  if (!owner) return;
  HMENU menu = owner.Get();
  for (size_t i = 0; i < items.size(); ++i) {
    UINT flags = MF_STRING | (i == 3 ? MF_CHECKED : 0u);
    AppendMenuA(menu, flags, i + 1, items[i].caption.c_str());
  }
  POINT screen{x, y};
  ClientToScreen(h, &screen);
  TPointI at = TZcCalendarCore::MonthMenuPosition(screen.x, screen.y, GetSystemMetrics(SM_CYMENU));
  core_.SetMenuActive(true);
  int chosen = static_cast<int>(TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                               at.x, at.y, 0, h, nullptr));
  core_.SetMenuActive(false);
  // The menu took the mouse; a popup needs it back to see presses outside itself.
  if (IsPopup() && IsWindowVisible(h)) SetCapture(h);
  if (chosen >= 1 && chosen <= 7) core_.ChooseMonthMenuItem(chosen - 1);
}

void TZcCustomCalendar::WndProc(TMessage& m) {
  bool handled = true;
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;  // painting covers every pixel
      break;
    case WM_PAINT:
      PaintWindow();
      m.Result = 0;
      break;
    case WM_PRINTCLIENT:
      PaintTo(reinterpret_cast<HDC>(m.WParam));
      m.Result = 0;
      break;
    case WM_SIZE:
      TZcCustomControl::WndProc(m);
      Relayout();
      break;
    case WM_GETDLGCODE:
      m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      break;
    case WM_SETFOCUS:
      core_.FocusReceived();
      TZcCustomControl::WndProc(m);
      HandleInvalidate({false, core_.ActiveCell(), core_.ActiveCell()});
      break;
    case WM_KILLFOCUS:
      TZcCustomControl::WndProc(m);
      Invalidate();
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      handled = KeyDownMessage(m);
      break;
    case WM_CHAR:
    case WM_SYSCHAR:
      handled = CharMessage(m);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      MouseDown(MouseButtonOf(m.Msg), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
      m.Result = 0;
      break;
    case WM_MOUSEMOVE:
      TrackButton(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
      handled = false;
      break;
    case WM_LBUTTONUP:
      handled = ReleaseTrackedButton(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
      if (handled) m.Result = 0;
      break;
    case WM_CAPTURECHANGED:
      DropTrackedButton();
      handled = false;
      break;
    case WM_RBUTTONUP:
      handled = RightButtonUp(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
      if (handled) m.Result = 0;
      break;
    case WM_CONTEXTMENU:
      ContextMenu(m);
      break;
    case WM_CLOSE:
      // A popup is hidden by its field, never closed by the system (Alt+F4).
      handled = IsPopup();
      break;
    default:
      handled = false;
      break;
  }
  if (!handled) TZcCustomControl::WndProc(m);
}

TZcMouseButton TZcCustomCalendar::MouseButtonOf(UINT msg) {
  switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      return TZcMouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      return TZcMouseButton::Middle;
    default:
      return TZcMouseButton::Left;
  }
}

void TZcCustomCalendar::PaintWindow() {
  ScopedPaint paint(HandleIfCreated());
  HDC dc = paint.Get();
  const RECT& client = paint.Client();
  const RECT& dirty = paint.Dirty();
  // Composed off-screen, then copied, so a repaint does not flicker.
  UniqueDC mem = CompatibleDC(dc);
  UniqueGdi<HBITMAP> bmp(CreateCompatibleBitmap(dc, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)));
  ScopedSelect sel(mem.Get(), bmp.Get());
  PaintTo(mem.Get());
  BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, mem.Get(), dirty.left,
         dirty.top, SRCCOPY);
}

bool TZcCustomCalendar::KeyDownMessage(TMessage& m) {
  WORD key = static_cast<WORD>(m.WParam);
  TZcShiftState shift = ZcCurrentShiftState();
  if (m.Msg == WM_SYSKEYDOWN && (m.LParam & (1 << 29))) shift.alt = true;
  if (OnKeyDown) {
    OnKeyDown(*this, key, shift);
    if (key == 0) return true;
  }
  TZcCalKey calKey;
  if (!KeyFor(key, calKey) || !core_.KeyDown(calKey, shift)) return false;
  m.Result = 0;
  return true;
}

bool TZcCustomCalendar::CharMessage(TMessage& m) {
  char key = static_cast<char>(m.WParam);
  if (OnKeyPress) {
    OnKeyPress(*this, key);
    if (key == 0) return true;
  }
  if (m.Msg == WM_SYSCHAR) return key == VK_BACK;  // Alt+Backspace was a key move
  if (!core_.KeyPress(key)) return false;
  m.Result = 0;
  return true;
}

void TZcCustomCalendar::TrackButton(int x, int y) {
  if (trackedButton_ < 0) return;
  const auto b = static_cast<TZcCalButton>(trackedButton_);
  const bool inside = core_.Layout().Button(b).Contains(x, y);
  if (inside == trackedInside_) return;
  trackedInside_ = inside;
  RECT r = ButtonRect(b);
  InvalidateRect(HandleIfCreated(), &r, FALSE);
}

bool TZcCustomCalendar::ReleaseTrackedButton(int x, int y) {
  if (trackedButton_ < 0) return false;
  const auto b = static_cast<TZcCalButton>(trackedButton_);
  const bool inside = core_.Layout().Button(b).Contains(x, y);
  trackedButton_ = -1;
  ReleaseCapture();
  RECT r = ButtonRect(b);
  InvalidateRect(HandleIfCreated(), &r, FALSE);
  if (inside) core_.ClickButton(b);
  return true;
}

void TZcCustomCalendar::DropTrackedButton() {
  if (trackedButton_ < 0) return;
  RECT r = ButtonRect(static_cast<TZcCalButton>(trackedButton_));
  trackedButton_ = -1;
  InvalidateRect(HandleIfCreated(), &r, FALSE);
}

bool TZcCustomCalendar::RightButtonUp(int x, int y) {
  if (PopupMenu || core_.MenuActive() || !core_.MonthMenuHit(x, y)) return false;
  ShowMonthMenu(x, y);
  return true;
}

void TZcCustomCalendar::ContextMenu(TMessage& m) {
  if (!PopupMenu) {
    m.Result = 0;
    return;
  }
  TrackPopupMenu(PopupMenu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam), 0,
                 HandleIfCreated(), nullptr);
}

void TZcCustomCalendar::PaintTo(HDC dc) {
  const TZcCalLayout& layout = core_.Layout();
  RECT client{0, 0, layout.clientWidth, layout.clientHeight};
  FillSolid(dc, client, ColorToRGB(Color));
  ScopedSelect font(dc, FontHandle());
  SetBkMode(dc, TRANSPARENT);
  const double date = core_.Date();

  // Header: month and year.
  RECT header = ToRect(layout.headerBox);
  if (OnDrawDate) {
    OnDrawDate(*this, dc, header, date);
  } else {
    std::string text = core_.HeaderText([dc](const std::string& t) {
      SIZE s{};
      GetTextExtentPoint32A(dc, t.c_str(), static_cast<int>(t.size()), &s);
      return static_cast<int>(s.cx);
    });
    DrawCentred(dc, text, header, ColorToRGB(core_.colors.Color(TZcCalColorRole::MonthAndYear)));
  }

  // Day names.
  for (int k = 0; k < 7; ++k) {
    DrawCentred(dc, core_.DayNameText(k), ToRect(layout.Cell(1, k)),
                ColorToRGB(core_.colors.Color(TZcCalColorRole::DayNames)));
  }

  // Separator under the day names.
  const int namesBottom = layout.Cell(1, 0).bottom;
  if (ctl3D_) {
    HorizontalLine(dc, 0, layout.clientWidth, namesBottom - 3, GetSysColor(COLOR_BTNHIGHLIGHT));
    HorizontalLine(dc, 0, layout.clientWidth, namesBottom - 2, GetSysColor(COLOR_BTNSHADOW));
  } else if (borderStyle_ == TZcCalBorderStyle::bsSingle) {
    HorizontalLine(dc, 0, layout.clientWidth, namesBottom - 3, ColorToRGB(EffectiveFont().color));
  }

  HWND h = HandleIfCreated();
  const bool focused = h && GetFocus() == h;
  for (int cell = 1; cell <= 42; ++cell) PaintCell(dc, cell, focused);
  for (TZcCalButton b : kButtons) {
    if (layout.Visible(b)) PaintButton(dc, b);
  }
}

void TZcCustomCalendar::PaintCell(HDC dc, int cell, bool focused) {
  TZcCalCell info = core_.CellInfo(cell);
  if (!info.visible) return;
  RECT r = CellRect(cell);
  const double date = StDateToDateTime(info.date);
  if (OnDrawItem) {
    OnDrawItem(*this, dc, r, date, info.inMonth);
    return;
  }
  const std::string number = std::to_string(info.day);
  if (info.active && !core_.Options().hideActive) {
    // The current day is a small button face, pressed while the calendar has the focus.
    FillSolid(dc, r, GetSysColor(COLOR_BTNFACE));
    UINT edge = ctl3D_ ? (focused ? BDR_SUNKENINNER : BDR_RAISEDINNER)
                       : (focused ? BDR_SUNKENOUTER : BDR_RAISEDOUTER);
    DrawEdge(dc, &r, edge, BF_RECT);
    DrawCentred(dc, number, r, ColorToRGB(core_.colors.Color(TZcCalColorRole::ActiveDay)));
    return;
  }
  DrawCentred(dc, number, r, ColorToRGB(info.color));
}

void TZcCustomCalendar::PaintButton(HDC dc, TZcCalButton button) {
  RECT r = ButtonRect(button);
  const bool pressed = trackedButton_ == static_cast<int>(button) && trackedInside_;
  const bool enabled = Enabled() && !core_.readOnly;
  if (!core_.Layout().flatButtons || pressed) {
    UINT state = DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0u);
    DrawFrameControl(dc, &r, DFC_BUTTON, state);
  }
  HBITMAP glyph = glyphs_[static_cast<size_t>(button)].Get();
  SIZE g = BitmapSize(glyph);
  int x = r.left + (r.right - r.left - g.cx) / 2 + (pressed ? 1 : 0);
  int y = r.top + (r.bottom - r.top - g.cy) / 2 + (pressed ? 1 : 0);
  // A glyph taller than a short button row is clipped to the button.
  SavedDC saved(dc);
  IntersectClipRect(dc, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
  DrawZcGlyph(dc, x, y, glyph, enabled);
}

// ---------------------------------------------------------------------------------------------
// TZcCalendar: properties by name

namespace {
enum class CalProp { None, ReadOnly, WantDblClicks, Ctl3D, DateFormat, BorderStyle, WeekStarts, DayNameWidth };
CalProp CalPropByName(std::string_view name) {
  static const std::pair<const char*, CalProp> kProps[] = {
      {"ReadOnly", CalProp::ReadOnly},       {"WantDblClicks", CalProp::WantDblClicks},
      {"Ctl3D", CalProp::Ctl3D},             {"DateFormat", CalProp::DateFormat},
      {"BorderStyle", CalProp::BorderStyle}, {"WeekStarts", CalProp::WeekStarts},
      {"DayNameWidth", CalProp::DayNameWidth}};
  for (const auto& [n, p] : kProps) {
    std::string_view candidate(n);
    if (candidate.size() == name.size() &&
        std::equal(name.begin(), name.end(), candidate.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        })) {
      return p;
    }
  }
  return CalProp::None;
}
}  // namespace

TPropInfo TZcCalendar::GetPropInfo(std::string_view name) const {
  CalProp p = CalPropByName(name);
  if (p == CalProp::None) return TZcCustomCalendar::GetPropInfo(name);
  return TPropInfo{true, p != CalProp::DayNameWidth};
}

bool TZcCalendar::GetOrdProp(std::string_view name, int32_t& value) const {
  switch (CalPropByName(name)) {
    case CalProp::ReadOnly: value = ReadOnly(); return true;
    case CalProp::WantDblClicks: value = WantDblClicks(); return true;
    case CalProp::Ctl3D: value = Ctl3D(); return true;
    case CalProp::DateFormat: value = static_cast<int32_t>(DateFormat()); return true;
    case CalProp::BorderStyle: value = static_cast<int32_t>(BorderStyle()); return true;
    case CalProp::WeekStarts: value = WeekStarts(); return true;
    case CalProp::DayNameWidth: value = DayNameWidth(); return true;
    case CalProp::None: break;
  }
  return TZcCustomCalendar::GetOrdProp(name, value);
}

bool TZcCalendar::SetOrdProp(std::string_view name, int32_t value) {
  switch (CalPropByName(name)) {
    case CalProp::ReadOnly: SetReadOnly(value != 0); return true;
    case CalProp::WantDblClicks: SetWantDblClicks(value != 0); return true;
    case CalProp::Ctl3D: SetCtl3D(value != 0); return true;
    case CalProp::DateFormat:
      SetDateFormat(value == 0 ? TZcDateFormat::dfShort : TZcDateFormat::dfLong);
      return true;
    case CalProp::BorderStyle:
      SetBorderStyle(value == 0 ? TZcCalBorderStyle::bsNone : TZcCalBorderStyle::bsSingle);
      return true;
    case CalProp::WeekStarts: SetWeekStarts(value); return true;
    case CalProp::DayNameWidth: SetDayNameWidth(value); return true;
    case CalProp::None: break;
  }
  return TZcCustomCalendar::SetOrdProp(name, value);
}

}  // namespace zelvo
