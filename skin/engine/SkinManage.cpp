#include "skin/engine/SkinManage.h"

#include <algorithm>
#include <cstdio>

#include "framework/CallbackGuard.h"
#include "framework/Forms.h"
#include "skin/engine/FormSkin.h"
#include "skin/engine/SkinTrace.h"
#include "skin/engine/WindowFacts.h"

namespace zelvo {

namespace {

std::string Hex(const char* label, unsigned long value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s %lX", label, value);
  return buf;
}

TForm* FormOfWindow(HWND window) { return dynamic_cast<TForm*>(TWinControl::FromHandle(window)); }

// The form skin seen through the manager's interface.
class TFormSkinWindow final : public ISkinWindow {
 public:
  TFormSkinWindow(TSkinManage& manager, HWND window, TSkinData& data, TForm* form)
      : skin_(std::make_unique<TFormSkin>(manager, window, data, form)), form_(form != nullptr) {}
  HWND Handle() const override { return skin_->Handle(); }
  TSkinData& SkinData() const override { return skin_->SkinData(); }
  const void* Object() const override { return static_cast<const TComponent*>(skin_.get()); }
  bool Dead() const override { return skin_->State() == TFormSkinState::Dead; }
  void Attach() override {
    if (form_) {
      skin_->AttachForm();
    } else {
      skin_->AttachWindow();
    }
  }
  void Detach() override { skin_->Detach(); }
  void DropCaptionButtons() override { skin_->DropCaptionButtons(); }
  void Layout() override { skin_->Layout(); }
  void Recolor() override { skin_->Recolor(); }

 private:
  std::unique_ptr<TFormSkin> skin_;
  bool form_;
};

std::unique_ptr<ISkinWindow> MakeFormSkinWindow(TSkinManage& manager, HWND window, TSkinData& data, TForm* form) {
  return std::make_unique<TFormSkinWindow>(manager, window, data, form);
}

}  // namespace

void UseSkinManage() {
  SetSkinManagerFactory([] { return std::make_unique<TSkinManage>(); });
}

// ---------------------------------------------------------------------------------------------
// TSkinManage

TSkinManage::TSkinManage() : factory_(MakeFormSkinWindow) {}

void TSkinManage::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  enabled_ = false;
  // Every live window gets its own procedure back while the code serving it still exists; then
  // the hook and the timer go. The objects themselves are freed with the manager.
  for (size_t i = skins_.size(); i-- > 0;) {
    if (i >= skins_.size()) continue;
    Entry& e = skins_[i];
    if (!e.skin || e.windowGone || e.skin->Dead() || !IsWindow(e.skin->Handle())) continue;
    GuardCallback(TCallbackPolicy::PostToApplication, [&] { e.skin->Detach(); });
  }
  for (auto& p : popups_) p->Unsubclass();
  StopTimer();
  hook_.Reset();
}

TSkinManage::~TSkinManage() {
  Shutdown();
  // Freed one by one, out of the list first, so a destructor that reports back finds nothing.
  while (!skins_.empty()) {
    std::unique_ptr<ISkinWindow> s = std::move(skins_.back().skin);
    skins_.pop_back();
    s.reset();
  }
  popups_.clear();
  registered_.clear();
}

TSkinManage* TSkinManage::Instance() { return dynamic_cast<TSkinManage*>(ISkinEngine::Instance()); }

void TSkinManage::SetSkinWindowFactory(TSkinWindowFactory factory) {
  factory_ = factory ? std::move(factory) : TSkinWindowFactory(MakeFormSkinWindow);
}

void TSkinManage::Register(TSkinData& data) {
  if (std::find(registered_.begin(), registered_.end(), &data) == registered_.end()) registered_.push_back(&data);
}

void TSkinManage::Unregister(TSkinData& data) {
  registered_.erase(std::remove(registered_.begin(), registered_.end(), &data), registered_.end());
  if (pending_ == &data) pending_ = nullptr;
}

void TSkinManage::InstallHook() {
  if (hook_ || shutDown_) return;
  const DWORD version = GetVersion();
  SkinTrace(Hex("Windows Version", version));
  SkinTrace("Windows Version " + std::to_string(LOBYTE(LOWORD(version))) + " " +
            std::to_string(HIBYTE(LOWORD(version))));
  const DWORD thread = GetCurrentThreadId();
  SkinTrace(Hex("ThreadId", thread));
  hook_ = UniqueHook(SetWindowsHookExA(WH_CBT, &TSkinManage::CbtProc, nullptr, thread));
  SkinTrace(Hex("HookCallback", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(hook_.Get()))));
}

