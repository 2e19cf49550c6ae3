// Components and windowed controls: the base of every window the program shows.
//
// A component has a Name, a Tag, an Owner that frees it, and a class name; kind questions are
// answered by inheritance. A windowed control owns one HWND, bound to the object when the window
// is created and released at WM_NCDESTROY. Every message goes through the control's WindowProc,
// an explicit handler chain: a skin hooks itself in front (HookWindowProc), calls the rest of the
// chain when it wants to, and unhooks by dropping its token, in any order.
//
// Lifetime: a window is destroyed while its object is whole. Deleting a component (through its
// owner, the application, a std::unique_ptr or plain delete) first runs the virtual
// BeforeDestruction step, in which a windowed control destroys its window; so the most-derived
// class's WndProc and OnDestroy see WM_DESTROY exactly as they do after DestroyWindow.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Graphics.h"
#include "framework/HandlerChain.h"
#include "framework/Subclass.h"

// GCC 12 reports every delete through a destroying operator delete as "mismatched" with the
// allocation once both are inlined; the pair below is matched (plain new, then the global delete
// after the destructors), so that report is switched off for code using components.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace zelvo {

class TWinControl;
class TForm;

// Messages the framework reflects from a parent back to the child control they concern.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
// Posted to a form to free a component once the current message has been handled.
constexpr UINT CM_RELEASE = WM_APP + 0x3F00;
// Sent to a form's window for an Alt+letter (WM_SYSCHAR) that none of its controls claims:
// wParam is the character, lParam the key message's lParam. A handler that takes the key (a
// menu bar drawn by someone else than the system) answers nonzero and the key goes no further;
// otherwise it goes on to the window as usual (the system's menu bar).
constexpr UINT CM_DIALOGCHAR = WM_APP + 0x3F02;

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};
// The rest of a control's handler chain, as a handler receives it.
using TNext = THandlerChain<TMessage>::TNext;
using TMessageHandler = std::function<void(TMessage&, const TNext&)>;
using TNotifyEvent = std::function<void(class TComponent& sender)>;

// What a published property looks like from outside, for lookups by name.
struct TPropInfo {
  bool exists = false;
  bool isEnum = false;  // an enumeration (or Boolean) type
};

class TComponent {
 public:
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  // Every delete of a component first runs BeforeDestruction on the whole object, then the
  // destructors.
  static void operator delete(TComponent* p, std::destroying_delete_t);
  // The plain allocation, and the release of an object whose constructor threw (nothing to tear
  // down then); declared here so that allocation and release visibly pair.
  static void* operator new(std::size_t size) { return ::operator new(size); }
  static void operator delete(void* block) { ::operator delete(block); }
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  virtual const char* ClassName() const { return "TComponent"; }

  std::string Name;
  int32_t Tag = 0;
  TComponent* Owner() const { return owner_; }

  // Creates a component owned (and later freed) by this one.
  template <class T, class... Args>
  T* Create(Args&&... args) {
    auto p = std::make_unique<T>(this, std::forward<Args>(args)...);
    T* raw = p.get();
    components_.push_back(std::move(p));
    return raw;
  }
  // Owned components in creation order.
  std::vector<TComponent*> Components() const;
  TComponent* FindComponent(std::string_view name) const;
  template <class T>
  T* Find(std::string_view name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }
  // Frees an owned component now.
  void DestroyComponent(TComponent* c);

  // Published properties by name. Components that have none answer "not there".
  virtual TPropInfo GetPropInfo(std::string_view name) const;
  virtual bool GetOrdProp(std::string_view name, int32_t& value) const;
  virtual bool SetOrdProp(std::string_view name, int32_t value);

  template <class T>
  bool Is() const {
    return dynamic_cast<const T*>(this) != nullptr;
  }

 protected:
  // Runs on the whole object before its destructors (see the note at the top of this file).
  // Overrides call the base.
  virtual void BeforeDestruction() {}

 private:
  TComponent* owner_;
  std::vector<std::unique_ptr<TComponent>> components_;
};

enum class TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Window creation parameters a control class fills in.
struct TCreateParams {
  std::string windowClass;   // the class name registered for this control class
  std::string baseClass;     // the system class it extends (empty for the framework's own)
  DWORD style = 0;
  DWORD exStyle = 0;
  UINT classStyle = CS_DBLCLKS;
};

class TWinControl : public TComponent {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;
  const char* ClassName() const override { return "TWinControl"; }

  // Passes a message through the handler chain; its end is WndProc.
  void WindowProc(TMessage& m);
  // Puts `handler` in front of the chain; dropping the token unhooks it (see HandlerChain.h).
  [[nodiscard]] THookToken HookWindowProc(TMessageHandler handler);
  // The class's own handling; what it does not handle goes to DefaultHandler.
  virtual void WndProc(TMessage& m);
  // The window class's default processing (the system class's procedure, or DefWindowProc; for
  // an adopted window, its previous procedure).
  virtual void DefaultHandler(TMessage& m);

