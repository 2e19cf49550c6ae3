// Forms (top-level windows) and the application object: its hidden owner window, the message
// loop, nested modal loops and the dispatch of exceptions that escape event handlers.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/ApplicationService.h"
#include "framework/CallbackGuard.h"
#include "framework/Controls.h"

namespace zelvo {

enum class TFormStyle : uint8_t { fsNormal, fsStayOnTop };
enum class TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };

using TKeyEvent = std::function<void(class TForm& sender, WORD& key, bool shift, bool ctrl, bool alt)>;
using TCloseQueryEvent = std::function<void(class TForm& sender, bool& canClose)>;
using TCloseEvent = std::function<void(class TForm& sender, TCloseAction& action)>;

// Controls that act as push buttons for Enter/Escape handling.
class TButtonControl;
class TMainMenu;

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;
  const char* ClassName() const override { return "TForm"; }

  TFormBorderStyle BorderStyle = TFormBorderStyle::bsSizeable;
  uint8_t BorderIcons = biSystemMenu | biMinimize | biMaximize;
  TPosition Position = TPosition::poDesigned;
  TFormStyle FormStyle = TFormStyle::fsNormal;
  bool AutoScroll = false;
  bool KeyPreview = false;
  // The window's icons. Icon is not owned: a shared resource icon (LR_SHARED) that is never
  // destroyed. SmallIcon, at the small-icon size, is owned; when empty the caption shows Icon.
  HICON Icon = nullptr;
  UniqueIcon SmallIcon;
  // The menu bar (not owned; usually a component of the form). A skin may take the bar off the
  // window for a while (TTakenMenu).
  TMainMenu* Menu = nullptr;

  void SetClientSize(int width, int height);
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  RECT ClientRectOnScreen();

  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* c);
  // Moves the focus to the next (or previous) control in tab order.
  void SelectNext(TWinControl* from, bool forward);

  int32_t ModalResult = 0;
  bool IsModal() const { return modal_; }
  int32_t ShowModal();
  void Show();
  void Hide();
  void Close();
  bool CloseQuery();

  // Events.
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TCloseQueryEvent OnCloseQuery;
  TCloseEvent OnClose;
  TKeyEvent OnKeyDown;

  // Dialog keys (Tab, Enter, Escape, accelerators) for a key message aimed at this form.
  bool HandleDialogKey(const MSG& msg);
  void FocusChanged(TWinControl* control) override;

  // Runs the creation step (OnCreate) under the application's exception dispatch.
  void DoCreate();

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& m) override;
  void AfterCreateWnd() override;
  TForm* AsForm() override { return this; }
  void PlaceOnScreen();

 private:
  // The first button in tab order with `role` (Default or Cancel) that can take the focus.
  TButtonControl* FindButton(bool TButtonControl::*role) const;
  TWinControl* FindAccelerator(char ch) const;
  int clientWidth_ = 0, clientHeight_ = 0;
  TWinControl* activeControl_ = nullptr;
  bool modal_ = false;
  bool placed_ = false;
};

// Base of push-button-like controls: Default/Cancel/ModalResult and a programmatic Click.
class TButtonControl : public TWinControl {
 public:
  using TWinControl::TWinControl;
  bool Default = false;
  bool Cancel = false;
  int32_t ModalResult = 0;
  void Click() override;
  // Shows or hides the "default button" look (a thicker frame).
  virtual void SetActiveDefault(bool active) { activeDefault_ = active; }
  bool ActiveDefault() const { return activeDefault_; }

 protected:
  bool activeDefault_ = false;
};

using TExceptionEvent = std::function<void(const std::exception& e)>;

class TApplication : public IApplicationHost {
 public:
  TApplication();
  ~TApplication() override;
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  void Initialize();
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  HWND Handle() const override { return handle_; }  // the hidden top-level owner window, class "TApplication"
  HICON Icon = nullptr;

  // Creates a form owned by the application; the first one becomes the main form. Its
  // creation step runs under the exception dispatch. (Every form, however made, is listed by
  // Forms() from its construction to its destruction.)
  template <class T, class... Args>
  T* CreateForm(Args&&... args) {
    auto form = std::make_unique<T>(nullptr, std::forward<Args>(args)...);
    T* raw = form.get();
    forms_.push_back(std::move(form));
    if (!mainForm_) mainForm_ = raw;
    raw->DoCreate();
    return raw;
  }
  TForm* MainForm() const { return mainForm_; }
  // Every live form (framework forms and message dialogs alike) in creation order.
  // A copy: walking it may create or free forms.
  std::vector<TForm*> Forms() const { return registry_; }
  // Frees a form created by CreateForm (its window is destroyed first, the form whole).
  void DestroyForm(TForm* form);

  // Services the application owns (the skin manager): shut down and freed newest first, before
  // any form is destroyed.
  template <class T>
  T& AddService(std::unique_ptr<T> service) {
    T& ref = *service;
    services_.push_back(std::move(service));
    return ref;
  }
  // The newest service of type T, or nullptr.
  template <class T>
  T* FindService() const {
    for (auto it = services_.rbegin(); it != services_.rend(); ++it) {
      if (auto* s = dynamic_cast<T*>(it->get())) return s;
    }
    return nullptr;
  }
  // Shuts one service down and frees it now.
  void RemoveService(TApplicationService& service);
  // Shuts every service down and frees them, newest first (the destructor does it too).
  void ShutdownServices();

  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Waits for and handles one message (or returns when the loop should end).
  void HandleMessage();
  void ProcessMessages();
  bool ProcessMessage(MSG& msg);

  TExceptionEvent OnException;
  void HandleException(const std::exception& e) override;
  void ShowException(const std::exception& e);

  int ModalLevel() const { return modalLevel_; }
  // Shows the help topic for a context (the program's help file beside it).
  void HelpContext(int context);

 private:
  friend class TForm;
  bool IsKeyMsg(MSG& msg);
  void RegisterForm(TForm* form);
  void UnregisterForm(TForm* form);
  HWND handle_ = nullptr;
  std::string title_;
  std::vector<std::unique_ptr<TApplicationService>> services_;
  std::vector<std::unique_ptr<TForm>> forms_;  // owned by the application (CreateForm)
  std::vector<TForm*> registry_;               // every live form, creation order
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
  int modalLevel_ = 0;
};

extern TApplication* Application;

}  // namespace zelvo
