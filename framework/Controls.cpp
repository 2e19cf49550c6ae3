#include "framework/Controls.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "framework/CallbackGuard.h"
#include "util/Exceptions.h"
#include "util/Util.h"

namespace zelvo {

// ---------------------------------------------------------------------------------------------
// TComponent

TComponent::TComponent(TComponent* owner) : owner_(owner) {}

TComponent::~TComponent() {
  // Free owned components newest first, the reverse of creation.
  while (!components_.empty()) components_.pop_back();
}

void TComponent::operator delete(TComponent* p, std::destroying_delete_t) {
  // The object is whole here: its most-derived class tears down what needs virtual calls (a
  // window's last messages) before any destructor runs.
  void* block = dynamic_cast<void*>(p);
  p->BeforeDestruction();
  p->~TComponent();
  ::operator delete(block);
}

std::vector<TComponent*> TComponent::Components() const {
  std::vector<TComponent*> list;
  list.reserve(components_.size());
  for (const auto& c : components_) list.push_back(c.get());
  return list;
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  for (const auto& c : components_) {
    if (c->Name.size() == name.size() &&
        std::equal(name.begin(), name.end(), c->Name.begin(),
                   [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                                std::tolower(static_cast<unsigned char>(b)); })) {
      return c.get();
    }
  }
  return nullptr;
}

void TComponent::DestroyComponent(TComponent* c) {
  auto it = std::find_if(components_.begin(), components_.end(),
                         [c](const auto& p) { return p.get() == c; });
  if (it != components_.end()) components_.erase(it);
}

TPropInfo TComponent::GetPropInfo(std::string_view) const { return {}; }
bool TComponent::GetOrdProp(std::string_view, int32_t&) const { return false; }
bool TComponent::SetOrdProp(std::string_view, int32_t) { return false; }

// ---------------------------------------------------------------------------------------------
// Window binding

namespace {
std::unordered_map<HWND, TWinControl*>& HandleMap() {
  static std::unordered_map<HWND, TWinControl*> map;
  return map;
}
// The control whose window is being created on this thread: the first message of an unbound
// window belongs to it (top-level windows get WM_GETMINMAXINFO before WM_NCCREATE).
thread_local TWinControl* t_creating = nullptr;

std::map<std::string, WNDPROC>& ClassProcs() {
  static std::map<std::string, WNDPROC> procs;
  return procs;
}
}  // namespace

WNDPROC RegisterControlClass(const TCreateParams& params) {
  auto& procs = ClassProcs();
  auto it = procs.find(params.windowClass);
  if (it != procs.end()) return it->second;

  HINSTANCE inst = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  WNDPROC defProc = DefWindowProcA;
  if (!params.baseClass.empty()) {
    if (!GetClassInfoExA(nullptr, params.baseClass.c_str(), &wc)) {
      throw Exception("Window class " + params.baseClass + " is not available");
    }
    wc.cbSize = sizeof wc;
    defProc = wc.lpfnWndProc;
  } else {
    wc.style = params.classStyle;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = nullptr;
  }
  wc.lpfnWndProc = FrameworkWndProc;
  wc.hInstance = inst;
  wc.lpszClassName = params.windowClass.c_str();
  wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
  if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw Exception("Cannot register window class " + params.windowClass);
  }
  procs[params.windowClass] = defProc;
  return defProc;
}

// Binding of a window to the control being created (the map is private to the control).
struct TWindowBinder {
  static void Bind(TWinControl* c, HWND h) { c->Bind(h); }
};

