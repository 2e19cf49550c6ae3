// A form built from a small layout table on a real window: the controls with their bounds, tab
// order, default and cancel buttons and bound handlers; tables that name what the form lacks;
// and the dialog keys on that form, as the sequence of what each control receives.
#include <gtest/gtest.h>

#include <string>

#include "../Win32TestSupport.h"
#include "MessageSequence.h"
#include "framework/EditCtrls.h"
#include "framework/Layout.h"
#include "framework/StdCtrls.h"
#include "util/Exceptions.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {
constexpr UINT EV_CLICK = 0x7F000010;
constexpr UINT EV_CHANGE = 0x7F000011;
constexpr int kLabelRight = 90;

constexpr TControlDef kControls[] = {
    {.kind = TControlKind::Label, .name = "LName", .left = 10, .top = 13, .width = kLabelRight - 10, .height = 13,
     .caption = "&Name:", .tabOrder = -1, .flags = lfAutoSize | lfAlignRight, .onClick = nullptr,
     .resource = nullptr, .modalResult = 0, .focusControl = "EName"},
    {.kind = TControlKind::Edit, .name = "EFirst", .left = 100, .top = 40, .width = 120, .height = 21, .caption = "",
     .tabOrder = -1, .flags = 0, .onClick = nullptr, .resource = nullptr, .modalResult = 0, .onChange = "Changed"},
    // Made after the edit above, first in tab order.
    {.kind = TControlKind::Edit, .name = "EName", .left = 100, .top = 10, .width = 120, .height = 21, .caption = "",
     .tabOrder = 0, .flags = 0, .onClick = nullptr, .resource = nullptr, .modalResult = 0},
    {.kind = TControlKind::Button, .name = "BOk", .left = 20, .top = 80, .width = 75, .height = 25, .caption = "OK",
     .tabOrder = -1, .flags = lfDefault, .onClick = "Clicked", .resource = nullptr, .modalResult = mrOk},
    {.kind = TControlKind::Button, .name = "BCancel", .left = 110, .top = 80, .width = 75, .height = 25,
     .caption = "Cancel", .tabOrder = -1, .flags = lfCancel, .onClick = "Clicked", .resource = nullptr,
     .modalResult = mrCancel},
};

TFormDef Table(std::span<const TControlDef> controls) {
  return TFormDef{"TableForm", "Table", 240, 120, TFormBorderStyle::bsDialog, biSystemMenu, TPosition::poDesigned,
                  clBtnFace, "MS Sans Serif", -11, clWindowText, nullptr, nullptr, nullptr, controls};
}

// Logs its handlers' calls as events of the control's window number.
class TLoggingForm : public TTableForm {
 public:
  explicit TLoggingForm(TMessageLog& log) : TTableForm(nullptr), log_(log) {}
  void Build(const TFormDef& def) { BuildFromTable(def); }
  Method MethodAddress(std::string_view name) override {
    if (name == "Clicked") return [this](TComponent& c) { log_.Add(Id(c), EV_CLICK, seqEvent); };
    if (name == "Changed") return [this](TComponent& c) { log_.Add(Id(c), EV_CHANGE, seqEvent); };
    return {};
  }
  static int Id(const TComponent& c) {
    const char* names[] = {"EName", "EFirst", "BOk", "BCancel"};
    for (int i = 0; i < 4; ++i) {
      if (c.Name == names[i]) return i + 1;
    }
    return 0;
  }

 private:
  TMessageLog& log_;
};

std::string BuildFault(std::span<const TControlDef> controls, size_t* componentsLeft) {
  TMessageLog log;
  TLoggingForm form(log);
  try {
    form.Build(Table(controls));
  } catch (const Exception& e) {
    *componentsLeft = form.Components().size();
    return e.what();
  }
  return "";
}

// Presses a key with Ctrl held, as the thread's key state tells it.
void PressWithCtrl(WORD vk) {
  BYTE state[256];
  GetKeyboardState(state);
  const BYTE saved = state[VK_CONTROL];
  state[VK_CONTROL] = 0x80;
  SetKeyboardState(state);
  PressKey(vk);
  Pump(50);
  state[VK_CONTROL] = saved;
  SetKeyboardState(state);
}
}  // namespace