void TSkinManage::Schedule(TSkinAction action, unsigned intervalMs) {
  action_ = action;
  interval_ = intervalMs;
  if (started_ != 0 && !shutDown_) {
    StartTimer();
    return;
  }
  if (action == TSkinAction::SkinAll) enabled_ = true;
  if (action == TSkinAction::UnskinAll) enabled_ = false;
}

void TSkinManage::StartTimer() {
  // SetTimer with the running timer's identifier restarts it with the new interval.
  if (timer_) {
    const UINT_PTR id = SetTimer(nullptr, timer_.Get(), interval_, &TSkinManage::TimerProc);
    if (id == timer_.Get()) return;
    timer_ = UniqueTimer(nullptr, id);  // another id (or none): the old timer goes
    if (timer_) return;
  }
  timer_ = UniqueTimer::Set(nullptr, 0, interval_, &TSkinManage::TimerProc);
}

void TSkinManage::StopTimer() { timer_.Reset(); }

void CALLBACK TSkinManage::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  TSkinManage* m = Instance();
  if (!m || id != m->timer_.Get()) {
    // A tick of a timer this manager no longer owns (a freed manager's, or a stale one).
    KillTimer(nullptr, id);
    return;
  }
  GuardCallback(TCallbackPolicy::PostToApplication, [m] { m->RunScheduled(); });
}

