// The builder that turns a window's layout table (Layout_core.h) into controls. Event handlers
// are named in the table and bound through the form's method table.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/Forms.h"
#include "framework/Layout_core.h"

namespace zelvo {

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
  // Builds the form's properties and controls from the table. A table that names a handler the
  // form does not have throws before any control is made; a label naming a focus control the
  // form does not have throws once the controls are made.
  void BuildFromTable(const TFormDef& def);
  // Creates (owned by this form) the control of a Custom entry; the builder then applies the
  // entry's name, caption, parent, bounds, flags and tab order. The default throws.
  virtual TWinControl* CreateCustomControl(const TControlDef& def);

 private:
  void ApplyFormProperties(const TFormDef& def);
  void BindFormEvents(const TFormDef& def);
  // The control of one entry, owned by this form; `onChange` is set to its change event when
  // its kind has one.
  TWinControl* MakeControl(const TControlDef& def, TNotifyEvent*& onChange);
  void PlaceControl(TWinControl& control, const TControlDef& def, const TFormDef& form);
  void BindControlEvents(TWinControl& control, const TControlDef& def, TNotifyEvent* onChange);
  // The form's handler of that name (CheckTableBindings made sure it exists), recorded as bound
  // to `control`.
  Method Bind(const char* handler, const std::string& control);
  std::vector<std::pair<std::string, std::string>> bindings_;
};

}  // namespace zelvo
