#include "framework/Layout.h"

#include <algorithm>

#include "framework/EditCtrls.h"
#include "framework/StdCtrls.h"
#include "util/Exceptions.h"

namespace zelvo {

namespace {
// One glyph of two equal frames side by side (normal, disabled) from two bitmap resources.
UniqueGdi<HBITMAP> JoinGlyphFrames(const char* normal, const char* disabled) {
  UniqueGdi<HBITMAP> first = LoadBitmapResource(normal);
  UniqueGdi<HBITMAP> second = LoadBitmapResource(disabled);
  const SIZE a = BitmapSize(first.Get()), b = BitmapSize(second.Get());
  if (a.cx != b.cx || a.cy != b.cy) {
    throw Exception(std::string("The glyphs ") + normal + " and " + disabled + " differ in size");
  }
  WindowDC screen(nullptr);
  UniqueGdi<HBITMAP> joined(CreateCompatibleBitmap(screen.Get(), a.cx * 2, a.cy));
  if (!joined) throw Exception(std::string("Cannot make the glyph ") + normal);
  UniqueDC dst = CompatibleDC(screen.Get());
  UniqueDC src = CompatibleDC(screen.Get());
  ScopedSelect selDst(dst.Get(), joined.Get());
  {
    ScopedSelect selSrc(src.Get(), first.Get());
    BitBlt(dst.Get(), 0, 0, a.cx, a.cy, src.Get(), 0, 0, SRCCOPY);
  }
  {
    ScopedSelect selSrc(src.Get(), second.Get());
    BitBlt(dst.Get(), a.cx, 0, a.cx, a.cy, src.Get(), 0, 0, SRCCOPY);
  }
  return joined;
}

std::vector<std::string> ItemList(std::span<const char* const> items) {
  return std::vector<std::string>(items.begin(), items.end());
}
}  // namespace

TTableForm::Method TTableForm::MethodAddress(std::string_view) { return {}; }

TWinControl* TTableForm::CreateCustomControl(const TControlDef& def) {
  throw Exception(std::string("Form ") + Name + " cannot create the control " + def.name);
}

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
    Icon = LoadSharedIcon(def.iconResource);
    SmallIcon = LoadSmallIcon(def.iconResource);
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
  std::vector<std::pair<TLabel*, const char*>> focusControls;
  for (const TControlDef& c : def.controls) {
    TWinControl* control = nullptr;
    TNotifyEvent* onChange = nullptr;
    switch (c.kind) {
      case TControlKind::Picture:
      case TControlKind::Icon: {
        auto* img = Create<TImage>();
        img->Stretch = (c.flags & lfStretch) != 0;
        img->Transparent = (c.flags & lfTransparent) != 0;
        if (c.resource && c.kind == TControlKind::Picture) img->LoadBitmap(c.resource);
        if (c.resource && c.kind == TControlKind::Icon) {
          img->SetIcon(LoadSharedIcon(c.resource));
        }
        control = img;
        break;
      }
      case TControlKind::Button:
      case TControlKind::BitBtn: {
        TButton* b = c.kind == TControlKind::BitBtn ? Create<TBitBtn>() : Create<TButton>();
        if (auto* bb = dynamic_cast<TBitBtn*>(b)) {
          if (c.bitBtnKind != TBitBtnKind::bkCustom) bb->SetKind(c.bitBtnKind);
          if (c.resource && c.disabledGlyph) {
            bb->SetGlyph(JoinGlyphFrames(c.resource, c.disabledGlyph), 2);
          } else if (c.resource) {
            bb->LoadGlyph(c.resource, 2);
          }
          if (c.glyphSpacing >= 0) bb->Spacing = c.glyphSpacing;
        }
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
        if (c.flags & lfAlignRight) l->Alignment = DT_RIGHT;
        if (c.focusControl) focusControls.emplace_back(l, c.focusControl);
        control = l;
        break;
      }
      case TControlKind::Edit:
      case TControlKind::UpperEdit: {
        auto* e = Create<TEdit>();
        if (c.kind == TControlKind::UpperEdit) e->CharCase = TEditCharCase::ecUpperCase;
        onChange = &e->OnChange;
        control = e;
        break;
      }
      case TControlKind::Memo: {
        auto* m = Create<TMemo>();
        m->WordWrap = (c.flags & lfWordWrap) != 0;
        m->WantReturns = (c.flags & lfWantReturns) != 0;
        onChange = &m->OnChange;
        control = m;
        break;
      }
      case TControlKind::ComboBox: {
        auto* cb = Create<TComboBox>();
        if (c.itemHeight > 0) cb->ItemHeight = c.itemHeight;
        cb->Items = ItemList(c.items);
        onChange = &cb->OnChange;
        control = cb;
        break;
      }
      case TControlKind::RadioGroup: {
        auto* rg = Create<TRadioGroup>();
        rg->Columns = c.columns;
        control = rg;
        break;
      }
      case TControlKind::Custom:
        control = CreateCustomControl(c);
        break;
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
    if (auto* l = dynamic_cast<TLabel*>(control); l && (c.flags & lfAutoSize)) {
      const int width = l->MeasureText(c.width).cx;
      const int left = (c.flags & lfAlignRight) ? c.left + c.width - width : c.left;
      l->SetBounds(left, c.top, width, c.height);
    }
    // The buttons of a radio group are laid out in its final bounds.
    if (auto* rg = dynamic_cast<TRadioGroup*>(control)) {
      rg->SetItems(ItemList(c.items));
      rg->SetItemIndex(c.itemIndex);
    }
    if (c.flags & lfHidden) control->SetVisible(false);
    if (c.flags & lfDisabled) control->SetEnabled(false);
    if (c.flags & lfNoTabStop) control->SetTabStop(false);
    if (c.onClick) {
      Method m = bind(c.onClick, c.name);
      control->OnClick = [m](TComponent& s) { m(s); };
    }
    if (c.onChange) {
      if (!onChange) throw Exception(std::string("Control ") + c.name + " has no change event");
      Method m = bind(c.onChange, c.name);
      *onChange = [m](TComponent& s) { m(s); };
    }
    if (c.tabOrder >= 0) tabOrders.emplace_back(control, c.tabOrder);
  }
  for (auto& [label, target] : focusControls) {
    label->FocusControl = Find<TWinControl>(target);
    if (!label->FocusControl) {
      throw Exception(std::string("Label ") + label->Name + " names the missing control " + target);
    }
  }
  // Placed in ascending order, each control lands at its own position whatever the table's order.
  std::stable_sort(tabOrders.begin(), tabOrders.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
  for (auto& [control, order] : tabOrders) control->SetTabOrder(order);
}

}  // namespace zelvo
