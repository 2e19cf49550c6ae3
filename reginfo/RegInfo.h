// The mail-in registration form: the buyer's answers, pre-filled with what the system tells us,
// and the print button that puts the fold-and-mail card on the default printer.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/EditCtrls.h"
#include "framework/Layout.h"
#include "framework/StdCtrls.h"
#include "reginfo/CardLayout.h"
#include "reginfo/SystemProbes_core.h"

namespace zelvo {

class TZcDateEdit;
class TZcController;

// The Americas questions as message dialogs ("Question", Yes/No).
class TDialogCardQuestions : public CardQuestions {
 public:
  bool Confirm(const std::string& message) override;
  bool ConfirmDefaultNo(const std::string& message) override;
};

class TRegisterForm : public TTableForm {
 public:
  // args: the command-line arguments without the program path (argument 1 is the product).
  // systemInfo: where the probes read the system (default: the Windows calls).
  TRegisterForm(TComponent* owner, std::vector<std::string> args,
                std::unique_ptr<SystemInfoSource> systemInfo = nullptr);
  const char* ClassName() const override { return "TRegisterForm"; }
  Method MethodAddress(std::string_view name) override;

  static const TFormDef& LayoutTable();

  // Event handlers.
  void FormCreate();
  void CPurchasedChange();
  void BPrintClick();

  // The form's answers as the card prints them.
  CardAnswers Answers() const;

  // The print job's printer and questions; tests replace them. By default the card goes to the
  // default printer and the questions are message dialogs.
  std::function<std::unique_ptr<CardPrinter>()> PrinterFactory;
  std::function<CardQuestions&()> QuestionsSource;

  // Published components.
  TEdit* EProduct = nullptr;
  TEdit* EName = nullptr;
  TEdit* EAddress1 = nullptr;
  TEdit* EAddress2 = nullptr;
  TEdit* ECity = nullptr;
  TEdit* EState = nullptr;
  TEdit* EPostalCode = nullptr;
  TEdit* ECountry = nullptr;
  TEdit* EAge = nullptr;
  TRadioGroup* RSex = nullptr;
  TEdit* EPhone = nullptr;
  TEdit* EEMail = nullptr;
  TComboBox* CPurchased = nullptr;
  TLabel* LEStoreType = nullptr;
  TEdit* EStoreType = nullptr;
  TZcDateEdit* EDate = nullptr;
  TEdit* EComputerType = nullptr;
  TEdit* EOS = nullptr;
  TEdit* ERAM = nullptr;
  TMemo* MComments = nullptr;
  TBitBtn* BPrint = nullptr;
  TBitBtn* BDontRegister = nullptr;
  TZcController* ZcController = nullptr;

 protected:
  TWinControl* CreateCustomControl(const TControlDef& def) override;

 private:
  template <class T>
  T* Component(const char* name);

  std::vector<std::string> args_;
  std::unique_ptr<SystemInfoSource> systemInfo_;
  TDialogCardQuestions dialogQuestions_;
};

}  // namespace zelvo
