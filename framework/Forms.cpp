#include "framework/Forms.h"

#include <algorithm>

#include "framework/Forms_core.h"
#include "framework/Menus.h"
#include "util/Exceptions.h"
#include "util/Util.h"

namespace zelvo {

TApplication* Application = nullptr;

// ---------------------------------------------------------------------------------------------
// TButtonControl

void TButtonControl::Click() {
  // The form takes the button's modal result before the click handler runs.
  if (TForm* f = ParentForm()) {
    if (ModalResult != 0) f->ModalResult = ModalResult;
  }
  TWinControl::Click();
}

// ---------------------------------------------------------------------------------------------
// TForm

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  ParentFont = false;
  ParentColor = false;
  Color = clBtnFace;
  if (Application) Application->RegisterForm(this);
}

TForm::~TForm() {
  // A form that was deleted has no window left here; one that was not (on the stack) gets its
  // form-level WM_DESTROY and OnDestroy now.
  DestroyHandle();
  if (Application) Application->UnregisterForm(this);
}

void TForm::DoCreate() {
  try {
    if (OnCreate) OnCreate(*this);
  } catch (...) {
    HandleCurrentException();
  }
}

void TForm::SetClientSize(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
  TCreateParams p;
  CreateParams(p);
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, p.style, Menu != nullptr, p.exStyle);
  SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

