#include "util/WinUtil.h"

#include <algorithm>
#include <array>

#include "framework/Resources.h"
#include "resources/resource_ids.h"
#include "util/ErrorText.h"
#include "util/Exceptions.h"
#include "util/Util.h"

namespace zelvo {

// ---------------------------------------------------------------------------------------------
// The standard dialog

namespace {
// A button caption's one-line width, measured once and remembered for the rest of the run.
std::array<int, kMsgDlgBtnCount> g_captionWidths{};

LPCSTR IconFor(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning: return IDI_EXCLAMATION;
    case TMsgDlgType::mtError: return IDI_HAND;
    case TMsgDlgType::mtInformation: return IDI_ASTERISK;
    case TMsgDlgType::mtConfirmation: return IDI_QUESTION;
    default: return nullptr;
  }
}
}  // namespace

TMessageForm::TMessageForm(TComponent* owner) : TForm(owner) {
  KeyPreview = true;
  OnKeyDown = [this](TForm&, WORD& key, bool shift, bool ctrl, bool alt) {
    if (ctrl && !shift && !alt && key == 'C') {
      MessageBeep(0);
      std::string text = ClipboardText();
      if (OpenClipboard(HandleIfCreated())) {
        EmptyClipboard();
        if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
          if (void* p = GlobalLock(mem)) {
            std::copy(text.c_str(), text.c_str() + text.size() + 1, static_cast<char*>(p));
            GlobalUnlock(mem);
            if (!SetClipboardData(CF_TEXT, mem)) GlobalFree(mem);
          } else {
            GlobalFree(mem);
          }
        }
        CloseClipboard();
      }
      key = 0;
    }
  };
}

TMessageForm::~TMessageForm() = default;

std::string TMessageForm::ClipboardText() {
  std::string message;
  if (auto* label = Find<TLabel>("Message")) message = label->Caption();
  std::vector<std::string> captions;
  for (TComponent* c : Components()) {
    if (auto* b = dynamic_cast<TButtonControl*>(c)) captions.push_back(b->Caption());
  }
  return MsgDialogClipboardText(Caption(), message, captions);
}