namespace {
// Binds a framework window at HCBT_CREATEWND, before any other CBT hook of the thread and before
// the window's first message, so a hook installed by anyone else already finds the object. The
// hook is installed around each CreateWindowEx, which makes it the newest and so the first called.

LRESULT CALLBACK BindingCbtProc(int code, WPARAM wp, LPARAM lp) {
  return GuardCallback(TCallbackPolicy::PostToApplication, [&]() -> LRESULT {
    if (code == HCBT_CREATEWND && t_creating) {
      HWND h = reinterpret_cast<HWND>(wp);
      if (!TWinControl::FromHandle(h)) {
        TWindowBinder::Bind(std::exchange(t_creating, nullptr), h);
      }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }, LRESULT{0});
}

// Without the hook (it could not be installed) the window binds at its first message instead.
UniqueHook InstallBindingHook() {
  return UniqueHook(SetWindowsHookExA(WH_CBT, BindingCbtProc, nullptr, GetCurrentThreadId()));
}
}  // namespace

LRESULT CALLBACK FrameworkWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto& map = HandleMap();
  auto it = map.find(h);
  TWinControl* c = it != map.end() ? it->second : nullptr;
  if (!c) {
    if (!t_creating) return DefWindowProcA(h, msg, wp, lp);
    c = std::exchange(t_creating, nullptr);
    c->Bind(h);
  }
  TMessage m{msg, wp, lp, 0};
  const TCallbackPolicy policy = PolicyForMessage(msg);
  LRESULT result = GuardCallbackOr(
      policy,
      [&]() -> LRESULT {
        c->WindowProc(m);
        return m.Result;
      },
      [&]() -> LRESULT {
        // A failed non-client message still gets the class's default handling.
        if (!IsNonClientMessage(msg)) return 0;
        if (TWinControl* still = TWinControl::FromHandle(h)) {
          TMessage d{msg, wp, lp, 0};
          still->DefaultHandler(d);
          return d.Result;
        }
        return DefWindowProcA(h, msg, wp, lp);
      });
  if (msg == WM_NCDESTROY) {
    auto again = map.find(h);
    if (again != map.end()) again->second->Unbind();
  }
  return result;
}

// ---------------------------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* owner) : TComponent(owner) {}

TWinControl::~TWinControl() {
  // Normally BeforeDestruction has destroyed the window already; an object that was not deleted
  // (one on the stack) gets here with its window, which then sees only this level's handling.
  DestroyHandle();
  // A window that could not be destroyed must not keep pointing at this object.
  if (handle_) Unbind();
  for (TWinControl* child : children_) child->parent_ = nullptr;
  SetParent(nullptr);
}

void TWinControl::BeforeDestruction() {
  DestroyHandle();
  TComponent::BeforeDestruction();
}

void TWinControl::DestroyHandle() {
  if (handle_) DestroyWnd();
}

void TWinControl::WindowProc(TMessage& m) { chain_.Dispatch(m); }

THookToken TWinControl::HookWindowProc(TMessageHandler handler) { return chain_.Insert(std::move(handler)); }

TWinControl* TWinControl::FromHandle(HWND h) {
  auto& map = HandleMap();
  auto it = map.find(h);
  return it == map.end() ? nullptr : it->second;
}

void TWinControl::Bind(HWND h) {
  handle_ = h;
  HandleMap()[h] = this;
}

void TWinControl::Unbind() {
  if (handle_) HandleMap().erase(handle_);
  handle_ = nullptr;
}

void TWinControl::SetParent(TWinControl* parent) {
  if (parent_ == parent) return;
  if (parent_) {
    auto& sib = parent_->children_;
    sib.erase(std::remove(sib.begin(), sib.end(), this), sib.end());
    auto& tabs = parent_->tabOrder_;
    tabs.erase(std::remove(tabs.begin(), tabs.end(), this), tabs.end());
  }
  parent_ = parent;
  if (parent_) {
    parent_->children_.push_back(this);
    if (!IsGraphicControl()) parent_->tabOrder_.push_back(this);
    if (parent_->handle_ && !handle_) CreateWnd();
    else if (parent_->handle_ && handle_) ::SetParent(handle_, parent_->handle_);
  }
}

TWinControl* TWinControl::ParentFormControl() {
  for (TWinControl* c = this; c; c = c->parent_) {
    if (c->AsForm()) return c;
  }
  return nullptr;
}

TForm* TWinControl::ParentForm() {
  TWinControl* form = ParentFormControl();
  return form ? form->AsForm() : nullptr;
}

int TWinControl::TabOrder() const {
  if (!parent_) return -1;
  auto& tabs = parent_->tabOrder_;
  auto it = std::find(tabs.begin(), tabs.end(), this);
  return it == tabs.end() ? -1 : static_cast<int>(it - tabs.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!parent_ || IsGraphicControl()) return;
  auto& tabs = parent_->tabOrder_;
  tabs.erase(std::remove(tabs.begin(), tabs.end(), this), tabs.end());
  order = std::clamp(order, 0, static_cast<int>(tabs.size()));
  tabs.insert(tabs.begin() + order, this);
}

std::vector<TWinControl*> TWinControl::TabList() const { return tabOrder_; }