RECT TForm::ClientRectOnScreen() {
  RECT r{};
  HWND h = Handle();
  GetClientRect(h, &r);
  MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void TForm::CreateParams(TCreateParams& params) {
  params.windowClass = ClassName();
  params.classStyle = CS_DBLCLKS;
  params.style = WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  params.exStyle = 0;
  switch (BorderStyle) {
    case TFormBorderStyle::bsNone: break;
    case TFormBorderStyle::bsSingle: params.style |= WS_CAPTION | WS_BORDER; break;
    case TFormBorderStyle::bsSizeable: params.style |= WS_CAPTION | WS_THICKFRAME; break;
    case TFormBorderStyle::bsDialog:
      params.style |= WS_CAPTION | DS_MODALFRAME;
      params.exStyle |= WS_EX_DLGMODALFRAME;
      break;
  }
  if (BorderStyle != TFormBorderStyle::bsNone && (BorderIcons & biSystemMenu)) {
    params.style |= WS_SYSMENU;
    if (BorderStyle != TFormBorderStyle::bsDialog) {
      if (BorderIcons & biMinimize) params.style |= WS_MINIMIZEBOX;
      if (BorderIcons & biMaximize) params.style |= WS_MAXIMIZEBOX;
    }
    if (BorderIcons & biHelp) params.exStyle |= WS_EX_CONTEXTHELP;
  }
  if (FormStyle == TFormStyle::fsStayOnTop) params.exStyle |= WS_EX_TOPMOST;
  if (Application && Application->MainForm() == this) params.exStyle |= WS_EX_APPWINDOW;
  if (!Enabled()) params.style |= WS_DISABLED;
}

void TForm::AfterCreateWnd() {
  HWND h = HandleIfCreated();
  if (Icon) {
    SendMessageA(h, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Icon));
    SendMessageA(h, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(SmallIcon ? SmallIcon.Get() : Icon));
  }
  if (Menu) Menu->AttachToWindow(h);
  // Top-level framework windows are owned by the application's hidden window (or, while a
  // modal form is up, by the active form) so they stay above it and share its taskbar entry.
  if (Application && Application->Handle() && !(GetWindowLongA(h, GWL_STYLE) & WS_CHILD)) {
    HWND owner = Application->Handle();
    if (Application->MainForm() != this) {
      HWND active = GetActiveWindow();
      if (active && TWinControl::FromHandle(active)) owner = active;
    }
    SetWindowLongPtrA(h, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  }
}

void TForm::PlaceOnScreen() {
  if (placed_) return;
  placed_ = true;
  if (Position == TPosition::poDesigned) return;
  HWND anchor = Application && Application->MainForm() ? Application->MainForm()->HandleIfCreated() : nullptr;
  HMONITOR mon = anchor ? MonitorFromWindow(anchor, MONITOR_DEFAULTTOPRIMARY)
                        : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (GetMonitorInfoA(mon, &mi)) area = mi.rcMonitor;
  if (Position == TPosition::poMainFormCenter && anchor && Application->MainForm() != this) {
    GetWindowRect(anchor, &area);
  }
  int x = area.left + ((area.right - area.left) - Width()) / 2;
  int y = area.top + ((area.bottom - area.top) - Height()) / 2;
  SetBounds(std::max(x, static_cast<int>(area.left)), std::max(y, static_cast<int>(area.top)), Width(), Height());
}

void TForm::Show() {
  PlaceOnScreen();
  HWND h = Handle();
  TWinControl::SetVisible(true);
  ShowWindow(h, SW_SHOW);
  SetForegroundWindow(h);
  if (OnShow) OnShow(*this);
  if (activeControl_ && activeControl_->CanFocus()) {
    activeControl_->SetFocus();
  } else {
    SelectNext(nullptr, true);
  }
}

void TForm::Hide() {
  TWinControl::SetVisible(false);
  if (HWND h = HandleIfCreated()) ShowWindow(h, SW_HIDE);
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(*this, canClose);
  return canClose;
}

void TForm::Close() {
  if (modal_) {
    // A modal form closes through its loop, which sees the modal result.
    ModalResult = 2;  // mrCancel
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = (Application && Application->MainForm() == this) ? TCloseAction::caFree
                                                                           : TCloseAction::caHide;
  if (OnClose) OnClose(*this, action);
  if (action == TCloseAction::caNone) return;
  if (Application && Application->MainForm() == this) {
    Hide();
    Application->Terminate();
    return;
  }
  if (action == TCloseAction::caMinimize) {
    ShowWindow(Handle(), SW_MINIMIZE);
    return;
  }
  Hide();
  if (action == TCloseAction::caFree) PostMessageA(Handle(), CM_RELEASE, 0, 0);
}

namespace {
struct DisableContext {
  HWND self;
  std::vector<HWND> disabled;
};
BOOL CALLBACK DisableOtherWindow(HWND w, LPARAM lp) {
  return GuardCallback(TCallbackPolicy::ShowDialog, [&]() -> BOOL {
    auto* c = reinterpret_cast<DisableContext*>(lp);
    if (w != c->self && IsWindowVisible(w) && IsWindowEnabled(w)) {
      EnableWindow(w, FALSE);
      c->disabled.push_back(w);
    }
    return TRUE;
  }, FALSE);
}
}  // namespace

int32_t TForm::ShowModal() {
  if (modal_ || Visible()) throw Exception("Cannot make a visible window modal");
  if (GetCapture()) SendMessageA(GetCapture(), WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  HWND previousActive = GetActiveWindow();
  HWND self = Handle();

  // Disable every other enabled, visible top-level window of this thread.
  DisableContext ctx{self, {}};
  EnumThreadWindows(GetCurrentThreadId(), DisableOtherWindow, reinterpret_cast<LPARAM>(&ctx));

  modal_ = true;
  ModalResult = 0;
  if (Application) ++Application->modalLevel_;
  ScopeExit restore([this, &ctx, previousActive] {
    modal_ = false;
    if (Application) --Application->modalLevel_;
    for (HWND w : ctx.disabled) {
      if (IsWindow(w)) EnableWindow(w, TRUE);
    }
    Hide();
    if (previousActive && IsWindow(previousActive)) SetActiveWindow(previousActive);
  });

  Show();
  while (true) {
    if (Application) {
      Application->HandleMessage();
      if (Application->Terminated()) {
        if (ModalResult == 0) ModalResult = 2;
        break;
      }
    } else {
      MSG msg;
      if (GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (ModalResult != 0) {
      if (CloseQuery()) {
        TCloseAction action = TCloseAction::caHide;
        if (OnClose) OnClose(*this, action);
        if (action != TCloseAction::caNone) break;
      }
      ModalResult = 0;
    }
  }
  return ModalResult;
}

void TForm::SetActiveControl(TWinControl* c) {
  activeControl_ = c;
  if (c && HandleAllocated() && Visible() && c->CanFocus()) c->SetFocus();
}

void TForm::FocusChanged(TWinControl* control) {
  activeControl_ = control;
  // The default-button look follows the focus: a focused button shows it, otherwise the
  // form's default button does.
  auto* focusedButton = dynamic_cast<TButtonControl*>(control);
  std::vector<TWinControl*> stack{this};
  while (!stack.empty()) {
    TWinControl* w = stack.back();
    stack.pop_back();
    for (TWinControl* c : w->Controls()) {
      if (auto* b = dynamic_cast<TButtonControl*>(c)) {
        bool active = focusedButton ? (b == focusedButton) : b->Default;
        if (b->ActiveDefault() != active) b->SetActiveDefault(active);
      }
      stack.push_back(c);
    }
  }
}

namespace {
// All controls of a container in tab order, depth first (a container's children follow it).
void CollectTabOrder(const TWinControl* container, std::vector<TWinControl*>& out) {
  for (TWinControl* c : container->TabList()) {
    out.push_back(c);
    CollectTabOrder(c, out);
  }
}

// Every control of a container, tab order first and then the rest (labels), depth first.
void CollectAll(const TWinControl* container, std::vector<TWinControl*>& out) {
  CollectTabOrder(container, out);
  std::vector<TWinControl*> stack{const_cast<TWinControl*>(container)};
  while (!stack.empty()) {
    TWinControl* w = stack.back();
    stack.pop_back();
    for (TWinControl* c : w->Controls()) {
      if (c->IsGraphicControl()) out.push_back(c);
      stack.push_back(c);
    }
  }
}
}  // namespace

void TForm::SelectNext(TWinControl* from, bool forward) {
  std::vector<TWinControl*> order;
  CollectTabOrder(this, order);
  if (order.empty()) return;
  int n = static_cast<int>(order.size());
  int start = -1;
  if (from) {
    auto it = std::find(order.begin(), order.end(), from);
    if (it != order.end()) start = static_cast<int>(it - order.begin());
  }
  for (int step = 1; step <= n; ++step) {
    TWinControl* c = order[static_cast<size_t>(TabPosition(n, start, step, forward))];
    if (c->WantsFocusOnTab() && c->CanFocus()) {
      c->SetFocus();
      return;
    }
  }
}

TButtonControl* TForm::FindButton(bool TButtonControl::*role) const {
  std::vector<TWinControl*> all;
  CollectTabOrder(this, all);
  for (TWinControl* c : all) {
    if (auto* b = dynamic_cast<TButtonControl*>(c); b && b->*role && b->CanFocus()) return b;
  }
  return nullptr;
}

TWinControl* TForm::FindAccelerator(char ch) const {
  std::vector<TWinControl*> all;
  CollectAll(this, all);
  char up = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  for (TWinControl* c : all) {
    if (c->AccelChar() != up) continue;
    TWinControl* target = c->AccelTarget();
    if (target && target->CanFocus()) return target;
  }
  return nullptr;
}

namespace {
static_assert(kKeyTab == VK_TAB && kKeyReturn == VK_RETURN && kKeyEscape == VK_ESCAPE);
static_assert(kWantsTab == DLGC_WANTTAB && kWantsMessage == DLGC_WANTMESSAGE && kWantsMessage == DLGC_WANTALLKEYS &&
              kWantsChars == DLGC_WANTCHARS);

TKeyMessage KeyMessageOf(UINT msg) {
  switch (msg) {
    case WM_KEYDOWN: return TKeyMessage::KeyDown;
    case WM_CHAR: return TKeyMessage::Char;
    case WM_SYSCHAR: return TKeyMessage::SysChar;
    default: return TKeyMessage::Other;
  }
}

bool ClickIfAny(TButtonControl* button) {
  if (!button) return false;
  button->Click();
  return true;
}
}  // namespace

bool TForm::HandleDialogKey(const MSG& msg) {
  HWND focus = GetFocus();
  TWinControl* focused = nullptr;
  for (HWND w = focus; w && !focused; w = GetParent(w)) focused = TWinControl::FromHandle(w);
  TDialogKey key;
  key.message = KeyMessageOf(msg.message);
  key.key = static_cast<uint32_t>(msg.wParam);
  key.shift = GetKeyState(VK_SHIFT) < 0;
  key.ctrl = GetKeyState(VK_CONTROL) < 0;
  key.alt = GetKeyState(VK_MENU) < 0;

  if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && KeyPreview && OnKeyDown) {
    WORD previewed = static_cast<WORD>(msg.wParam);
    OnKeyDown(*this, previewed, key.shift, key.ctrl, key.alt);
    if (previewed == 0) return true;
  }

  if (focus) {
    key.dialogCode =
        static_cast<uint32_t>(SendMessageA(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)));
  }
  auto* focusedButton = dynamic_cast<TButtonControl*>(focused);
  key.focusedIsButton = focusedButton != nullptr;

  const TDialogKeyAction action = DialogKeyAction(key);
  switch (action) {
    case TDialogKeyAction::PassOn:
      return false;
    case TDialogKeyAction::FocusNext:
    case TDialogKeyAction::FocusPrevious:
      SelectNext(focused && focused != this ? focused : nullptr, action == TDialogKeyAction::FocusNext);
      return true;
    case TDialogKeyAction::ClickFocused:
      return ClickIfAny(focusedButton);
    case TDialogKeyAction::ClickDefault:
      return ClickIfAny(FindButton(&TButtonControl::Default));
    case TDialogKeyAction::ClickCancel:
      return ClickIfAny(FindButton(&TButtonControl::Cancel));
    case TDialogKeyAction::Accelerator:
      if (TWinControl* target = FindAccelerator(static_cast<char>(msg.wParam))) {
        target->SetFocus();
        if (auto* b = dynamic_cast<TButtonControl*>(target)) b->Click();
        return true;
      }
      // An Alt+letter no control claims is offered to the form (a menu bar it draws itself).
      return msg.message == WM_SYSCHAR && HandleAllocated() &&
             SendMessageA(HandleIfCreated(), CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
  }
  return false;
}

void TForm::WndProc(TMessage& m) {
  if (DispatchMenuMessage(Menu, m)) return;
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(HandleIfCreated(), &r);
      UniqueGdi<HBRUSH> brush(CreateSolidBrush(ColorToRGB(Color)));
      FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush.Get());
      m.Result = 1;
      return;
    }
    case WM_ACTIVATE:
      TWinControl::WndProc(m);
      if (LOWORD(m.WParam) != WA_INACTIVE) {
        if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
      }
      return;
    case WM_SETFOCUS:
      // Give the focus to the active control rather than keeping it on the form.
      if (activeControl_ && activeControl_->CanFocus() && activeControl_ != this) {
        activeControl_->SetFocus();
        return;
      }
      break;
    case WM_DESTROY:
      if (OnDestroy) {
        TNotifyEvent ev = OnDestroy;
        ev(*this);
      }
      break;
    case CM_RELEASE:
      if (Application) Application->DestroyForm(this);
      return;
    case WM_HELP:
      if (HelpContext != 0 && Application) Application->HelpContext(HelpContext);
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------------------------
// TApplication

namespace {
LRESULT AppWndProcBody(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      if (Application && Application->MainForm()) Application->MainForm()->Close();
      return 0;
    case WM_ENDSESSION:
      if (wp && Application) Application->Terminate();
      return 0;
    case CM_CALLBACKERROR:
      // Error reports from hooks and painting, shown now that they are over.
      ShowDeferredCallbackErrors();
      return 0;
    default:
      return DefWindowProcA(h, msg, wp, lp);
  }
}

LRESULT CALLBACK AppWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  return GuardCallbackOr(
      PolicyForMessage(msg), [&] { return AppWndProcBody(h, msg, wp, lp); },
      [&]() -> LRESULT { return IsNonClientMessage(msg) ? DefWindowProcA(h, msg, wp, lp) : 0; });
}
}  // namespace

TApplication::TApplication() {
  Application = this;
  SetApplicationHost(this);
}

TApplication::~TApplication() {
  // Services first: they let go of every window while the forms are whole.
  ShutdownServices();
  // Then the forms, newest first; each destroys its window before its destructors run.
  while (!forms_.empty()) {
    std::unique_ptr<TForm> last = std::move(forms_.back());
    forms_.pop_back();
    if (mainForm_ == last.get()) mainForm_ = nullptr;
    last.reset();
  }
  if (handle_) DestroyWindow(handle_);
  ShowDeferredCallbackErrors();
  if (Application == this) Application = nullptr;
  if (ApplicationHost() == this) SetApplicationHost(nullptr);
}

void TApplication::RemoveService(TApplicationService& service) {
  auto it = std::find_if(services_.begin(), services_.end(), [&](const auto& p) { return p.get() == &service; });
  if (it == services_.end()) return;
  std::unique_ptr<TApplicationService> owned = std::move(*it);
  services_.erase(it);
  owned->Shutdown();
}

void TApplication::ShutdownServices() {
  while (!services_.empty()) RemoveService(*services_.back());
}

void TApplication::Initialize() {
  if (handle_) return;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = AppWndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = Icon;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = "TApplication";
  if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw Exception("Cannot register the application window class");
  }
  int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  handle_ = CreateWindowExA(0, "TApplication", title_.c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            cx / 2, cy / 2, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!handle_) throw Exception("Cannot create the application window");
  if (Icon) {
    SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Icon));
  }
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  if (handle_) SetWindowTextA(handle_, title.c_str());
}

