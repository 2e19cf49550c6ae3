#include "framework/Layout.h"

#include "framework/StdCtrls.h"
#include "util/Exceptions.h"

namespace zelvo {

TTableForm::Method TTableForm::MethodAddress(std::string_view) { return {}; }

std::string TTableForm::BoundHandler(std::string_view control) const {
  for (const auto& [c, h] : bindings_) {
    if (c == control) return h;
  }
  return {};
}

void TTableForm::BuildFromTable(const TFormDef& def) {
  Name = def.name;
  SetCaption(def.caption);
  BorderStyle = def.borderStyle;
  BorderIcons = def.borderIcons;
  Position = def.position;
  Color = def.color;
  Font.name = def.fontName;
  Font.height = def.fontHeight;
  Font.color = def.fontColor;
  if (def.iconResource) {
    Icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), def.iconResource, IMAGE_ICON, 32, 32, 0));
  }
  SetClientSize(def.clientWidth, def.clientHeight);

  auto bind = [this](const char* handler, const std::string& control) -> Method {
    if (!handler) return {};
    Method m = MethodAddress(handler);
    if (!m) throw Exception(std::string("Form ") + Name + " has no handler " + handler);
    bindings_.emplace_back(control, handler);
    return m;
  };
  if (def.onCreate) {
    Method m = bind(def.onCreate, def.name);
    OnCreate = [m](TComponent& s) { m(s); };
  }
  if (def.onCloseQuery) {
    Method m = bind(def.onCloseQuery, def.name);
    OnCloseQuery = [m](TForm& f, bool&) { m(f); };
  }

  std::vector<std::pair<TWinControl*, int>> tabOrders;
  for (const TControlDef& c : def.controls) {
    TWinControl* control = nullptr;
    switch (c.kind) {
      case TControlKind::Picture:
      case TControlKind::Icon: {
        auto* img = Create<TImage>();
        img->Stretch = (c.flags & lfStretch) != 0;
        img->Transparent = (c.flags & lfTransparent) != 0;
        if (c.resource && c.kind == TControlKind::Picture) img->LoadBitmap(c.resource);
        if (c.resource && c.kind == TControlKind::Icon) {
          img->SetIcon(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), c.resource, IMAGE_ICON, 32, 32, 0)));
        }
        control = img;
        break;
      }
      case TControlKind::Button:
      case TControlKind::BitBtn: {
        TButton* b = c.kind == TControlKind::BitBtn ? Create<TBitBtn>() : Create<TButton>();
        if (auto* bb = dynamic_cast<TBitBtn*>(b); bb && c.resource) bb->LoadGlyph(c.resource, 2);
        b->Default = (c.flags & lfDefault) != 0;
        b->Cancel = (c.flags & lfCancel) != 0;
        b->ModalResult = c.modalResult;
        b->SetActiveDefault(b->Default);
        control = b;
        break;
      }
      case TControlKind::Label: {
        auto* l = Create<TLabel>();
        l->WordWrap = (c.flags & lfWordWrap) != 0;
        l->Transparent = (c.flags & lfTransparent) != 0;
        control = l;
        break;
      }
    }
    control->Name = c.name;
    if (c.caption) control->SetCaption(c.caption);
    control->SetParent(this);
    if (c.flags & lfAlignClient) {
      control->Align = TAlign::alClient;
      control->SetBounds(0, 0, def.clientWidth, def.clientHeight);
    } else {
      control->SetBounds(c.left, c.top, c.width, c.height);
    }
    if (c.flags & lfHidden) control->SetVisible(false);
    if (c.flags & lfDisabled) control->SetEnabled(false);
    if (c.flags & lfNoTabStop) control->SetTabStop(false);
    if (c.onClick) {
      Method m = bind(c.onClick, c.name);
      control->OnClick = [m](TComponent& s) { m(s); };
    }
    if (c.tabOrder >= 0) tabOrders.emplace_back(control, c.tabOrder);
  }
  for (auto& [control, order] : tabOrders) control->SetTabOrder(order);
}

}  // namespace zelvo