std::unique_ptr<TMessageForm> CreateMessageDialog(const std::string& message, TMsgDlgType type,
                                                  TMsgDlgButtons buttons) {
  auto dlg = std::make_unique<TMessageForm>(nullptr);
  dlg->BorderStyle = TFormBorderStyle::bsDialog;
  dlg->BorderIcons = biSystemMenu;
  dlg->Font = MessageFontSpec();
  dlg->SetCaption(TypeInfo(type).caption);
  dlg->Name = "MessageForm";

  // Measure with the dialog's font.
  ScopedGetDC screen(nullptr);
  GdiObject<HFONT> font(CreateFontFromSpec(dlg->Font));
  ScopedSelect sel(screen.Get(), font.Get());
  SIZE sample{};
  GetTextExtentPoint32A(screen.Get(), kDialogUnitSample.data(), static_cast<int>(kDialogUnitSample.size()), &sample);

  MsgDialogInput in;
  in.dux = DialogUnitX(sample.cx);
  in.duy = sample.cy;
  RECT textRect{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
  DrawTextA(screen.Get(), message.c_str(), static_cast<int>(message.size()), &textRect,
            DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  in.textWidth = textRect.right - textRect.left;
  in.textHeight = textRect.bottom - textRect.top;
  in.hasIcon = TypeInfo(type).hasIcon;
  std::vector<int> rowButtons;
  for (int b = 0; b < kMsgDlgBtnCount; ++b) {
    if (!(buttons & (1u << b))) continue;
    rowButtons.push_back(b);
    if (g_captionWidths[static_cast<size_t>(b)] == 0) {
      const char* cap = ButtonInfo(static_cast<TMsgDlgBtn>(b)).caption;
      RECT r{0, 0, 0, 0};
      DrawTextA(screen.Get(), cap, -1, &r, DT_CALCRECT | DT_LEFT | DT_SINGLELINE);
      g_captionWidths[static_cast<size_t>(b)] = r.right - r.left;
    }
    in.buttonCaptionWidths.push_back(g_captionWidths[static_cast<size_t>(b)]);
  }
  dlg->layout_ = ComputeMsgDialogLayout(in);
  const MsgDialogLayout& l = dlg->layout_;
  dlg->SetClientSize(l.clientWidth, l.clientHeight);

  if (LPCSTR icon = IconFor(type)) {
    auto* image = dlg->Create<TImage>();
    image->Name = "Image";
    image->SetParent(dlg.get());
    image->SetIcon(LoadIconA(nullptr, icon));
    image->SetBounds(l.icon.left, l.icon.top, l.icon.width, l.icon.height);
  }
  auto* label = dlg->Create<TLabel>();
  label->Name = "Message";
  label->SetParent(dlg.get());
  label->WordWrap = true;
  label->SetCaption(message);
  label->SetBounds(l.message.left, l.message.top, l.message.width, l.message.height);

  int defaultButton = DefaultButtonOf(buttons);
  int cancelButton = CancelButtonOf(buttons);
  for (size_t i = 0; i < rowButtons.size(); ++i) {
    int b = rowButtons[i];
    const MsgDlgButtonInfo& info = ButtonInfo(static_cast<TMsgDlgBtn>(b));
    auto* button = dlg->Create<TButton>();
    button->Name = info.name;
    button->SetParent(dlg.get());
    button->SetCaption(info.caption);
    button->ModalResult = info.modalResult;
    button->Default = b == defaultButton;
    button->Cancel = b == cancelButton;
    button->SetActiveDefault(button->Default);
    const LayoutRect& r = l.buttons[i];
    button->SetBounds(r.left, r.top, r.width, r.height);
    if (static_cast<TMsgDlgBtn>(b) == TMsgDlgBtn::mbHelp) {
      TMessageForm* owner = dlg.get();
      button->OnClick = [owner](TComponent&) {
        if (Application) Application->HelpContext(owner->HelpContext);
      };
    }
  }
  return dlg;
}

// ---------------------------------------------------------------------------------------------
// Non-modal display

namespace {
std::vector<TModelessForm*> g_stack;

void RemoveFromStack(TModelessForm* rec) {
  if (rec->removed) return;
  auto it = std::find(g_stack.rbegin(), g_stack.rend(), rec);
  if (it != g_stack.rend()) {
    size_t index = static_cast<size_t>(std::distance(it, g_stack.rend())) - 1;
    bool newest = index + 1 == g_stack.size();
    if (newest && index > 0) {
      TForm* below = g_stack[index - 1]->dialog;
      if (HWND h = below->HandleIfCreated()) {
        EnableWindow(h, TRUE);
        if (IsWindowEnabled(h) && IsWindowVisible(h)) SetFocus(h);
      }
    }
    g_stack.erase(g_stack.begin() + static_cast<std::ptrdiff_t>(index));
    if (!g_stack.empty()) {
      if (HWND h = g_stack.back()->dialog->HandleIfCreated(); h && IsWindowVisible(h) && IsWindowEnabled(h)) {
        SetFocus(h);
      }
    }
  }
  rec->removed = true;
}

void GiveButtonsCloseHandlers(TForm* dialog, TWinControl* container) {
  for (TWinControl* c : container->Controls()) {
    if (auto* b = dynamic_cast<TBitBtn*>(c); b && !b->OnClick) {
      b->OnClick = [dialog, b](TComponent&) {
        dialog->ModalResult = b->ModalResult;
        dialog->Close();
      };
    }
    GiveButtonsCloseHandlers(dialog, c);
  }
}
}  // namespace

const std::vector<TModelessForm*>& ModelessStack() { return g_stack; }

int32_t ShowNonModal(TForm* dialog) {
  if (!dialog) return -1;
  if (Application) Application->ProcessMessages();
  TModelessForm rec;
  rec.dialog = dialog;
  rec.result = -1;
  dialog->FormStyle = TFormStyle::fsStayOnTop;
  if (HWND h = dialog->HandleIfCreated()) SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (!g_stack.empty()) {
    if (HWND h = g_stack.back()->dialog->HandleIfCreated()) EnableWindow(h, FALSE);
  }
  g_stack.push_back(&rec);

  GiveButtonsCloseHandlers(dialog, dialog);
  rec.savedOnClose = dialog->OnClose;
  rec.savedOnDestroy = dialog->OnDestroy;
  dialog->OnClose = [&rec, dialog](TForm& f, TCloseAction& action) {
    if (rec.destroyed) return;
    rec.closed = true;
    RemoveFromStack(&rec);
    rec.result = dialog->ModalResult;
    dialog->OnClose = rec.savedOnClose;
    if (rec.savedOnClose) rec.savedOnClose(f, action);
  };
  dialog->OnDestroy = [&rec, dialog](TComponent& f) {
    RemoveFromStack(&rec);
    rec.destroyed = true;
    dialog->OnDestroy = rec.savedOnDestroy;
    if (rec.savedOnDestroy) rec.savedOnDestroy(f);
  };

  dialog->Show();
  while (Application && !Application->Terminated() && !rec.closed && !rec.destroyed) {
    Application->HandleMessage();
  }
  if (Application) Application->ProcessMessages();
  if (!rec.destroyed) {
    dialog->OnClose = rec.savedOnClose;
    dialog->OnDestroy = rec.savedOnDestroy;
  }
  RemoveFromStack(&rec);  // terminating: the record must not outlive this call on the stack
  return rec.result;
}

// ---------------------------------------------------------------------------------------------
// ShowMsgDialog and its wrappers

int32_t ShowMsgDialog(const std::string& message, const std::string& title, TMsgDlgType type,
                      TMsgDlgButtons buttons, int32_t helpContext, uint16_t fallbackStyle,
                      bool focusDefault, TMsgDlgBtn defaultButton, bool modal,
                      const std::string& caption1, const std::string& caption2,
                      const std::string& caption3) {
  int32_t result = 0;
  try {
    if (helpContext != 0) buttons |= ButtonBit(TMsgDlgBtn::mbHelp);
    std::unique_ptr<TMessageForm> dlg = CreateMessageDialog(DoubleAmpersands(message), type, buttons);
    bool customCaptions = !caption1.empty() || !caption2.empty() || !caption3.empty();

    dlg->Position = TPosition::poScreenCenter;
    dlg->FormStyle = TFormStyle::fsStayOnTop;
    dlg->SetCaption(title);
    dlg->BorderIcons = 0;

    // Replace every push button by an image button, walking the children from last to first.
    std::vector<TWinControl*> children = dlg->Controls();
    for (size_t i = children.size(); i-- > 0;) {
      auto* p = dynamic_cast<TButton*>(children[i]);
      if (!p || dynamic_cast<TBitBtn*>(p)) continue;
      auto* b = dlg->Create<TBitBtn>();
      std::string name = p->Name;
      b->SetParent(p->Parent());
      b->SetBounds(p->Left(), p->Top(), p->Width(), p->Height());
      b->SetHeight(MaxOf({25, b->Height()}));
      TBitBtnKind kind = KindForModalResult(p->ModalResult);
      if (p->ModalResult == mrNo || p->ModalResult == mrNoToAll) p->Cancel = false;
      if (kind != TBitBtnKind::bkCustom) b->SetKind(kind);
      if (p->ModalResult == mrNoToAll || p->ModalResult == mrYesToAll) b->SetWidth(b->Width() + 4);
      b->SetCaption(p->Caption());
      b->ModalResult = p->ModalResult;
      b->Default = p->Default;
      b->Cancel = p->Cancel;
      b->SetActiveDefault(b->Default);
      b->SetTabOrder(p->TabOrder());
      b->OnClick = p->OnClick;
      dlg->DestroyComponent(p);
      b->Name = name;
    }

    if (focusDefault || customCaptions) {
      const std::string* captions[3] = {&caption1, &caption2, &caption3};
      int met = 0;
      for (TWinControl* c : dlg->Controls()) {
        auto* b = dynamic_cast<TBitBtn*>(c);
        if (!b) continue;
        if (focusDefault && b->ModalResult == ModalResultOfButton(static_cast<int>(defaultButton))) {
          dlg->SetActiveControl(b);
          if (!customCaptions) break;
        }
        if (customCaptions) {
          if (met < 3 && !captions[met]->empty()) b->SetCaption(*captions[met]);
          ++met;
        }
      }
    }

    if (!modal) {
      for (TWinControl* c : dlg->Controls()) {
        if (auto* b = dynamic_cast<TButtonControl*>(c)) b->SetCaption(RemoveChars(b->Caption(), "&"));
      }
    }
    dlg->HelpContext = helpContext;

    if (modal) {
      result = dlg->ShowModal();
    } else {
      result = ShowNonModal(dlg.get());
    }
    // The object is freed either way; a window already destroyed is not destroyed again.
    dlg.reset();
  } catch (...) {
    std::string text = message.substr(0, 255), caption = title.substr(0, 255);
    result = MessageBoxA(nullptr, text.c_str(), caption.c_str(),
                         static_cast<UINT>(fallbackStyle) | MB_ICONSTOP | MB_SYSTEMMODAL);
  }
  return result;
}

int32_t ShowErrorTitled(const std::string& title, const std::string& message, int32_t helpContext, bool modal) {
  return ShowMsgDialog(message, title, TMsgDlgType::mtError, ButtonBit(TMsgDlgBtn::mbOK), helpContext,
                       MB_OK, false, TMsgDlgBtn::mbYes, modal);
}

void ShowError(const std::string& message, int32_t helpContext, bool modal) {
  ShowErrorTitled(LoadStr(IDS_ERROR), message, helpContext, modal);
}

bool ConfirmDefaultNoTitled(const std::string& title, const std::string& message, int32_t helpContext, bool modal) {
  return ShowMsgDialog(message, title, TMsgDlgType::mtConfirmation,
                       ButtonBit(TMsgDlgBtn::mbYes) | ButtonBit(TMsgDlgBtn::mbNo), helpContext, MB_YESNO,
                       true, TMsgDlgBtn::mbNo, modal) == mrYes;
}

bool ConfirmDefaultNo(const std::string& message, int32_t helpContext, bool modal) {
  return ConfirmDefaultNoTitled(LoadStr(IDS_QUESTION), message, helpContext, modal);
}

bool ConfirmTitled(const std::string& title, const std::string& message, int32_t helpContext, bool modal) {
  return ShowMsgDialog(message, title, TMsgDlgType::mtConfirmation,
                       ButtonBit(TMsgDlgBtn::mbYes) | ButtonBit(TMsgDlgBtn::mbNo), helpContext, MB_YESNO,
                       false, TMsgDlgBtn::mbYes, modal) == mrYes;
}

bool Confirm(const std::string& message, int32_t helpContext, bool modal) {
  return ConfirmTitled(LoadStr(IDS_QUESTION), message, helpContext, modal);
}

// ---------------------------------------------------------------------------------------------
// Error reporter

TExceptionHandler::TExceptionHandler(TApplication& app) : app_(app), previous_(app.OnException) {
  app_.OnException = [this](const std::exception& e) { Handle(e); };
}

TExceptionHandler::~TExceptionHandler() { app_.OnException = previous_; }

std::string TExceptionHandler::TextFor(const std::exception& e) {
  TErrorClass kind = TErrorClass::General;
  uint32_t address = 0;
  if (auto* ie = dynamic_cast<const EIntError*>(&e)) {
    address = ie->Address();
    if (dynamic_cast<const ERangeError*>(&e)) kind = TErrorClass::RangeError;
    else if (dynamic_cast<const EIntOverflow*>(&e)) kind = TErrorClass::IntOverflow;
    else kind = TErrorClass::DivByZero;
  }
  std::string format = kind == TErrorClass::General || kind == TErrorClass::DivByZero
                           ? std::string()
                           : LoadStr(IDS_ERROR_AT_ADDRESS);
  return ErrorReportText(e.what(), kind, address, format);
}

void TExceptionHandler::Handle(const std::exception& e) { ShowError(TextFor(e), 0, true); }

namespace {
std::unique_ptr<TExceptionHandler> g_reporter;
}

void StartUtilities(TApplication& app) {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  ProgramDir = TrimBackslash(ExtractFilePath(std::string(path, n)));
  if (!SetCurrentDirectoryA(ProgramDir.c_str())) {
    throw Exception("I/O error " + std::to_string(GetLastError()));
  }
  g_reporter = std::make_unique<TExceptionHandler>(app);
}

void StopUtilities() { g_reporter.reset(); }

}  // namespace zelvo
