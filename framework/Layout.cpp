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
  ApplyFormProperties(def);
  CheckTableBindings(def, [this](std::string_view name) { return static_cast<bool>(MethodAddress(name)); });
  BindFormEvents(def);

  std::vector<std::pair<TWinControl*, int>> tabOrders;
  std::vector<std::pair<TLabel*, const char*>> focusControls;
  for (const TControlDef& c : def.controls) {
    TNotifyEvent* onChange = nullptr;
    TWinControl* control = MakeControl(c, onChange);
    PlaceControl(*control, c, def);
    BindControlEvents(*control, c, onChange);
    if (c.kind == TControlKind::Label && c.focusControl) {
      focusControls.emplace_back(static_cast<TLabel*>(control), c.focusControl);
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

void TTableForm::ApplyFormProperties(const TFormDef& def) {
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
}

TTableForm::Method TTableForm::Bind(const char* handler, const std::string& control) {
  bindings_.emplace_back(control, handler);
  return MethodAddress(handler);
}

void TTableForm::BindFormEvents(const TFormDef& def) {
  if (def.onCreate) {
    Method m = Bind(def.onCreate, def.name);
    OnCreate = [m](TComponent& s) { m(s); };
  }
  if (def.onCloseQuery) {
    Method m = Bind(def.onCloseQuery, def.name);
    OnCloseQuery = [m](TForm& f, bool&) { m(f); };
  }
}

namespace {
TWinControl* MakeImage(TComponent& owner, const TControlDef& c) {
  auto* img = owner.Create<TImage>();
  img->Stretch = (c.flags & lfStretch) != 0;
  img->Transparent = (c.flags & lfTransparent) != 0;
  if (c.resource && c.kind == TControlKind::Picture) img->LoadBitmap(c.resource);
  if (c.resource && c.kind == TControlKind::Icon) img->SetIcon(LoadSharedIcon(c.resource));
  return img;
}

TWinControl* MakeButton(TComponent& owner, const TControlDef& c) {
  TButton* b = nullptr;
  if (c.kind == TControlKind::BitBtn) {
    auto* bb = owner.Create<TBitBtn>();
    if (c.bitBtnKind != TBitBtnKind::bkCustom) bb->SetKind(c.bitBtnKind);
    if (c.resource && c.disabledGlyph) {
      bb->SetGlyph(JoinGlyphFrames(c.resource, c.disabledGlyph), 2);
    } else if (c.resource) {
      bb->LoadGlyph(c.resource, 2);
    }
    if (c.glyphSpacing >= 0) bb->Spacing = c.glyphSpacing;
    b = bb;
  } else {
    b = owner.Create<TButton>();
  }
  b->Default = (c.flags & lfDefault) != 0;
  b->Cancel = (c.flags & lfCancel) != 0;
  b->ModalResult = c.modalResult;
  b->SetActiveDefault(b->Default);
  return b;
}

TWinControl* MakeLabel(TComponent& owner, const TControlDef& c) {
  auto* l = owner.Create<TLabel>();
  l->WordWrap = (c.flags & lfWordWrap) != 0;
  l->Transparent = (c.flags & lfTransparent) != 0;
  if (c.flags & lfAlignRight) l->Alignment = DT_RIGHT;
  return l;
}

// A control with a change event, which `onChange` is set to.
template <class T>
T* MakeEditing(TComponent& owner, TNotifyEvent*& onChange) {
  T* control = owner.Create<T>();
  onChange = &control->OnChange;
  return control;
}
}  // namespace

TWinControl* TTableForm::MakeControl(const TControlDef& c, TNotifyEvent*& onChange) {
  switch (c.kind) {
    case TControlKind::Picture:
    case TControlKind::Icon:
      return MakeImage(*this, c);
    case TControlKind::Button:
    case TControlKind::BitBtn:
      return MakeButton(*this, c);
    case TControlKind::Label:
      return MakeLabel(*this, c);
    case TControlKind::Edit:
    case TControlKind::UpperEdit: {
      auto* e = MakeEditing<TEdit>(*this, onChange);
      if (c.kind == TControlKind::UpperEdit) e->CharCase = TEditCharCase::ecUpperCase;
      return e;
    }
    case TControlKind::Memo: {
      auto* m = MakeEditing<TMemo>(*this, onChange);
      m->WordWrap = (c.flags & lfWordWrap) != 0;
      m->WantReturns = (c.flags & lfWantReturns) != 0;
      return m;
    }
    case TControlKind::ComboBox: {
      auto* cb = MakeEditing<TComboBox>(*this, onChange);
      if (c.itemHeight > 0) cb->ItemHeight = c.itemHeight;
      cb->Items = ItemList(c.items);
      return cb;
    }
    case TControlKind::RadioGroup: {
      auto* rg = Create<TRadioGroup>();
      rg->Columns = c.columns;
      return rg;
    }
    case TControlKind::Custom:
      if (TWinControl* custom = CreateCustomControl(c)) return custom;
      break;
  }
  throw Exception(std::string("Form ") + Name + " cannot create the control " + c.name);
}

void TTableForm::PlaceControl(TWinControl& control, const TControlDef& c, const TFormDef& form) {
  control.Name = c.name;
  if (c.caption) control.SetCaption(c.caption);
  control.SetParent(this);
  if (c.flags & lfAlignClient) control.Align = TAlign::alClient;
  const TRectI bounds = TableBounds(c, form.clientWidth, form.clientHeight);
  control.SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
  if (auto* l = dynamic_cast<TLabel*>(&control); l && (c.flags & lfAutoSize)) {
    const TRectI sized = AutoSizedBounds(c, l->MeasureText(c.width).cx);
    l->SetBounds(sized.left, sized.top, sized.Width(), sized.Height());
  }
  // The buttons of a radio group are laid out in its final bounds.
  if (auto* rg = dynamic_cast<TRadioGroup*>(&control)) {
    rg->SetItems(ItemList(c.items));
    rg->SetItemIndex(c.itemIndex);
  }
  if (c.flags & lfHidden) control.SetVisible(false);
  if (c.flags & lfDisabled) control.SetEnabled(false);
  if (c.flags & lfNoTabStop) control.SetTabStop(false);
}

void TTableForm::BindControlEvents(TWinControl& control, const TControlDef& c, TNotifyEvent* onChange) {
  if (c.onClick) {
    Method m = Bind(c.onClick, c.name);
    control.OnClick = [m](TComponent& s) { m(s); };
  }
  if (c.onChange && onChange) {
    Method m = Bind(c.onChange, c.name);
    *onChange = [m](TComponent& s) { m(s); };
  }
}

}  // namespace zelvo
