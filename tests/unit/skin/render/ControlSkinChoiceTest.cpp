#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/render/ControlSkins_core.h"

using namespace zelvo;

namespace {

using K = ComponentKind;
using C = ControlSkinClass;
using A = ControlChoiceAction;
using enum TSkinControlType;

ComponentDescription Comp(std::string cls, uint32_t kinds, int32_t tag = 0) {
  ComponentDescription c;
  c.ClassName = std::move(cls);
  c.Kinds = kinds | K::WinControl;
  c.Tag = tag;
  c.HasHandle = true;
  return c;
}

struct Walk {
  ControlChoiceSettings settings;
  ControlChoiceState state;
  std::vector<std::string> skin3rd;
  Walk() { settings.SkinHasTabs = true; }
  ControlSkinChoice Choose(const ComponentDescription& c) {
    settings.Skin3rd = &skin3rd;
    return ChooseControlSkin(c, settings, state);
  }
};

ComponentDescription Comp(std::string cls, ComponentKind kind, int32_t tag = 0) {
  return Comp(std::move(cls), static_cast<uint32_t>(kind), tag);
}

const ComponentDescription kButton = Comp("TButton", K::PushButton | K::WinControl);

TEST(ControlSkinChoice, TagModuloHundredEqualToDisableTagIsExempt) {
  struct Case {
    int32_t tag, disableTag;
    bool exempt;
  } cases[] = {
      {99, 99, true}, {199, 99, true}, {1099, 99, true}, {98, 99, false}, {0, 99, false},
      {-99, 99, false},  // the remainder keeps the sign of the tag
      {-1, -1, true},    {105, 5, true}, {5, 105, false},  // a DisableTag of 100 or more never matches
  };
  for (const Case& t : cases) {
    Walk w;
    w.settings.DisableTag = t.disableTag;
    ComponentDescription c = kButton;
    c.Tag = t.tag;
    ControlSkinChoice r = w.Choose(c);
    EXPECT_EQ(r.Action, t.exempt ? A::Skip : A::Skin) << t.tag << " / " << t.disableTag;
    // An exempt control is not even given a window handle.
    c.HasHandle = false;
    EXPECT_EQ(NeedsHandleCreation(c, w.settings, w.state), !t.exempt) << t.tag;
  }
}

TEST(ControlSkinChoice, CoveredHandlelessAndPreviewFormsAreSkipped) {
  Walk w;
  w.state.AlreadyCovered = true;
  EXPECT_EQ(w.Choose(kButton).Rule, ControlChoiceRule::Covered);

  Walk fresh;
  ComponentDescription noHandle = kButton;
  noHandle.HasHandle = false;
  EXPECT_TRUE(NeedsHandleCreation(noHandle, fresh.settings, fresh.state));
  EXPECT_EQ(fresh.Choose(noHandle).Action, A::Skin);  // the handle was created
  noHandle.GetsHandle = false;
  EXPECT_EQ(fresh.Choose(noHandle).Rule, ControlChoiceRule::NoHandle);

  // On a preview form a control without a handle counts as covered and gets none.
  for (auto [name, cls] : {std::pair{"PrintPREVIEWForm", "TForm"}, std::pair{"Report", "TppPrintPreview"}}) {
    Walk preview;
    preview.settings.FormName = name;
    preview.settings.FormClassName = cls;
    noHandle.GetsHandle = true;
    EXPECT_FALSE(NeedsHandleCreation(noHandle, preview.settings, preview.state)) << name;
    EXPECT_EQ(preview.Choose(noHandle).Rule, ControlChoiceRule::Covered) << name;
    EXPECT_EQ(preview.Choose(kButton).Action, A::Skin) << name;  // one with a handle is skinned
  }
  // Components that are not windows need no handle.
  Walk menus;
  ComponentDescription popup{"TPopupMenu", static_cast<uint32_t>(K::PopupMenu), 0, false, true, false};
  EXPECT_FALSE(NeedsHandleCreation(popup, menus.settings, menus.state));
  EXPECT_EQ(menus.Choose(popup).Action, A::OwnerDrawMenu);
}

TEST(ControlSkinChoice, HandlerAnswerComesBeforeClassRules) {
  Walk w;
  w.state.HandlerSuppliedSkin = true;
  w.skin3rd = {"TButton=panel"};
  EXPECT_EQ(w.Choose(kButton).Action, A::UseSupplied);
  w.settings.DisableTag = 0;  // but never for an exempt control
  EXPECT_EQ(w.Choose(kButton).Action, A::Skip);
}

TEST(ControlSkinChoice, ChildrenOnlyClassesInAnyCase) {
  for (const char* cls : {"TDBComboBoxEh", "TQRPREVIEW", "TfrDesignerPage", "TFRPBOX"}) {
    Walk w;
    w.skin3rd = {std::string(cls) + "=button"};  // checked before the mapping
    EXPECT_EQ(w.Choose(Comp(cls, K::ComboBox)).Action, A::WalkChildren) << cls;
  }
}

TEST(ControlSkinChoice, Skin3rdLineEndsTheChoiceEvenWithoutASkin) {
  Walk w;
  // A push button by kind; the mapping's unknown kind leaves it native.
  ComponentDescription c = Comp("TMyButton", K::PushButton);
  EXPECT_EQ(w.Choose(c).Skin, C::TSkinButton);
  w.skin3rd = {"TOther=panel", "tmybutton=Fancy"};
  ControlSkinChoice r = w.Choose(c);
  EXPECT_EQ(r.Action, A::Native);
  EXPECT_EQ(r.Rule, ControlChoiceRule::Skin3rd);
  EXPECT_EQ(r.Skin3rdKind, "fancy");
  // A known kind whose member is off ends it too.
  w.skin3rd = {"TMyButton=button"};
  w.settings.SkinControls = kDefaultSkinControls.Without(xcButton);
  EXPECT_EQ(w.Choose(c).Action, A::Native);
  EXPECT_EQ(w.Choose(c).Rule, ControlChoiceRule::Skin3rd);
}

TEST(ControlSkinChoice, Skin3rdMatching) {
  const std::vector<std::string> lines = {"TEditX=panel", "TLMDEDIT=Edit", "tlmdedit=button",
                                          "TLong=" + std::string(48, 'a') + "BCDEF", "TEmpty="};
  EXPECT_EQ(Skin3rdKind(lines, "TEdit"), std::nullopt);  // "tedit=" is not a prefix of "teditx="
  EXPECT_EQ(Skin3rdKind(lines, "TLmdEdit"), "edit");     // first matching line wins
  EXPECT_EQ(Skin3rdKind(lines, "TLONG"), std::string(48, 'a') + "bc");  // 50 characters
  EXPECT_EQ(Skin3rdKind(lines, "TEmpty"), "");
  EXPECT_EQ(Skin3rdKind(lines, "TLMDEDI"), std::nullopt);
  EXPECT_EQ(Skin3rdKind({"T=a=b"}, "t"), "a=b");
  EXPECT_EQ(Skin3rdKind({"Tx"}, "tx"), std::nullopt);  // a line without "=" names nothing
  // A kind followed by more text than 50 characters is cut, so it no longer names a kind.
  Walk w;
  w.skin3rd = {"TBox=panel" + std::string(50, ' ')};
  EXPECT_EQ(w.Choose(Comp("TBox", 0)).Action, A::Native);
}

TEST(ControlSkinChoice, EverySkin3rdKindWithAndWithoutItsSwitch) {
  struct Case {
    const char* kind;
    TSkinControlType needs;
    C skin;
    bool recolour, byHandle, drag;
    const char* property;
    C child;
  } cases[] = {
      {"combobox", xcCombo, C::TSkinComBox, false, false, false, "", C::None},
      {"edit", xcEdit, C::TSkinEdit, false, true, false, "", C::None},
      {"radiobutton", xcRadioButton, C::TSkinRadioButton, false, false, false, "", C::None},
      {"panel", xcPanel, C::TSkinBox, true, false, false, "Transparent", C::None},
      {"trackbar", xcButton, C::TSkinTrackBar, false, false, false, "Transparent", C::None},
      {"button", xcButton, C::TSkinButton, false, false, false, "", C::None},
      {"tab", xcTab, C::TSkinTab, false, true, false, "", C::None},
      {"progress", xcProgress, C::TSkinProgress, false, false, false, "", C::None},
      {"scrollbar", xcScrollbar, C::TSkinScrollbar, false, false, true, "", C::None},
      {"radiogroup", xcPanel, C::TSkinGroupBox, true, false, false, "", C::TSkinRadioButton},
      {"checkgroup", xcPanel, C::TSkinGroupBox, true, false, false, "", C::TSkinCheckBox},
      {"checkbox", xcCheckBox, C::TSkinCheckBox, false, false, false, "", C::None},
  };
  for (const Case& t : cases) {
    Walk w;
    w.skin3rd = {std::string("TThird=") + t.kind};
    ControlSkinChoice r = w.Choose(Comp("TThird", 0));
    EXPECT_EQ(r.Action, A::Skin) << t.kind;
    EXPECT_EQ(r.Skin, t.skin) << t.kind;
    EXPECT_EQ(r.Recolour, t.recolour) << t.kind;
    EXPECT_EQ(r.ByHandle, t.byHandle) << t.kind;
    EXPECT_EQ(r.ThumbDragging, t.drag) << t.kind;
    EXPECT_EQ(r.SetTrueProperty, t.property) << t.kind;
    EXPECT_EQ(r.ChildSkin, t.child) << t.kind;

    w.settings.SkinControls = kDefaultSkinControls.Without(t.needs);
    EXPECT_EQ(w.Choose(Comp("TThird", 0)).Action, A::Native) << t.kind << " without its switch";
  }
  // The tab kind needs the skin's Tabs entry as well.
  Walk noTabs;
  noTabs.settings.SkinHasTabs = false;
  noTabs.skin3rd = {"TThird=tab"};
  EXPECT_EQ(noTabs.Choose(Comp("TThird", 0)).Action, A::Native);
}

TEST(ControlSkinChoice, GroupChildrenFollowTheRadioButtonSwitch) {
  Walk w;
  w.skin3rd = {"TGroup=checkgroup"};
  w.settings.SkinControls = kDefaultSkinControls.Without(xcCheckBox);
  EXPECT_EQ(w.Choose(Comp("TGroup", 0)).ChildSkin, C::TSkinCheckBox);
  w.settings.SkinControls = kDefaultSkinControls.Without(xcRadioButton);
  ControlSkinChoice r = w.Choose(Comp("TGroup", 0));
  EXPECT_EQ(r.Skin, C::TSkinGroupBox);
  EXPECT_EQ(r.ChildSkin, C::None);
}

TEST(ControlSkinChoice, TabSetAndTabbedNotebookNeedTheTabsEntry) {
  Walk w;
  EXPECT_EQ(w.Choose(Comp("TTabSet", 0)).Skin, C::TSkinTab31);
  EXPECT_EQ(w.Choose(Comp("TTabbedNotebook", 0)).Action, A::WalkPages);
  w.settings.SkinHasTabs = false;
  EXPECT_EQ(w.Choose(Comp("TTabSet", 0)).Action, A::Native);
  EXPECT_EQ(w.Choose(Comp("TTabbedNotebook", 0)).Action, A::Native);
}

TEST(ControlSkinChoice, FrameworkClassesInOrder) {
  struct Case {
    const char* name;
    ComponentDescription c;
    C skin;
    bool byHandle, drag, walkAfter;
  } cases[] = {
      {"edit", Comp("TEdit", K::Edit), C::TSkinEdit, true, false, false},
      // A memo is an edit too: the memo rule comes first, so no edit border.
      {"memo", Comp("TMemo", K::Edit | K::Memo), C::TSkinScrollbar, false, true, false},
      {"rich edit", Comp("TRichEdit", K::Edit | K::Memo), C::TSkinScrollbar, false, true, false},
      {"grid", Comp("TdxDBGrid", 0), C::TSkinScrollbar, false, false, false},
      {"combo", Comp("TComboBox", K::ComboBox), C::TSkinComBox, false, false, false},
      {"radio button", Comp("TRadioButton", K::RadioButton | K::CheckBox), C::TSkinRadioButton, false, false, false},
      {"check box", Comp("TCheckBox", K::CheckBox), C::TSkinCheckBox, false, false, false},
      {"push button", Comp("TButton", K::PushButton), C::TSkinButton, false, false, false},
      {"bitmap button", Comp("TBitBtn", K::PushButton | K::BitButton), C::TSkinBitButton, false, false, false},
      {"speed button", Comp("TSpeedButton", K::SpeedButton), C::TSkinSpeedButton, false, false, false},
      {"group box", Comp("TGroupBox", K::GroupBox), C::TSkinGroupBox, false, false, true},
      {"embedded form", Comp("TFrame1", K::EmbeddedForm), C::TSkinBox, false, false, true},
      {"track bar", Comp("TTrackBar", 0), C::TSkinTrackBar, false, false, false},
      {"up-down", Comp("TUpDown", 0), C::TSkinUpDown, false, false, false},
      {"progress bar", Comp("TProgressBar", K::WinControl), C::TSkinProgress, false, false, false},
      {"scroll-bar control", Comp("TScrollBar", K::WinControl), C::TSkinScControl, false, true, false},
      {"panel", Comp("TPanel", K::WinControl), C::TSkinBox, false, false, true},
  };
  for (const Case& t : cases) {
    Walk w;
    ControlSkinChoice r = w.Choose(t.c);
    EXPECT_EQ(r.Action, A::Skin) << t.name;
    EXPECT_EQ(r.Skin, t.skin) << t.name;
    EXPECT_EQ(r.ByHandle, t.byHandle) << t.name;
    EXPECT_EQ(r.ThumbDragging, t.drag) << t.name;
    EXPECT_EQ(r.WalkChildrenAfter, t.walkAfter) << t.name;
  }
}

TEST(ControlSkinChoice, SwitchesOffFallThroughOrStop) {
  Walk w;
  // Without scroll-bar skinning a memo is an edit and gets the border.
  w.settings.SkinControls = kDefaultSkinControls.Without(xcScrollbar);
  EXPECT_EQ(w.Choose(Comp("TMemo", K::Edit | K::Memo)).Skin, C::TSkinEdit);
  // A bitmap button without its switch is not skinned as a push button.
  w.settings.SkinControls = kDefaultSkinControls.Without(xcBitBtn);
  ControlSkinChoice r = w.Choose(Comp("TBitBtn", K::PushButton | K::BitButton));
  EXPECT_EQ(r.Action, A::Native);
  EXPECT_EQ(r.Rule, ControlChoiceRule::Builtin);
  // A radio button without radio skinning is not a check box either.
  w.settings.SkinControls = kDefaultSkinControls.Without(xcRadioButton);
  EXPECT_EQ(w.Choose(Comp("TRadioButton", K::RadioButton | K::CheckBox)).Action, A::Native);
  // Nothing in the set: nothing skinned.
  w.settings.SkinControls = TSkinControlTypes{};
  for (const ComponentDescription& c : {kButton, Comp("TEdit", K::Edit), Comp("TMemo", K::Edit | K::Memo),
                                        Comp("TGroupBox", K::GroupBox), Comp("TComboBox", K::ComboBox)}) {
    EXPECT_EQ(w.Choose(c).Action, A::Native) << c.ClassName;
  }
  // An embedded form needs no switch.
  EXPECT_EQ(w.Choose(Comp("TFrame1", K::EmbeddedForm)).Skin, C::TSkinBox);
}

TEST(ControlSkinChoice, RadioGroupChildrenThenGroupBox) {
  Walk w;
  ComponentDescription group = Comp("TRadioGroup", K::RadioGroup);
  ControlSkinChoice r = w.Choose(group);
  EXPECT_EQ(r.ChildSkin, C::TSkinRadioButton);
  EXPECT_EQ(r.Skin, C::TSkinGroupBox);
  EXPECT_TRUE(r.Recolour);
  EXPECT_FALSE(r.WalkChildrenAfter);  // its children have their skins already
  // Without radio skinning a radio group that is a group box is walked like one.
  w.settings.SkinControls = kDefaultSkinControls.Without(xcRadioButton);
  group.Kinds = group.Kinds | K::GroupBox;
  r = w.Choose(group);
  EXPECT_EQ(r.Skin, C::TSkinGroupBox);
  EXPECT_EQ(r.ChildSkin, C::None);
  EXPECT_TRUE(r.WalkChildrenAfter);
}

TEST(ControlSkinChoice, NamedFrameworkClasses) {
  Walk w;
  ComponentDescription nav = Comp("TDBNavigator", 0);
  EXPECT_EQ(w.Choose(nav).SetTrueProperty, "Flat");
  EXPECT_EQ(w.Choose(nav).Skin, C::TSkinBox);

  ComponentDescription picker = Comp("TDateTimePicker", 0);
  EXPECT_EQ(w.Choose(picker).Skin, C::TSkinComBox);
  picker.DateTimeKindTime = true;
  EXPECT_EQ(w.Choose(picker).Skin, C::TSkinEdit);

  // The MVC panel is left alone whatever it derives from.
  EXPECT_EQ(w.Choose(Comp("TMVCPanel", K::GroupBox | K::EmbeddedForm)).Action, A::Native);
}

TEST(ControlSkinChoice, PopupMenusNeedMainAndPopupMenuSwitches) {
  ComponentDescription popup{"TPopupMenu", static_cast<uint32_t>(K::PopupMenu), 0, false, true, false};
  Walk w;
  EXPECT_EQ(w.Choose(popup).Action, A::OwnerDrawMenu);
  w.settings.SkinControls = kDefaultSkinControls.Without(xcMainMenu);
  EXPECT_EQ(w.Choose(popup).Action, A::Native);
  w.settings.SkinControls = kDefaultSkinControls.Without(xcPopupMenu);
  EXPECT_EQ(w.Choose(popup).Action, A::Native);
  popup.Tag = 199;
  w.settings.SkinControls = kDefaultSkinControls;
  EXPECT_EQ(w.Choose(popup).Action, A::Skip);
}

TEST(ForeignChildSkin, ClassesAndStyles) {
  using FA = ForeignChildAction;
  struct Case {
    const char* cls;
    uint32_t style;
    ForeignChildChoice expected;
  } cases[] = {
      {"Button", 0x0, {FA::Skin, C::TSkinButton}},          // push button
      {"BUTTON", 0x50010001, {FA::Skin, C::TSkinButton}},   // default push button with window styles
      {"button", 0x8, {FA::Skin, C::TSkinButton}},          // user button
      {"button", 0x2, {FA::Skin, C::TSkinCheckBox}},        // check box
      {"button", 0x3, {FA::Skin, C::TSkinCheckBox}},        // auto check box
      {"button", 0x5, {FA::Skin, C::TSkinCheckBox}},        // three-state
      {"button", 0x6, {FA::Skin, C::TSkinCheckBox}},        // auto three-state
      {"button", 0x4, {FA::Skin, C::TSkinRadioButton}},     // radio button
      {"button", 0x9, {FA::Skin, C::TSkinRadioButton}},     // auto radio button
      {"button", 0x1009, {FA::Skin, C::TSkinRadioButton}},  // higher style bits do not count
      {"button", 0x7, {FA::Leave, C::None}},                // group box
      {"button", 0xB, {FA::Leave, C::None}},                // owner-drawn: not a check box
      {"button", 0xA, {FA::Skin, C::TSkinButton}},          // push box: not a check box
      {"button", 0xC, {FA::Skin, C::TSkinButton}},          // split button: not a radio button
      {"button", 0xF, {FA::Skin, C::TSkinButton}},          // default command link
      {"ComboBox", 0x1, {FA::Leave, C::None}},              // simple combo box
      {"combobox", 0x2, {FA::Skin, C::TSkinComBox}},
      {"combobox", 0x203, {FA::Skin, C::TSkinComBox}},
      {"ComboBoxEx32", 0x2, {FA::SkinFirstChild, C::TSkinComBox}},
      {"ScrollBar", 0x10, {FA::Skin, C::TSkinSizer}},
      {"SysTabControl32", 0x0, {FA::Skin, C::TSkinTab}},
      {"SysTabControl32", 0x2000, {FA::Leave, C::None}},  // owner-drawn tabs
      {"Edit", 0x80, {FA::Skin, C::TSkinEdit}},
      {"Static", 0x0, {FA::Leave, C::None}},
      {"", 0x0, {FA::Leave, C::None}},
  };
  for (const Case& t : cases) {
    EXPECT_EQ(ChooseForeignChildSkin({t.cls, t.style}), t.expected) << t.cls << " " << std::hex << t.style;
  }
  EXPECT_TRUE(IsUpDownCompanionClass("msctls_updown32"));
  EXPECT_TRUE(IsUpDownCompanionClass("TRzSpinButtons"));
  EXPECT_FALSE(IsUpDownCompanionClass("msctls_updown"));
}

}  // namespace
