// Layout tables' rules: every handler a table names must exist, change handlers only on kinds
// with a change event, the first fault in table order is the one reported; where entries go.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

#include "framework/Layout_core.h"
#include "util/Exceptions.h"

using namespace zelvo;

namespace {
TControlDef Entry(TControlKind kind, const char* name, const char* onClick = nullptr, const char* onChange = nullptr) {
  TControlDef c{kind, name, 10, 20, 100, 25, nullptr, -1, 0, onClick, nullptr, 0};
  c.onChange = onChange;
  return c;
}

TFormDef Form(std::span<const TControlDef> controls, const char* onCreate = nullptr) {
  return TFormDef{"TestForm", "Test", 300, 200, TFormBorderStyle::bsDialog, biSystemMenu, TPosition::poDesigned,
                  clBtnFace, "MS Sans Serif", -11, clWindowText, nullptr, onCreate, nullptr, controls};
}

// The message of the exception the check throws, or "" when it passes.
std::string Fault(const TFormDef& def) {
  const std::set<std::string, std::less<>> handlers{"Create", "Ok", "Changed"};
  try {
    CheckTableBindings(def, [&](std::string_view name) { return handlers.count(name) > 0; });
  } catch (const Exception& e) {
    return e.what();
  }
  return "";
}
}  // namespace

TEST(LayoutTable, HandlersMustExistAndChangeHandlersNeedAChangeEvent) {
  const std::array good{Entry(TControlKind::Button, "BOk", "Ok"), Entry(TControlKind::Edit, "EName", nullptr, "Changed"),
                        Entry(TControlKind::UpperEdit, "ECode", nullptr, "Changed"),
                        Entry(TControlKind::Memo, "MNotes", nullptr, "Changed"),
                        Entry(TControlKind::ComboBox, "CShop", "Ok", "Changed"), Entry(TControlKind::Label, "LName")};
  EXPECT_EQ(Fault(Form(good, "Create")), "");

  EXPECT_EQ(Fault(Form(good, "Missing")), "Form TestForm has no handler Missing");
  const std::array unknownClick{Entry(TControlKind::Button, "BOk", "Ok"), Entry(TControlKind::Button, "BNo", "Nope")};
  EXPECT_EQ(Fault(Form(unknownClick)), "Form TestForm has no handler Nope");
  for (TControlKind kind : {TControlKind::Button, TControlKind::Label, TControlKind::RadioGroup, TControlKind::Custom}) {
    const std::array noEvent{Entry(kind, "XOne", nullptr, "Changed")};
    EXPECT_EQ(Fault(Form(noEvent)), "Control XOne has no change event") << static_cast<int>(kind);
  }
}

TEST(LayoutTable, TheFirstFaultInTableOrderIsReported) {
  const std::array controls{Entry(TControlKind::Button, "BFirst", "Nope1", nullptr),
                            Entry(TControlKind::Button, "BSecond", nullptr, "Changed"),
                            Entry(TControlKind::Edit, "EThird", nullptr, "Nope3")};
  EXPECT_EQ(Fault(Form(controls, "NopeForm")), "Form TestForm has no handler NopeForm");
  EXPECT_EQ(Fault(Form(controls)), "Form TestForm has no handler Nope1");
  const std::array clickBeforeChange{Entry(TControlKind::Button, "BOne", "Nope", "Changed")};
  EXPECT_EQ(Fault(Form(clickBeforeChange)), "Form TestForm has no handler Nope");
}

TEST(LayoutTable, EntriesGoToTheirRectangleOrTheWholeClientArea) {
  TControlDef c = Entry(TControlKind::Picture, "Back");
  EXPECT_EQ(TableBounds(c, 300, 200), (TRectI{10, 20, 110, 45}));
  c.flags = lfAlignClient;
  EXPECT_EQ(TableBounds(c, 300, 200), (TRectI{0, 0, 300, 200}));

  // An auto-sized label keeps the table's edge on its aligned side.
  TControlDef label = Entry(TControlKind::Label, "LName");
  label.flags = lfAutoSize;
  EXPECT_EQ(AutoSizedBounds(label, 40), (TRectI{10, 20, 50, 45}));
  label.flags = lfAutoSize | lfAlignRight;
  EXPECT_EQ(AutoSizedBounds(label, 40), (TRectI{70, 20, 110, 45}));
  EXPECT_EQ(AutoSizedBounds(label, 130), (TRectI{-20, 20, 110, 45})) << "text wider than the entry grows leftwards";
}
