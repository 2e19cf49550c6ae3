// Declarative window layouts: one table per window, in pixels at 96 DPI, and the rules a table is
// held to before any window is made (the handlers it names exist; change handlers only on kinds
// that have a change event) and by which its entries are placed. The builder that turns a table
// into controls is TTableForm (Layout.h). Portable: no platform headers.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "framework/Types.h"
#include "util/Geometry.h"

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

// Whether controls of this kind have a change event a table can bind.
bool HasChangeEvent(TControlKind kind);

// Checks every handler binding of a table, in table order (the form's, then each control's
// click and change handlers): throws Exception "Form <form> has no handler <name>" for a name
// `hasHandler` does not know and "Control <name> has no change event" for a change handler on a
// kind without one.
void CheckTableBindings(const TFormDef& def, const std::function<bool(std::string_view)>& hasHandler);

// Where an entry goes in its form: its own rectangle, or the whole client area (lfAlignClient).
TRectI TableBounds(const TControlDef& def, int clientWidth, int clientHeight);
// An auto-sized label's rectangle for its measured text width: the table's top and height, and
// the edge on its aligned side (the right edge for lfAlignRight, else the left).
TRectI AutoSizedBounds(const TControlDef& def, int textWidth);

}  // namespace zelvo