void TWinControl::SetBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (handle_) SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetCaption(const std::string& text) {
  caption_ = text;
  if (handle_) SetWindowTextA(handle_, text.c_str());
}

void TWinControl::SetVisible(bool v) {
  visible_ = v;
  if (handle_) ShowWindow(handle_, v ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool e) {
  enabled_ = e;
  if (handle_) EnableWindow(handle_, e);
}

void TWinControl::SetTabStop(bool t) {
  tabStop_ = t;
  if (handle_) {
    LONG style = GetWindowLongA(handle_, GWL_STYLE);
    SetWindowLongA(handle_, GWL_STYLE, t ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
  }
}

const TFontSpec& TWinControl::EffectiveFont() const {
  if (ParentFont && parent_) return parent_->EffectiveFont();
  return Font;
}

void TWinControl::SetFont(const TFontSpec& f) {
  Font = f;
  ParentFont = false;
  if (handle_) {
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), TRUE);
    Invalidate();
  }
}

TColor TWinControl::EffectiveColor() const {
  if (ParentColor && parent_) return parent_->EffectiveColor();
  return Color;
}

HFONT TWinControl::FontHandle() const {
  const TFontSpec& want = EffectiveFont();
  if (!font_ || !(fontFor_ == want)) {
    font_.Reset(CreateFontFromSpec(want));
    fontFor_ = want;
  }
  return font_.Get();
}

void TWinControl::SetFocus() {
  HWND h = Handle();
  if (CanFocus()) ::SetFocus(h);
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
  for (const TWinControl* c = this; c; c = c->parent_) {
    if (!c->visible_ || !c->enabled_) return false;
  }
  return true;
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

char TWinControl::AccelChar() const {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(AcceleratorChar(caption_))));
}

void TWinControl::Click() {
  if (OnClick) OnClick(*this);
}

HWND TWinControl::Handle() {
  if (!handle_) CreateWnd();
  return handle_;
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.windowClass = ClassName();
  params.style = WS_CHILD | WS_CLIPSIBLINGS;
  if (visible_) params.style |= WS_VISIBLE;
  if (!enabled_) params.style |= WS_DISABLED;
  if (tabStop_) params.style |= WS_TABSTOP;
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  HWND parentWnd = nullptr;
  if (params.style & WS_CHILD) {
    if (!parent_) throw Exception(std::string("Control '") + Name + "' has no parent window");
    parentWnd = parent_->Handle();
  } else if (parent_) {
    parentWnd = parent_->Handle();
  }
  defProc_ = RegisterControlClass(params);
  HWND h = nullptr;
  {
    t_creating = this;
    UniqueHook binding = InstallBindingHook();
    h = CreateWindowExA(params.exStyle, params.windowClass.c_str(), caption_.c_str(), params.style, left_,
                        top_, width_, height_, parentWnd, nullptr, GetModuleHandleA(nullptr), nullptr);
    t_creating = nullptr;
  }
  if (!h) {
    if (handle_) Unbind();
    throw Exception(std::string("Cannot create window for '") + Name + "'");
  }
  if (!handle_) Bind(h);
  SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
  AfterCreateWnd();
  CreateChildHandles();
}

void TWinControl::CreateChildHandles() {
  // Children are created in tab order so that the window order matches it too.
  for (TWinControl* c : tabOrder_) {
    if (!c->handle_) c->CreateWnd();
  }
  for (TWinControl* c : children_) {
    if (!c->handle_) c->CreateWnd();
  }
}

void TWinControl::DestroyWnd() {
  if (handle_) DestroyWindow(handle_);
}