void TSkinManage::AttachForm(TForm& form) {
  if (!form.Visible() || !form.HandleAllocated()) return;
  const HWND h = form.HandleIfCreated();
  const bool mdiChild = (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
  if (!mdiChild && (GetWindowLongA(h, GWL_STYLE) & WS_CHILD) != 0) return;
  AttachWindow(h);
}

bool TSkinManage::PassesFormFilter(const std::string& className) const {
  auto it = std::find_if(registered_.begin(), registered_.end(),
                         [](TSkinData* d) { return d->SkinFormtype() == TSkinFormType::sfMainform; });
  if (it == registered_.end()) return true;
  TSkinData& main = **it;
  if (main.OnFormSkin) {
    bool doSkin = true;
    main.OnFormSkin(main, className, doSkin);
    return doSkin;
  }
  if (className == "SysMonthCal32") return false;
  if (main.SkinControls().Contains(TSkinControlType::xcFastReport) && className.rfind("Tfr", 0) == 0) return false;
  return true;
}

TSkinData* TSkinManage::ChooseSkinData(HWND window, const std::string& className) const {
  // Among several matches the one registered last wins.
  auto lastOf = [this](auto&& pred) -> TSkinData* {
    for (auto it = registered_.rbegin(); it != registered_.rend(); ++it) {
      if (pred(**it)) return *it;
    }
    return nullptr;
  };
  if (TSkinData* only = lastOf([window](TSkinData& d) {
        if (d.SkinFormtype() != TSkinFormType::sfOnlyThisForm) return false;
        auto* owner = dynamic_cast<TForm*>(d.Owner());
        return owner && owner->HandleAllocated() && owner->HandleIfCreated() == window;
      })) {
    return only;
  }
  const std::string lower = LowerClassName(className);
  if (lower == "tmessageform" || lower == "#32770") {
    if (TSkinData* dialog = lastOf([](TSkinData& d) { return d.SkinFormtype() == TSkinFormType::sfDialog; })) {
      return dialog;
    }
  }
  if (TSkinData* main = lastOf([](TSkinData& d) { return d.SkinFormtype() == TSkinFormType::sfMainform; })) {
    return main;
  }
  return registered_.empty() ? nullptr : registered_.front();
}

bool TSkinManage::AttachWindow(HWND window) {
  if (!enabled_ || shutDown_ || !window || !IsWindow(window)) return false;
  if (SendMessageA(window, SKIN_QUERY, 0, 0) == 1) return false;
  Purge();
  if (FindSkinForm(window)) return false;
  TForm* form = FormOfWindow(window);
  if (!forced_ && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0) {
    // An embedded child is skipped; an MDI child (parent "MDIClient") is not.
    if (LowerClassName(WindowClassName(GetParent(window))) != "mdiclient") return false;
  }
  RECT r{};
  if (!GetWindowRect(window, &r)) return false;
  if (static_cast<int64_t>(r.right - r.left) * (r.bottom - r.top) == 0) return false;
  if (form && form->Tag == kFixedFormTag) return false;
  const std::string className = WindowClassName(window);
  if (className == "TApplication" || !PassesFormFilter(className)) return false;
  TSkinData* data = ChooseSkinData(window, className);
  if (!data || data->SkinEmpty()) return false;
  std::unique_ptr<ISkinWindow> skin = factory_ ? factory_(*this, window, *data, form) : nullptr;
  if (!skin) return false;
  skin->Attach();
  skins_.push_back(Entry{std::move(skin), false});
  PostMessageA(window, SKIN_INIT, 0, kSkinInitLParam);
  return true;
}

ISkinWindow* TSkinManage::FindSkinForm(HWND window) const {
  if (!window) return nullptr;
  for (const Entry& e : skins_) {
    if (e.skin && !e.windowGone && !e.skin->Dead() && e.skin->Handle() == window) return e.skin.get();
  }
  return nullptr;
}

void TSkinManage::RemoveSkinObject(const void* object) {
  auto it = std::find_if(skins_.begin(), skins_.end(),
                         [object](const Entry& e) { return e.skin && e.skin->Object() == object; });
  if (it == skins_.end()) return;
  // Someone else is destroying it: forget it without freeing it a second time.
  (void)it->skin.release();
  skins_.erase(it);
}

std::unique_ptr<ISkinWindow> TSkinManage::Take(const ISkinWindow* skin) {
  auto it = std::find_if(skins_.begin(), skins_.end(), [&](const Entry& e) { return e.skin.get() == skin; });
  if (it == skins_.end()) return nullptr;
  std::unique_ptr<ISkinWindow> owned = std::move(it->skin);
  skins_.erase(it);
  return owned;
}

void TSkinManage::Purge() {
  for (size_t i = skins_.size(); i-- > 0;) {
    if (i >= skins_.size()) continue;  // a destructor reported back and shortened the list
    if (!skins_[i].skin || skins_[i].skin->Dead()) {
      std::unique_ptr<ISkinWindow> dead = std::move(skins_[i].skin);
      skins_.erase(skins_.begin() + static_cast<ptrdiff_t>(i));
      dead.reset();
    }
  }
}

void TSkinManage::Unskin(ISkinWindow* skin) {
  const HWND h = skin->Handle();
  std::unique_ptr<ISkinWindow> owned = Take(skin);
  if (!owned) return;
  owned->Detach();
  if (IsWindow(h)) {
    InvalidateRect(h, nullptr, TRUE);
    UpdateWindow(h);
  }
}

void TSkinManage::DropCaptionButtons() {
  for (Entry& e : skins_) {
    if (e.skin && !e.windowGone && !e.skin->Dead()) e.skin->DropCaptionButtons();
  }
}

void TSkinManage::SetMdiMaximized(bool value) {
  mdiMaximized_ = value;
  SkinTrace(value ? "***** SetMdiMax True" : "***** SetMdiMax Flase");
}

void TSkinManage::FireSkinChanged(TSkinData& data) {
  if (data.OnSkinChanged) data.OnSkinChanged(data);
}

std::vector<TForm*> TSkinManage::FormsReached(const TActionScope& scope) const {
  if (!Application) return {};
  const std::vector<TForm*> forms = Application->Forms();
  if (!scope.onlyItsForm) return std::vector<TForm*>(forms.rbegin(), forms.rend());
  auto* owner = dynamic_cast<TForm*>(scope.data->Owner());
  if (!owner || std::find(forms.begin(), forms.end(), owner) == forms.end()) return {};
  return {owner};
}

std::vector<ISkinWindow*> TSkinManage::SkinsUsing(const TSkinData* data) const {
  std::vector<ISkinWindow*> out;
  for (const Entry& e : skins_) {
    if (e.skin && !e.windowGone && !e.skin->Dead() && (!data || &e.skin->SkinData() == data)) {
      out.push_back(e.skin.get());
    }
  }
  return out;
}

bool TSkinManage::Listed(const ISkinWindow* skin) const {
  return std::any_of(skins_.begin(), skins_.end(), [skin](const Entry& e) { return e.skin.get() == skin; });
}

void TSkinManage::RunScheduled() {
  StopTimer();
  TSkinData* data = pending_;
  if (!data || !action_) return;
  const TActionScope scope{data, data->SkinFormtype() == TSkinFormType::sfOnlyThisForm};
  // Only this form: one window at most, the last skinned with the component to unskin, the
  // first to change.
  auto limit = [&scope](std::vector<ISkinWindow*> skins) {
    if (scope.onlyItsForm && skins.size() > 1) skins.resize(1);
    return skins;
  };
  switch (*action_) {
    case TSkinAction::SkinAll:
      enabled_ = true;
      forced_ = true;
      if (!scope.onlyItsForm) Purge();
      for (TForm* form : FormsReached(scope)) AttachForm(*form);
      forced_ = false;
      break;
    case TSkinAction::UnskinAll: {
      enabled_ = false;
      Purge();
      std::vector<ISkinWindow*> skins = SkinsUsing(scope.onlyItsForm ? data : nullptr);
      std::reverse(skins.begin(), skins.end());
      for (ISkinWindow* s : limit(std::move(skins)))
        if (Listed(s)) Unskin(s);
      break;
    }
    case TSkinAction::SkinChanged: {
      Purge();
      const std::vector<ISkinWindow*> skins = limit(SkinsUsing(data));
      for (ISkinWindow* s : skins) {
        if (!Listed(s)) continue;
        s->DropCaptionButtons();
        s->Layout();
      }
      for (ISkinWindow* s : skins)
        if (Listed(s)) s->Recolor();
      // An open popup menu shows the new skin too.
      for (const auto& p : popups_)
        if (&p->SkinData() == data) p->SkinChanged();
      break;
    }
    case TSkinAction::Purge:
      Purge();
      break;
  }
  // The handler may schedule again; the component stays pending only through this call.
  if (pending_ == data) {
    pending_ = nullptr;
    FireSkinChanged(*data);
  }
}

// ---------------------------------------------------------------------------------------------
// Popup menus

TPopupMenuSkin* TSkinManage::FindPopup(HWND window) const {
  for (const auto& p : popups_) {
    if (p->Handle() == window) return p.get();
  }
  return nullptr;
}

bool TSkinManage::IsPopupSkinned(HWND window) const { return FindPopup(window) != nullptr; }

TPopupMenuSkin* TSkinManage::FindPopupByMenu(HMENU menu) const {
  if (!menu) return nullptr;
  for (const auto& p : popups_) {
    if (p->Menu() == menu) return p.get();
  }
  return nullptr;
}

void TSkinManage::SkinPopupMenu(HWND window) {
  if (!enabled_ || shutDown_ || IsPopupSkinned(window)) return;
  if (SendMessageA(window, SKIN_QUERY, 0, 0) == 1) return;
  TSkinData* data = ChooseSkinData(window, WindowClassName(window));
  // Popup menus follow the main-menu switch.
  if (!data || data->SkinEmpty() || !data->SkinControls().Contains(TSkinControlType::xcMainMenu)) return;
  std::unique_ptr<TPopupMenuSkin> popup;
  try {
    popup = std::make_unique<TPopupMenuSkin>(*this, window, *data);
  } catch (const Exception&) {
    return;  // a window that cannot be subclassed keeps its own look
  }
  if (!popup->Subclassed()) return;
  popup->SetBelongsToMenuBar(menuTracking_);
  popups_.push_back(std::move(popup));
}

void TSkinManage::UnskinPopupMenu(HWND window) {
  auto it = std::find_if(popups_.begin(), popups_.end(), [window](const auto& p) { return p->Handle() == window; });
  if (it == popups_.end()) return;
  std::unique_ptr<TPopupMenuSkin> popup = std::move(*it);
  popups_.erase(it);
  popup.reset();  // restores the window procedure
  if (popups_.empty()) menuTracking_ = false;
}

// ---------------------------------------------------------------------------------------------
// The CBT hook

LRESULT CALLBACK TSkinManage::CbtProc(int code, WPARAM wp, LPARAM lp) {
  TSkinManage* m = Instance();
  if (m && code >= 0) {
    bool refuse = false;
    const LRESULT r =
        GuardCallback(TCallbackPolicy::PostToApplication, [&] { return m->OnCbt(code, wp, lp, refuse); }, LRESULT{0});
    if (refuse) return r;
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT TSkinManage::OnCbt(int code, WPARAM wp, LPARAM lp, bool& refuse) {
  const HWND window = reinterpret_cast<HWND>(wp);
  switch (code) {
    case HCBT_CREATEWND: {
      const std::string className = WindowClassName(window);
      if (className == "ScrollBar") {
        const auto* cbt = reinterpret_cast<const CBT_CREATEWNDA*>(lp);
        const CREATESTRUCTA* cs = cbt ? cbt->lpcs : nullptr;
        // The skinned frame draws its own corner: the size grip would sit on top of it.
        if (cs && (cs->style & SBS_SIZEGRIP) != 0 && FindSkinForm(cs->hwndParent)) {
          refuse = true;
          return kSizeGripRefusal;
        }
      } else if (className == "#32768") {
        SkinPopupMenu(window);
      }
      break;
    }
    case HCBT_DESTROYWND:
      UnskinPopupMenu(window);
      // From here on the handle value may be reused: this window's skin object is never matched
      // again, whatever state it reaches.
      for (Entry& e : skins_) {
        if (e.skin && e.skin->Handle() == window) e.windowGone = true;
      }
      break;
    case HCBT_ACTIVATE:
      if (started_ == 0) started_ = 1;
      AttachWindow(window);
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace zelvo
