// The framework's controls on a real form: ownership, kinds, properties by name, the message
// handler chain, tab order, dialog keys and the text controls.
#include <gtest/gtest.h>

#include "../Win32TestSupport.h"
#include "framework/EditCtrls.h"
#include "framework/StdCtrls.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {
struct TestForm {
  TForm form{nullptr};
  TEdit* first;
  TMemo* memo;
  TEdit* second;
  TButton* ok;
  TLabel* label;
  TComboBox* combo;
  TRadioGroup* group;
  int clicks = 0;

  TestForm() {
    form.Name = "TestForm";
    form.BorderStyle = TFormBorderStyle::bsSingle;
    form.SetClientSize(400, 300);
    label = Add<TLabel>("LSecond", 10, 40, 60, 13, "&Second:");
    first = Add<TEdit>("EFirst", 80, 10, 120, 21, "");
    memo = Add<TMemo>("MNotes", 80, 100, 200, 60, "");
    second = Add<TEdit>("ESecond", 80, 40, 120, 21, "");
    combo = Add<TComboBox>("CShop", 80, 70, 120, 21, "");
    group = Add<TRadioGroup>("RKind", 80, 170, 300, 33, "Kin&d:");
    ok = Add<TButton>("BOK", 80, 220, 75, 25, "OK");
    label->FocusControl = second;
    combo->SetItems({"Alpha", "Beta"});
    group->Columns = 3;
    group->SetItems({"One", "Two", "Three"});
    group->SetItemIndex(2);
    ok->Default = true;
    ok->OnClick = [this](TComponent&) { ++clicks; };
    // Tab order differs from creation order: the second edit comes before the memo.
    second->SetTabOrder(1);
    form.Show();
    Pump(100);
  }
  template <class T>
  T* Add(const char* name, int l, int t, int w, int h, const char* caption) {
    T* c = form.Create<T>();
    c->Name = name;
    c->SetCaption(caption);
    c->SetParent(&form);
    c->SetBounds(l, t, w, h);
    return c;
  }
};

TWinControl* Focused() {
  for (HWND w = GetFocus(); w; w = GetParent(w)) {
    if (TWinControl* c = TWinControl::FromHandle(w)) return c;
  }
  return nullptr;
}
}  // namespace

TEST(Framework, ComponentsKnowOwnerNameKindAndProperties) {
  TestForm t;
  EXPECT_EQ(t.first->Owner(), &t.form);
  EXPECT_EQ(t.form.Find<TEdit>("efirst"), t.first) << "names match without regard to case";
  EXPECT_STREQ(t.memo->ClassName(), "TMemo");
  EXPECT_TRUE(t.memo->Is<TCustomEdit>());
  EXPECT_FALSE(t.ok->Is<TCustomEdit>());
  char cls[32];
  GetClassNameA(t.ok->HandleIfCreated(), cls, sizeof cls);
  EXPECT_STREQ(cls, "TButton");
  GetClassNameA(t.form.HandleIfCreated(), cls, sizeof cls);
  EXPECT_STREQ(cls, "TForm");

  TCheckBox* check = t.form.Create<TCheckBox>();
  check->SetParent(&t.form);
  TPropInfo info = check->GetPropInfo("Checked");
  EXPECT_TRUE(info.exists && info.isEnum);
  EXPECT_TRUE(check->SetOrdProp("Checked", 1));
  int32_t v = 0;
  EXPECT_TRUE(check->GetOrdProp("Checked", v));
  EXPECT_EQ(v, 1);
  EXPECT_TRUE(check->Checked());
  EXPECT_FALSE(t.ok->GetPropInfo("Checked").exists);

  // Creation order is kept; freeing a component removes it.
  std::vector<TComponent*> comps = t.form.Components();
  EXPECT_EQ(comps.front(), t.label);
  t.form.DestroyComponent(check);
  EXPECT_EQ(t.form.Components().size(), comps.size() - 1);
}