void TWinControl::ReflectToChild(TMessage& m, HWND child, UINT cnMsg) {
  if (TWinControl* c = FromHandle(child); c && c != this) {
    TMessage r{cnMsg, m.WParam, m.LParam, 0};
    c->WindowProc(r);
    m.Result = r.Result;
  } else {
    DefaultHandler(m);
  }
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (!handle_) return;
  m.Result = CallWindowProcA(defProc_ ? defProc_ : DefWindowProcA, handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND:
      if (m.LParam) return ReflectToChild(m, reinterpret_cast<HWND>(m.LParam), CN_COMMAND);
      break;
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (dis && dis->CtlType != ODT_MENU) return ReflectToChild(m, dis->hwndItem, CN_DRAWITEM);
      break;
    }
    case WM_NOTIFY: {
      auto* nm = reinterpret_cast<NMHDR*>(m.LParam);
      if (nm) return ReflectToChild(m, nm->hwndFrom, CN_NOTIFY);
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      return ReflectToChild(m, reinterpret_cast<HWND>(m.LParam), CN_BASE + m.Msg);
    case WM_SETFOCUS:
      DefaultHandler(m);
      if (TWinControl* form = ParentFormControl(); form && form != this) form->FocusChanged(this);
      if (OnEnter) OnEnter(*this);
      return;
    case WM_KILLFOCUS:
      DefaultHandler(m);
      if (OnExit) OnExit(*this);
      return;
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX: {
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      SetTextColor(dc, ColorToRGB(EffectiveFont().color));
      SetBkColor(dc, ColorToRGB(EffectiveColor()));
      // Each control keeps the brush of its own background colour.
      if (!brush_ || brushColor_ != EffectiveColor()) {
        brush_.Reset(CreateSolidBrush(ColorToRGB(EffectiveColor())));
        brushColor_ = EffectiveColor();
      }
      m.Result = reinterpret_cast<LRESULT>(brush_.Get());
      return;
    }
    default:
      break;
  }
  DefaultHandler(m);
}

}  // namespace zelvo

// ---------------------------------------------------------------------------------------------
// Adopted windows

namespace zelvo {

struct TForeignWindow::Link {
  TForeignWindow* self;  // cleared when the object goes
  int depth = 0;         // calls of the subclass procedure running now
};

TForeignWindow::TForeignWindow(HWND h) : TWinControl(nullptr), link_(std::make_shared<Link>(Link{this})) {
  if (!h || !IsWindow(h) || GetWindowThreadProcessId(h, nullptr) != GetCurrentThreadId()) {
    throw Exception("Only a window of this thread can be adopted");
  }
  if (FromHandle(h)) throw Exception("The window already belongs to an object");
  char cls[256] = {};
  GetClassNameA(h, cls, sizeof cls);
  windowClass_ = cls;
  int n = GetWindowTextLengthA(h);
  std::string text(static_cast<size_t>(std::max(n, 0)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(h, text.data(), n + 1)));
  SetCaptionSilently(text);
  RECT r{};
  GetWindowRect(h, &r);
  if (HWND parent = GetParent(h); parent && (GetWindowLongA(h, GWL_STYLE) & WS_CHILD)) {
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  left_ = r.left;
  top_ = r.top;
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  visible_ = IsWindowVisible(h) != FALSE;
  enabled_ = IsWindowEnabled(h) != FALSE;

  subclass_ = TWindowSubclass(h, [link = link_](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    // The link, not the object, is what survives the object being deleted by a handler.
    std::shared_ptr<Link> keep = link;
    if (!keep->self) return TWindowSubclass::CallNext(w, msg, wp, lp);
    ++keep->depth;
    ScopeExit leave([&keep] { --keep->depth; });
    TMessage m{msg, wp, lp, 0};
    keep->self->WindowProc(m);
    if (msg == WM_NCDESTROY && keep->self) keep->self->Unbind();
    return m.Result;
  });
  Bind(h);
}

TForeignWindow::~TForeignWindow() {
  Detach();
  link_->self = nullptr;
}

void TForeignWindow::Detach() noexcept {
  subclass_.Reset();
  if (HandleAllocated()) Unbind();
}

void TForeignWindow::BeforeDestruction() {
  // The window is not ours to destroy.
  Detach();
  TComponent::BeforeDestruction();
}

void TForeignWindow::CreateWnd() { throw Exception("The adopted window no longer exists"); }

void TForeignWindow::WndProc(TMessage& m) { DefaultHandler(m); }

void TForeignWindow::DefaultHandler(TMessage& m) {
  // The previous procedure is reachable only from inside the subclass procedure; a message
  // handed to the object from elsewhere (a reflected notification) has no default handling.
  if (HandleAllocated() && link_->depth > 0) {
    m.Result = TWindowSubclass::CallNext(HandleIfCreated(), m.Msg, m.WParam, m.LParam);
  } else {
    m.Result = 0;
  }
}

std::unique_ptr<TForeignWindow> AdoptWindow(HWND h) { return std::make_unique<TForeignWindow>(h); }

}  // namespace zelvo
