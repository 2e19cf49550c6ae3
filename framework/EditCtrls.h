// Text-entry controls: one-line and multi-line edits, the combo box, check box and radio group.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Forms.h"

namespace zelvo {

enum class TEditCharCase : uint8_t { ecNormal, ecUpperCase, ecLowerCase };
enum class TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

// Base of every edit (the system edit class). "Is an edit" questions are answered by this class.
class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(TComponent* owner);
  const char* ClassName() const override { return "TCustomEdit"; }

  // The text as the window holds it now (the caption is kept in step with it).
  std::string Text() const;
  void SetText(const std::string& text);
  TEditCharCase CharCase = TEditCharCase::ecNormal;
  int MaxLength = 0;  // 0: no limit
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool r);
  bool AutoSelect = true;
  bool Modified() const;
  void SetModified(bool m);
  void SelectAll();
  int SelStart() const;
  int SelLength() const;
  void SetSel(int start, int length);

  TNotifyEvent OnChange;
  std::function<void(TCustomEdit& sender, char& key)> OnKeyPress;
  // An edit's caption is what the user typed: an "&" in it is no accelerator.
  char AccelChar() const override { return 0; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void AfterCreateWnd() override;
  void WndProc(TMessage& m) override;
  virtual void Change();
  // A typed character before the system edit types it: fires OnKeyPress. An override calls this
  // first and acts on what is left; a key set to 0 is swallowed.
  virtual void KeyPress(char& key);

 private:
  bool readOnly_ = false;
  bool settingText_ = false;
};

class TEdit : public TCustomEdit {
 public:
  using TCustomEdit::TCustomEdit;
  const char* ClassName() const override { return "TEdit"; }
};

// A multi-line edit; Enter starts a new line when WantReturns is on.
class TMemo : public TCustomEdit {
 public:
  explicit TMemo(TComponent* owner);
  const char* ClassName() const override { return "TMemo"; }
  bool WantReturns = true;
  bool WantTabs = false;
  bool WordWrap = true;
  TScrollStyle ScrollBars = TScrollStyle::ssNone;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& m) override;
};

enum class TComboBoxStyle : uint8_t { csDropDown, csSimple, csDropDownList };

class TComboBox : public TWinControl {
 public:
  explicit TComboBox(TComponent* owner);
  const char* ClassName() const override { return "TComboBox"; }
  TComboBoxStyle Style = TComboBoxStyle::csDropDown;
  int ItemHeight = 13;
  int DropDownCount = 8;
  bool Sorted = false;
  std::vector<std::string> Items;
  void SetItems(std::vector<std::string> items);
  std::string Text() const;
  void SetText(const std::string& text);
  int ItemIndex() const;
  void SetItemIndex(int index);
  bool DroppedDown() const;
  TNotifyEvent OnChange;
  char AccelChar() const override { return 0; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void AfterCreateWnd() override;
  void WndProc(TMessage& m) override;
};

// A check box or radio button (system button class).
class TCheckBox : public TWinControl {
 public:
  explicit TCheckBox(TComponent* owner);
  const char* ClassName() const override { return "TCheckBox"; }
  bool Checked() const;
  void SetChecked(bool c);
  TPropInfo GetPropInfo(std::string_view name) const override;
  bool GetOrdProp(std::string_view name, int32_t& value) const override;
  bool SetOrdProp(std::string_view name, int32_t value) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void AfterCreateWnd() override;
  void WndProc(TMessage& m) override;
  bool checked_ = false;
};

class TRadioButton : public TCheckBox {
 public:
  using TCheckBox::TCheckBox;
  const char* ClassName() const override { return "TRadioButton"; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& m) override;
};

// A framed group of radio buttons laid out in columns; ItemIndex is the selected one (-1 none).
class TRadioGroup : public TWinControl {
 public:
  explicit TRadioGroup(TComponent* owner);
  const char* ClassName() const override { return "TRadioGroup"; }
  int Columns = 1;
  void SetItems(const std::vector<std::string>& items);
  const std::vector<std::string>& Items() const { return items_; }
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  TRadioButton* Button(int index) const;
  bool WantsFocusOnTab() const override { return false; }  // its selected button takes the focus
  TWinControl* AccelTarget() override { return Button(itemIndex_ >= 0 ? itemIndex_ : 0); }
  // Lays the buttons out inside the frame.
  void ArrangeButtons();

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& m) override;

 private:
  std::vector<std::string> items_;
  std::vector<TRadioButton*> buttons_;
  int itemIndex_ = -1;
};

}  // namespace zelvo