void TApplication::RegisterForm(TForm* form) { registry_.push_back(form); }

void TApplication::UnregisterForm(TForm* form) {
  registry_.erase(std::remove(registry_.begin(), registry_.end(), form), registry_.end());
  if (mainForm_ == form) mainForm_ = nullptr;
}

void TApplication::DestroyForm(TForm* form) {
  auto it = std::find_if(forms_.begin(), forms_.end(), [form](const auto& p) { return p.get() == form; });
  if (it == forms_.end()) return;
  std::unique_ptr<TForm> owned = std::move(*it);
  forms_.erase(it);
  if (mainForm_ == form) mainForm_ = nullptr;
  owned.reset();
}

void TApplication::Run() {
  if (mainForm_ && !terminated_) mainForm_->Show();
  while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
  if (!terminated_) {
    terminated_ = true;
    PostQuitMessage(0);
  }
}

bool TApplication::IsKeyMsg(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(top));
  if (!form) return false;
  return form->HandleDialogKey(msg);
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  try {
    if (!IsKeyMsg(msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  } catch (...) {
    HandleCurrentException();
  }
  return true;
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) {
    if (terminated_) return;
    WaitMessage();
  }
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::HandleException(const std::exception& e) {
  if (OnException) {
    try {
      OnException(e);
      return;
    } catch (...) {
      // The reporter itself failed: fall back to the plain message box below.
    }
  }
  ShowException(e);
}

void TApplication::ShowException(const std::exception& e) {
  std::string text = e.what();
  if (!text.empty() && text.back() != '.') text += '.';
  MessageBoxA(nullptr, text.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

void TApplication::HelpContext(int context) {
  // Help comes from a compiled help file named after the program, beside it.
  // The program path is read whole, however long (the system's limit is 32,767 characters).
  const std::string program = ReadWholeText(
      [](char* buffer, uint32_t size) { return GetModuleFileNameA(nullptr, buffer, size); }, 32768);
  std::string helpFile = ChangeFileExt(program, ".chm");
  if (GetFileAttributesA(helpFile.c_str()) == INVALID_FILE_ATTRIBUTES) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  std::string args = "-mapid " + std::to_string(context) + " \"" + helpFile + "\"";
  ShellExecuteA(handle_, "open", "hh.exe", args.c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace zelvo
