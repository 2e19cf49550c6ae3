#include "framework/Layout_core.h"

#include <string>

#include "util/Exceptions.h"

namespace zelvo {

bool HasChangeEvent(TControlKind kind) {
  switch (kind) {
    case TControlKind::Edit:
    case TControlKind::UpperEdit:
    case TControlKind::Memo:
    case TControlKind::ComboBox:
      return true;
    default:
      return false;
  }
}

void CheckTableBindings(const TFormDef& def, const std::function<bool(std::string_view)>& hasHandler) {
  auto check = [&](const char* handler) {
    if (handler && !hasHandler(handler)) {
      throw Exception(std::string("Form ") + def.name + " has no handler " + handler);
    }
  };
  check(def.onCreate);
  check(def.onCloseQuery);
  for (const TControlDef& c : def.controls) {
    check(c.onClick);
    if (c.onChange && !HasChangeEvent(c.kind)) {
      throw Exception(std::string("Control ") + c.name + " has no change event");
    }
    check(c.onChange);
  }
}

TRectI TableBounds(const TControlDef& def, int clientWidth, int clientHeight) {
  if (def.flags & lfAlignClient) return TRectI{0, 0, clientWidth, clientHeight};
  return TRectI{def.left, def.top, def.left + def.width, def.top + def.height};
}

TRectI AutoSizedBounds(const TControlDef& def, int textWidth) {
  const int left = (def.flags & lfAlignRight) ? def.left + def.width - textWidth : def.left;
  return TRectI{left, def.top, left + textWidth, def.top + def.height};
}

}  // namespace zelvo