  HWND Handle();  // creates the window when needed
  HWND HandleIfCreated() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }
  static TWinControl* FromHandle(HWND h);
  // Destroys the window now (children with it); the object stays and can make a new one.
  void DestroyHandle();

  TWinControl* Parent() const { return parent_; }
  void SetParent(TWinControl* parent);
  const std::vector<TWinControl*>& Controls() const { return children_; }
  // The form this control is on (itself for a form), or null.
  TForm* ParentForm();
  // The same form as a windowed control (for code that needs only its window).
  TWinControl* ParentFormControl();

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetBounds(int left, int top, int width, int height);
  void SetHeight(int h) { SetBounds(left_, top_, width_, h); }
  void SetWidth(int w) { SetBounds(left_, top_, w, height_); }
  RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
  TAlign Align = TAlign::alNone;

  const std::string& Caption() const { return caption_; }
  virtual void SetCaption(const std::string& text);
  // Records a text the window already shows (after the user changed it).
  void SetCaptionSilently(const std::string& text) { caption_ = text; }

  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool t);
  int TabOrder() const;
  void SetTabOrder(int order);

  TFontSpec Font;
  bool ParentFont = true;
  const TFontSpec& EffectiveFont() const;
  void SetFont(const TFontSpec& f);
  TColor Color = clBtnFace;
  bool ParentColor = true;
  TColor EffectiveColor() const;

  int HelpContext = 0;

  void SetFocus();
  bool Focused() const;
  bool CanFocus() const;
  void Invalidate();
  void Update();

  TNotifyEvent OnClick;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // Accelerator character of the caption ("&x"), or 0.
  virtual char AccelChar() const;
  // The control an accelerator of this one moves the focus to (labels name another control).
  virtual TWinControl* AccelTarget() { return this; }
  // Pictures and labels only show something: they take no focus and have no place in the tab order.
  virtual bool IsGraphicControl() const { return false; }
  // Whether this control takes part in dialog-key navigation.
  virtual bool WantsFocusOnTab() const { return tabStop_ && visible_ && enabled_; }

  // Tab order of children, as Tab walks it.
  std::vector<TWinControl*> TabList() const;

 protected:
  void BeforeDestruction() override;
  // A form answers itself; every other control null.
  virtual TForm* AsForm() { return nullptr; }
  // A control on this form took the focus (a form keeps track of its active control).
  virtual void FocusChanged(TWinControl* control) { (void)control; }
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void AfterCreateWnd() {}  // handle exists; apply state that needs it
  virtual void DestroyWnd();
  virtual void Click();
  HFONT FontHandle() const;

  // Called by the parent when a child's notification (WM_COMMAND, WM_DRAWITEM, ...) arrives,
  // with the CN_ message.
  void ReflectToChild(TMessage& m, HWND child, UINT cnMsg);

 private:
  friend LRESULT CALLBACK FrameworkWndProc(HWND, UINT, WPARAM, LPARAM);
  friend class TForeignWindow;
  friend struct TWindowBinder;
  void Bind(HWND h);
  void Unbind();
  void CreateChildHandles();

  THandlerChain<TMessage> chain_{[this](TMessage& m) { WndProc(m); }};
  HWND handle_ = nullptr;
  WNDPROC defProc_ = nullptr;
  TWinControl* parent_ = nullptr;
  std::vector<TWinControl*> children_;  // creation order
  std::vector<TWinControl*> tabOrder_;  // children in tab order
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  std::string caption_;
  bool visible_ = true;
  bool enabled_ = true;
  bool tabStop_ = false;
  mutable UniqueGdi<HFONT> font_;
  UniqueGdi<HBRUSH> brush_;
  TColor brushColor_ = clNone;
  mutable TFontSpec fontFor_;
};

LRESULT CALLBACK FrameworkWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

// A window the framework did not create (a system dialog "#32770", a popup menu "#32768", a
// button of a message box), adopted for as long as this object lives: FromHandle finds it, its
// messages go through the same WindowProc chain (so HookWindowProc works as for any control),
// and its default handling is the window's previous procedure. The object adds no behaviour of
// its own. Destroying the object detaches it (un-maps, un-subclasses) and leaves the window
// alone; when the window is destroyed first, the object unbinds at WM_NCDESTROY and stays
// harmless (HandleAllocated() false, Handle() throws).
class TForeignWindow : public TWinControl {
 public:
  // Throws Exception when `h` is not a window of this thread or already has an object.
  explicit TForeignWindow(HWND h);
  ~TForeignWindow() override;
  const char* ClassName() const override { return "TForeignWindow"; }
  // The window's own class name ("#32770", "Button", ...); empty once the window is gone.
  const std::string& WindowClassName() const { return windowClass_; }
  // Un-maps and un-subclasses now; the window stays as it is.
  void Detach() noexcept;

  void WndProc(TMessage& m) override;
  void DefaultHandler(TMessage& m) override;

 protected:
  void BeforeDestruction() override;
  void CreateWnd() override;

 private:
  struct Link;
  std::shared_ptr<Link> link_;
  TWindowSubclass subclass_;
  std::string windowClass_;
};

// Adopts a foreign window (see TForeignWindow).
std::unique_ptr<TForeignWindow> AdoptWindow(HWND h);

// Registers (once) the window class a control class uses. For a system class, a superclass with
// the control's class name is made so that the framework sees every message from the first on.
WNDPROC RegisterControlClass(const TCreateParams& params);

}  // namespace zelvo
