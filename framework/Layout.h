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

enum class TControlKind : uint8_t { Picture, Button, BitBtn, Label, Icon };

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
  // Name of the handler each control's OnClick was bound to (for checks against the table).
  std::string BoundHandler(std::string_view control) const;

 protected:
  // Builds the form's properties and controls from the table. Unknown handler names throw.
  void BuildFromTable(const TFormDef& def);

 private:
  std::vector<std::pair<std::string, std::string>> bindings_;
};

}  // namespace zelvo