TEST(Framework, WindowProcIsAReplaceableChain) {
  TestForm t;
  std::vector<UINT> seen;
  THookToken hook = t.first->HookWindowProc([&](TMessage& m, const TNext& next) {
    if (m.Msg == WM_SETTEXT) seen.push_back(m.Msg);
    next(m);  // the control's own handling still runs
  });
  t.first->SetCaption("changed");
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_EQ(t.first->Text(), "changed");
  hook.Reset();
  t.first->SetCaption("again");
  EXPECT_EQ(seen.size(), 1u) << "an unhooked handler sees nothing more";
  EXPECT_EQ(t.first->Text(), "again");
}

TEST(Framework, TabWalksTheTabOrderAndAcceleratorsReachLabelledControls) {
  TestForm t;
  t.first->SetFocus();
  std::vector<TWinControl*> order;
  for (int i = 0; i < 6; ++i) {
    order.push_back(Focused());
    PressKey(VK_TAB);
    Pump(30);
  }
  // Labels and the group frame are skipped; the group's selected button takes the focus.
  std::vector<TWinControl*> expected{t.first, t.second, t.memo, t.combo, t.group->Button(2), t.ok};
  EXPECT_EQ(t.label->TabOrder(), -1);
  EXPECT_EQ(t.second->TabOrder(), 1);
  EXPECT_EQ(order, expected);

  PostMessageA(GetFocus(), WM_SYSCHAR, 's', 1 << 29);
  Pump(50);
  EXPECT_EQ(Focused(), t.second) << "the label's accelerator moves the focus to its control";
  // Text typed into an edit is no accelerator, even with an ampersand in it.
  t.first->SetText("&Gamma");
  PostMessageA(GetFocus(), WM_SYSCHAR, 'g', 1 << 29);
  Pump(50);
  EXPECT_EQ(Focused(), t.second);
  PostMessageA(GetFocus(), WM_SYSCHAR, 'd', 1 << 29);
  Pump(50);
  EXPECT_EQ(Focused(), t.group->Button(2)) << "the group's accelerator reaches its selected button";
}

TEST(Framework, EnterPressesTheDefaultButtonExceptInsideAMemo) {
  TestForm t;
  t.first->SetFocus();
  PressKey(VK_RETURN);
  Pump(50);
  EXPECT_EQ(t.clicks, 1);

  t.memo->SetFocus();
  PressKey(VK_RETURN);
  PostMessageA(GetFocus(), WM_CHAR, '\r', 1);
  Pump(50);
  EXPECT_EQ(t.clicks, 1) << "Enter in the memo starts a new line";
  EXPECT_NE(t.memo->Text().find("\r\n"), std::string::npos);
}

TEST(Framework, ComboReportsTypedAndChosenText) {
  TestForm t;
  std::vector<std::string> changes;
  t.combo->OnChange = [&](TComponent&) { changes.push_back(t.combo->Text()); };
  t.combo->SetFocus();
  for (char c : std::string("Be")) PostMessageA(GetFocus(), WM_CHAR, static_cast<WPARAM>(c), 1);
  Pump(100);
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back(), "Be");
  EXPECT_EQ(t.combo->Caption(), "Be");
}

TEST(Framework, RadioGroupArrowsMoveTheSelection) {
  TestForm t;
  EXPECT_EQ(t.group->ItemIndex(), 2);
  EXPECT_TRUE(t.group->Button(2)->Checked());
  t.group->Button(2)->SetFocus();
  PressKey(VK_LEFT);
  Pump(50);
  EXPECT_EQ(t.group->ItemIndex(), 1);
  EXPECT_TRUE(t.group->Button(1)->Checked());
  EXPECT_FALSE(t.group->Button(2)->Checked());
  // Buttons sit in three columns inside the frame.
  EXPECT_LT(t.group->Button(0)->Left(), t.group->Button(1)->Left());
  EXPECT_EQ(t.group->Button(0)->Top(), t.group->Button(2)->Top());
  // The group's inside is painted in its own colour, not left unpainted.
  HWND h = t.group->HandleIfCreated();
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT r;
  GetClientRect(h, &r);
  ScopedGetDC dc(h);
  EXPECT_EQ(GetPixel(dc.Get(), r.right - 3, r.bottom - 3), ColorToRGB(t.group->EffectiveColor()));
}
