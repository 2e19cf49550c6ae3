// Declarative window layouts: one table per window, in pixels at 96 DPI, turned into controls by
// one builder. Event handlers are named in the table and bound through the form's method table.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "framework/Forms.h"

namespace zelvo {

enum class TControlKind : uint8_t {
  Picture, Button, BitBtn, Label, Icon,
  Edit,        // one-line edit
  UpperEdit,   // one-line edit that turns typed letters to upper case
  Memo,        // multi-line edit (lfWordWrap, lfWantReturns)
  ComboBox,    // editable text with a drop-down list of `items`
  RadioGroup,  // framed radio buttons: `items`, `columns`, `itemIndex`
  Custom,      // made by the form's CreateCustomControl (controls the framework does not know)
};

// Flags of a control entry.
enum : uint32_t {
  lfDefault = 1,       // default button (Enter presses it)
  lfCancel = 2,        // cancel button (Escape presses it)
  lfAlignClient = 4,   // fills the parent's client area
  lfHidden = 8,
  lfDisabled = 16,
  lfWordWrap = 32,
  lfNoTabStop = 64,
  lfStretch = 128,
  lfTransparent = 256,
  lfAlignRight = 512,    // label text right-aligned
  lfAutoSize = 1024,     // label as wide as its text; keeps the table's edge on its aligned side
  lfWantReturns = 2048,  // memo: Enter starts a new line instead of pressing the default button
};

struct TControlDef {
  TControlKind kind;
  const char* name;
  int left, top, width, height;
  const char* caption;
  int tabOrder;           // -1: creation order
  uint32_t flags;
  const char* onClick;    // handler name in the form's method table, or nullptr
  const char* resource;   // picture or glyph resource, or nullptr
  int32_t modalResult;

  // Settings only some kinds have; tables set them with designated initialisers.
  const char* focusControl = nullptr;    // Label: the control its accelerator focuses
  std::span<const char* const> items{};  // ComboBox, RadioGroup: entries in order
  int itemIndex = -1;                    // RadioGroup: selected item
  int columns = 1;                       // RadioGroup
  int itemHeight = 0;                    // ComboBox: list item height (0: the control's default)
  int glyphSpacing = -1;                 // BitBtn: pixels between glyph and caption (-1: default)
  TBitBtnKind bitBtnKind = TBitBtnKind::bkCustom;  // BitBtn: standard kind (glyph, caption, result);
                                                   // the entry's own caption and flags still apply
  const char* disabledGlyph = nullptr;   // BitBtn: picture for the disabled state, joined to
                                         // `resource` as the glyph's second frame
  const char* onChange = nullptr;        // Edit, UpperEdit, Memo, ComboBox: change handler
};

struct TFormDef {
  const char* name;
  const char* caption;
  int clientWidth, clientHeight;
  TFormBorderStyle borderStyle;
  uint8_t borderIcons;
  TPosition position;
  TColor color;
  const char* fontName;
  int fontHeight;
  TColor fontColor;
  const char* iconResource;  // icon resource name or nullptr
  const char* onCreate;
  const char* onCloseQuery;
  std::span<const TControlDef> controls;
};

// A form whose layout comes from a table: it names its handlers for the table's bindings.
class TTableForm : public TForm {
 public:
  using TForm::TForm;
  using Method = std::function<void(TComponent& sender)>;
  // Returns the handler for a name, or an empty function when the form has none by that name.
  virtual Method MethodAddress(std::string_view name);
  // Name of the handler each control's OnClick (or OnChange) was bound to (for checks against
  // the table).
  std::string BoundHandler(std::string_view control) const;

 protected:
  // Builds the form's properties and controls from the table. Unknown handler names and labels
  // naming a focus control the table does not have throw.
  void BuildFromTable(const TFormDef& def);
  // Creates (owned by this form) the control of a Custom entry; the builder then applies the
  // entry's name, caption, parent, bounds, flags and tab order. The default throws.
  virtual TWinControl* CreateCustomControl(const TControlDef& def);

 private:
  std::vector<std::pair<std::string, std::string>> bindings_;
};

}  // namespace zelvo
