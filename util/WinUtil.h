// Message dialogs and the application-wide error reporter.
#pragma once

#include <windows.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "util/MsgDialogLayout.h"

namespace zelvo {

// The standard message dialog: icon "Image", word-wrapped text "Message" and a row of buttons.
class TMessageForm : public TForm {
 public:
  explicit TMessageForm(TComponent* owner);
  ~TMessageForm() override;
  const char* ClassName() const override { return "TMessageForm"; }
  // The layout the dialog was built with (for checks and for the replacement step).
  const MsgDialogLayout& Layout() const { return layout_; }
  // The text Ctrl+C copies.
  std::string ClipboardText();

 private:
  friend std::unique_ptr<TMessageForm> CreateMessageDialog(const std::string&, TMsgDlgType, TMsgDlgButtons);
  MsgDialogLayout layout_;
};

// Builds the standard dialog (not shown) for a message, a type and a set of buttons.
std::unique_ptr<TMessageForm> CreateMessageDialog(const std::string& message, TMsgDlgType type,
                                                  TMsgDlgButtons buttons);

int32_t ShowMsgDialog(const std::string& message, const std::string& title, TMsgDlgType type,
                      TMsgDlgButtons buttons, int32_t helpContext, uint16_t fallbackStyle,
                      bool focusDefault, TMsgDlgBtn defaultButton, bool modal,
                      const std::string& caption1 = {}, const std::string& caption2 = {},
                      const std::string& caption3 = {});

int32_t ShowErrorTitled(const std::string& title, const std::string& message, int32_t helpContext, bool modal);
void ShowError(const std::string& message, int32_t helpContext, bool modal);
bool ConfirmDefaultNoTitled(const std::string& title, const std::string& message, int32_t helpContext, bool modal);
bool ConfirmDefaultNo(const std::string& message, int32_t helpContext, bool modal);
bool ConfirmTitled(const std::string& title, const std::string& message, int32_t helpContext, bool modal);
bool Confirm(const std::string& message, int32_t helpContext, bool modal);

// Bookkeeping of one non-modal dialog while it is shown.
struct TModelessForm {
  TForm* dialog = nullptr;
  int32_t result = -1;
  bool closed = false;
  bool destroyed = false;
  bool removed = false;
  TCloseEvent savedOnClose;
  TNotifyEvent savedOnDestroy;
};
// Shows a dialog non-modally and waits until it closes; -1 when it was destroyed first.
int32_t ShowNonModal(TForm* dialog);
// The open non-modal dialogs, newest last (for checks).
const std::vector<TModelessForm*>& ModelessStack();

// Shows every exception that reaches the application's top level through ShowError.
class TExceptionHandler {
 public:
  explicit TExceptionHandler(TApplication& app);
  ~TExceptionHandler();
  TExceptionHandler(const TExceptionHandler&) = delete;
  TExceptionHandler& operator=(const TExceptionHandler&) = delete;
  void Handle(const std::exception& e);
  static std::string TextFor(const std::exception& e);

 private:
  TApplication& app_;
  TExceptionEvent previous_;
};

// Utility-library start-up: records the program directory, makes it the current directory and
// installs the error reporter. Throws when the current directory cannot be changed.
// The program file's full path, however long.
std::string ProgramPath();

void StartUtilities(TApplication& app);
void StopUtilities();

}  // namespace zelvo
