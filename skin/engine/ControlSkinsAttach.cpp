// Choosing and attaching control skins: the walk over a framework form's components (by the
// portable choice rules, with the application's own handler first), the foreign child windows of
// a window the framework did not make, the common controls found among a window's descendants,
// and the up-down companions of edits.
#include <windows.h>
#include <commctrl.h>

#include <cctype>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/EditCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/SpeedButtons.h"
#include "framework/StdCtrls.h"
#include "skin/engine/ControlSkins.h"
#include "skin/engine/ControlSkinsLists.h"
#include "skin/engine/ControlSkinsScroll.h"
#include "skin/engine/MenuSkin.h"
#include "skin/engine/SkinTrace.h"
#include "skin/engine/WindowFacts.h"

namespace zelvo {

namespace {

BOOL CALLBACK CollectWindow(HWND h, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}

// Every descendant of the window, in the order the system lists them.
std::vector<HWND> Descendants(HWND window) {
  std::vector<HWND> windows;
  EnumChildWindows(window, CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// Attaches `skin` to a window by its handle and gives it to the form skin. False when the window
// cannot be subclassed (another thread's window, or one gone meanwhile): it stays native.
bool AdoptByHandle(TSkinHost& fs, TSkinData& data, std::unique_ptr<TSkinControl> skin, HWND window) {
  if (!skin) return false;
  try {
    skin->AttachHandle(window, data, &fs);
  } catch (...) {
    return false;
  }
  fs.ControlSkins().push_back(std::move(skin));
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Making and finding

std::unique_ptr<TSkinControl> MakeControlSkin(ControlSkinClass kind, bool thumbDragging) {
  switch (kind) {
    case ControlSkinClass::TSkinScrollbar:
    case ControlSkinClass::TSkinScControl: {
      std::unique_ptr<TSkinScrollbar> s;
      if (kind == ControlSkinClass::TSkinScrollbar) {
        s = std::make_unique<TSkinScrollbar>();
      } else {
        s = std::make_unique<TSkinScControl>();
      }
      s->SetThumbDragging(thumbDragging);
      return s;
    }
    case ControlSkinClass::TSkinProgress: return std::make_unique<TSkinProgress>();
    case ControlSkinClass::TSkinUpDown: return std::make_unique<TSkinUpDown>();
    case ControlSkinClass::TSkinSpeedButton: return std::make_unique<TSkinSpeedButton>();
    case ControlSkinClass::TSkinBox: return std::make_unique<TSkinBox>();
    case ControlSkinClass::TSkinSizer: return std::make_unique<TSkinSizer>();
    case ControlSkinClass::TSkinButton: return std::make_unique<TSkinButton>();
    case ControlSkinClass::TSkinBitButton: return std::make_unique<TSkinBitButton>();
    case ControlSkinClass::TSkinCheckBox: return std::make_unique<TSkinCheckBox>();
    case ControlSkinClass::TSkinRadioButton: return std::make_unique<TSkinRadioButton>();
    case ControlSkinClass::TSkinEdit: return std::make_unique<TSkinEdit>();
    case ControlSkinClass::TSkinGroupBox: return std::make_unique<TSkinGroupBox>();
    case ControlSkinClass::TSkinComBox: return std::make_unique<TSkinComBox>();
    default: return MakeListControlSkin(kind);
  }
}

TSkinControl* FindControlSkin(TSkinHost& formSkin, HWND window) {
  for (auto& c : formSkin.ControlSkins()) {
    auto* s = dynamic_cast<TSkinControl*>(c.get());
    if (s && s->Handle() == window && !s->Dead()) return s;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------------------------
// The walk over a framework form's components

namespace {

bool Covered(TSkinHost& fs, TComponent* c) {
  for (auto& p : fs.ControlSkins()) {
    if (p.get() == c) return true;
    auto* s = dynamic_cast<TSkinControl*>(p.get());
    if (!s) continue;
    if (s->Control() == c) return true;
    auto* wc = dynamic_cast<TWinControl*>(c);
    if (wc && wc->HandleAllocated() && s->Handle() == wc->HandleIfCreated()) return true;
  }
  return false;
}

ComponentDescription Describe(TComponent& c) {
  ComponentDescription d;
  d.ClassName = c.ClassName();
  d.Tag = c.Tag;
  uint32_t k = 0;
  auto add = [&](bool on, ComponentKind kind) {
    if (on) k |= static_cast<uint32_t>(kind);
  };
  auto* wc = dynamic_cast<TWinControl*>(&c);
  add(wc != nullptr, ComponentKind::WinControl);
  add(c.Is<TCustomEdit>(), ComponentKind::Edit);
  add(c.Is<TMemo>(), ComponentKind::Memo);
  add(c.Is<TComboBox>(), ComponentKind::ComboBox);
  add(c.Is<TRadioGroup>(), ComponentKind::RadioGroup);
  add(c.Is<TCheckBox>(), ComponentKind::CheckBox);
  add(c.Is<TRadioButton>(), ComponentKind::RadioButton);
  add(c.Is<TButtonControl>(), ComponentKind::PushButton);
  add(c.Is<TBitBtn>(), ComponentKind::BitButton);
  add(c.Is<TSpeedButton>(), ComponentKind::SpeedButton);
  add(c.Is<TForm>() && wc && wc->Parent() != nullptr, ComponentKind::EmbeddedForm);
  add(c.Is<TPopupMenu>(), ComponentKind::PopupMenu);
  d.Kinds = k;
  d.HasHandle = wc && wc->HandleAllocated();
  return d;
}

std::string Upper(std::string s) {
  for (char& ch : s) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return s;
}

struct Walker {
  TSkinHost& fs;
  TSkinData& data;
  TForm* form;
  ControlChoiceSettings settings;

  void Add(std::unique_ptr<TSkinControl> skin) { fs.ControlSkins().push_back(std::move(skin)); }

  void AttachTo(ControlSkinClass kind, TWinControl& wc, bool recolour, bool byHandle, bool thumbDragging = false) {
    if (Covered(fs, &wc)) return;
    auto skin = MakeControlSkin(kind, thumbDragging);
    if (!skin) return;  // a control kind this program does not skin yet stays native
    if (byHandle) {
      skin->AttachHandle(wc.Handle(), data, &fs);
    } else {
      skin->Attach(&fs, data, wc, recolour);
    }
    Add(std::move(skin));
    if (kind == ControlSkinClass::TSkinEdit) AttachUpDownCompanions(fs, data, wc.Handle());
  }

  void WalkControls(TWinControl& parent) {
    std::vector<TWinControl*> children = parent.Controls();
    for (TWinControl* child : children) Walk(*child, &parent);
  }

  void Walk(TComponent& c, TWinControl* parent) {
    ComponentDescription d = Describe(c);
    ControlChoiceState state;
    state.AlreadyCovered = Covered(fs, &c);
    auto* wc = dynamic_cast<TWinControl*>(&c);
    if (wc && NeedsHandleCreation(d, settings, state)) {
      try {
        wc->Handle();
        d.HasHandle = true;
      } catch (...) {
        d.GetsHandle = false;
      }
    }
    std::unique_ptr<TComponent> supplied;
    if (data.OnSkinControl && wc && !state.AlreadyCovered && c.Tag % 100 != settings.DisableTag) {
      data.OnSkinControl(fs, data, parent ? parent : form, wc, Upper(d.ClassName), supplied);
      state.HandlerSuppliedSkin = dynamic_cast<TSkinControl*>(supplied.get()) != nullptr;
    }
    Act(ChooseControlSkin(d, settings, state), c, wc, std::move(supplied));
  }

  // Carries out the choice made for component `c` (`wc`: the same as a windowed control).
  void Act(const ControlSkinChoice& choice, TComponent& c, TWinControl* wc, std::unique_ptr<TComponent> supplied) {
    switch (choice.Action) {
      case ControlChoiceAction::UseSupplied: {
        std::unique_ptr<TSkinControl> owned(static_cast<TSkinControl*>(supplied.release()));
        if (wc && !owned->IsAttached()) owned->Attach(&fs, data, *wc, false);
        Add(std::move(owned));
        return;
      }
      case ControlChoiceAction::WalkChildren:
      case ControlChoiceAction::WalkPages:
        if (wc) WalkControls(*wc);
        return;
      case ControlChoiceAction::Skin:
        if (!wc) return;
        if (choice.ChildSkin != ControlSkinClass::None) {
          std::vector<TWinControl*> children = wc->Controls();
          for (TWinControl* child : children) AttachTo(choice.ChildSkin, *child, false, false);
        }
        if (!choice.SetTrueProperty.empty()) {
          TPropInfo info = c.GetPropInfo(choice.SetTrueProperty);
          if (info.exists && info.isEnum) c.SetOrdProp(choice.SetTrueProperty, 1);
        }
        AttachTo(choice.Skin, *wc, choice.Recolour, choice.ByHandle, choice.ThumbDragging);
        if (choice.WalkChildrenAfter) WalkControls(*wc);
        return;
      case ControlChoiceAction::OwnerDrawMenu:
        if (auto* popup = dynamic_cast<TPopupMenu*>(&c)) {
          for (auto& p : fs.ControlSkins()) {
            auto* link = dynamic_cast<TSkinPopupMenuLink*>(p.get());
            if (link && link->Menu() == popup) return;
          }
          fs.ControlSkins().push_back(std::make_unique<TSkinPopupMenuLink>(data, *popup, form));
        }
        return;
      default:
        return;
    }
  }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Windows the framework did not make

namespace {

void AttachForeignChildren(TSkinHost& fs, TSkinData& data) {
  for (HWND child : Descendants(fs.Handle())) {
    ForeignChildDescription d{WindowClassName(child), static_cast<uint32_t>(GetWindowLongA(child, GWL_STYLE))};
    ForeignChildChoice choice = ChooseForeignChildSkin(d);
    HWND target = child;
    if (choice.Action == ForeignChildAction::SkinFirstChild) target = GetWindow(child, GW_CHILD);
    if (choice.Action == ForeignChildAction::Leave || !target || FindControlSkin(fs, target)) continue;
    if (!AdoptByHandle(fs, data, MakeControlSkin(choice.Skin), target)) continue;
    if (choice.Skin == ControlSkinClass::TSkinEdit) AttachUpDownCompanions(fs, data, target);
  }
}

}  // namespace

void AttachUpDownCompanions(TSkinHost& formSkin, TSkinData& data, HWND edit) {
  if (!edit || !IsWindow(edit)) return;
  std::vector<HWND> companions;
  for (HWND c = GetWindow(edit, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (IsUpDownCompanionClass(WindowClassName(c))) companions.push_back(c);
  }
  // The common up-down control usually sits beside its buddy rather than inside it.
  if (HWND parent = GetParent(edit)) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      if (LowerClassName(WindowClassName(c)) == "msctls_updown32" &&
          reinterpret_cast<HWND>(SendMessageA(c, UDM_GETBUDDY, 0, 0)) == edit) {
        companions.push_back(c);
      }
    }
  }
  for (HWND c : companions) {
    if (!FindControlSkin(formSkin, c)) AdoptByHandle(formSkin, data, std::make_unique<TSkinUpDown>(), c);
  }
}

// ---------------------------------------------------------------------------------------------
// Common controls among a window's descendants

ControlSkinClass CommonControlSkinOf(const char* windowClass, DWORD style) {
  const std::string c = LowerClassName(windowClass ? windowClass : "");
  if (c == "msctls_statusbar32") return ControlSkinClass::TSkinStatusBar;
  if (c == "systabcontrol32") return (style & TCS_OWNERDRAWFIXED) ? ControlSkinClass::None : ControlSkinClass::TSkinTab;
  if (c == "msctls_trackbar32") return ControlSkinClass::TSkinTrackBar;
  if (c == "sysheader32") return ControlSkinClass::TSkinHeader;
  if (c == "syslistview32") return ControlSkinClass::TSkinListView;
  return ControlSkinClass::None;
}

namespace {

bool Allowed(const TSkinData& data, ControlSkinClass kind) {
  const TSkinControlTypes sw = data.SkinControls();
  switch (kind) {
    case ControlSkinClass::TSkinStatusBar: return sw.Contains(TSkinControlType::xcStatusBar);
    case ControlSkinClass::TSkinTab: return sw.Contains(TSkinControlType::xcTab) && data.Skin().Tabs != nullptr;
    case ControlSkinClass::TSkinTrackBar: return sw.Contains(TSkinControlType::xcButton);
    case ControlSkinClass::TSkinHeader:
    case ControlSkinClass::TSkinListView: return sw.Contains(TSkinControlType::xcScrollbar);
    default: return false;
  }
}

}  // namespace

void AttachCommonControlSkins(TSkinHost& formSkin) {
  TSkinData& data = formSkin.SkinData();
  if (data.SkinEmpty()) return;
  for (HWND h : Descendants(formSkin.Handle())) {
    // Framework components went through the form's choice (their Tag may exempt them).
    if (TWinControl::FromHandle(h) || FindControlSkin(formSkin, h)) continue;
    const ControlSkinClass kind =
        CommonControlSkinOf(WindowClassName(h).c_str(), static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)));
    if (kind == ControlSkinClass::None || !Allowed(data, kind)) continue;
    // A list view's header belongs to the list view's skin.
    if (kind == ControlSkinClass::TSkinHeader && LowerClassName(WindowClassName(GetParent(h))) == "syslistview32")
      continue;
    AdoptByHandle(formSkin, data, MakeListControlSkin(kind), h);
  }
}

// ---------------------------------------------------------------------------------------------
// Attaching and detaching all

void AttachControlSkins(TSkinHost& formSkin) {
  TSkinData& data = formSkin.SkinData();
  if (data.SkinEmpty()) return;
  TForm* form = formSkin.Form();
  if (!form) {
    AttachForeignChildren(formSkin, data);
    AttachCommonControlSkins(formSkin);
    return;
  }
  Walker w{formSkin, data, form, {}};
  w.settings.SkinControls = data.SkinControls();
  w.settings.DisableTag = data.DisableTag();
  w.settings.Skin3rd = &data.Skin3rd();
  w.settings.SkinHasTabs = data.Skin().Tabs != nullptr;
  w.settings.FormName = form->Name;
  w.settings.FormClassName = form->ClassName();
  for (TComponent* c : form->Components()) w.Walk(*c, form);
  AttachCommonControlSkins(formSkin);
}

void DetachControlSkins(TSkinHost& formSkin) {
  auto& list = formSkin.ControlSkins();
  // Taken out of the list first: a control skin's detach may repaint and reach the form skin.
  std::vector<std::unique_ptr<TComponent>> skins;
  skins.swap(list);
  for (auto& c : skins) {
    if (auto* s = dynamic_cast<TSkinControl*>(c.get())) s->Detach();
  }
  skins.clear();
}

}  // namespace zelvo