TEST(TableForm, ControlsComeWithBoundsTabOrderButtonsAndHandlers) {
  TMessageLog log;
  TLoggingForm form(log);
  form.Build(Table(kControls));
  auto* label = form.Find<TLabel>("LName");
  auto* name = form.Find<TEdit>("EName");
  auto* first = form.Find<TEdit>("EFirst");
  auto* ok = form.Find<TButton>("BOk");
  auto* cancel = form.Find<TButton>("BCancel");
  ASSERT_TRUE(label && name && first && ok && cancel);

  EXPECT_EQ((std::vector<int>{name->Left(), name->Top(), name->Width(), name->Height()}),
            (std::vector<int>{100, 10, 120, 21}));
  EXPECT_EQ(label->Left() + label->Width(), kLabelRight) << "right-aligned: the right edge stays";
  EXPECT_GT(label->Width(), 0);
  EXPECT_LT(label->Width(), kLabelRight - 10) << "as wide as its text";
  EXPECT_EQ(label->FocusControl, name);

  EXPECT_EQ(form.TabList(), (std::vector<TWinControl*>{name, first, ok, cancel}));
  EXPECT_TRUE(ok->Default && !ok->Cancel && ok->ActiveDefault());
  EXPECT_TRUE(cancel->Cancel && !cancel->Default);
  EXPECT_EQ(ok->ModalResult, mrOk);
  EXPECT_EQ(form.BoundHandler("BCancel"), "Clicked");
  EXPECT_EQ(form.BoundHandler("EFirst"), "Changed");
  EXPECT_EQ(form.BoundHandler("EName"), "");

  form.Handle();
  first->SetText("x");
  EXPECT_EQ(CompareSequence(log, {{2, EV_CHANGE, seqEvent}}), "");
}

TEST(TableForm, TablesNamingWhatTheFormLacksThrow) {
  size_t left = 99;
  TControlDef badClick = kControls[3];
  badClick.onClick = "Missing";
  const TControlDef clicks[] = {kControls[1], badClick};
  EXPECT_EQ(BuildFault(clicks, &left), "Form TableForm has no handler Missing");
  EXPECT_EQ(left, 0u) << "nothing was made";

  TControlDef buttonChange = kControls[3];
  buttonChange.onChange = "Changed";
  const TControlDef changes[] = {kControls[1], buttonChange};
  EXPECT_EQ(BuildFault(changes, &left), "Control BOk has no change event");
  EXPECT_EQ(left, 0u);

  TControlDef label = kControls[0];
  label.focusControl = "ENowhere";
  const TControlDef labels[] = {label, kControls[2]};
  EXPECT_EQ(BuildFault(labels, &left), "Label LName names the missing control ENowhere");
}

TEST(TableForm, DialogKeysReachTheFormOrTheControlAsTheyShould) {
  TMessageLog log({WM_KEYDOWN, WM_CHAR, WM_SETFOCUS, EV_CLICK});
  TLoggingForm form(log);
  form.Build(Table(kControls));
  auto* name = form.Find<TEdit>("EName");
  auto* cancel = form.Find<TButton>("BCancel");
  form.Show();
  Pump(100);
  name->SetFocus();
  Pump(30);
  THookToken w1 = log.Watch(*name, 1);
  THookToken w2 = log.Watch(*form.Find<TEdit>("EFirst"), 2);
  THookToken w3 = log.Watch(*form.Find<TButton>("BOk"), 3);
  THookToken w4 = log.Watch(*cancel, 4);
  log.Clear();

  PressKey(VK_LEFT);  // the edit's own key
  Pump(50);
  PressKey(VK_TAB);  // to the next control in tab order
  Pump(50);
  PressKey(VK_RETURN);  // the default button, the edit sees nothing
  Pump(50);
  PressKey(VK_ESCAPE);  // the cancel button
  Pump(50);
  cancel->SetFocus();
  Pump(30);
  PressKey(VK_RETURN);  // the focused button, not the default one
  Pump(50);
  PressWithCtrl(VK_TAB);  // Ctrl+Tab belongs to the control
  PostMessageA(GetFocus(), WM_SYSCHAR, 'n', 1 << 29);  // the label's accelerator
  Pump(50);
  PostMessageA(GetFocus(), WM_CHAR, 'n', 1);  // typed into the edit: no accelerator
  Pump(50);

  EXPECT_EQ(CompareSequence(log, {{1, WM_KEYDOWN, seqSent | seqWParam, VK_LEFT},
                                  {2, WM_SETFOCUS, seqSent},
                                  {3, EV_CLICK, seqEvent},
                                  {4, EV_CLICK, seqEvent},
                                  {4, WM_SETFOCUS, seqSent},
                                  {4, EV_CLICK, seqEvent},
                                  {4, WM_KEYDOWN, seqSent | seqWParam, VK_TAB},
                                  {4, WM_CHAR, seqSent | seqOptional},
                                  {1, WM_SETFOCUS, seqSent},
                                  {1, WM_CHAR, seqSent | seqWParam, 'n'}}),
            "");
  EXPECT_EQ(GetFocus(), name->HandleIfCreated());
}
