// TSkinManage: the one process-wide object that finds the windows to skin and ties each of them
// to a skin.
//
// It watches window creation, activation and destruction on the user-interface thread through a
// WH_CBT hook, decides for each top-level window whether and with which TSkinData it is skinned,
// creates the per-window skin object, subclasses popup-menu windows ("#32768") with
// TPopupMenuSkin, and carries out what the skin components schedule (skin all, unskin all, skin
// changed, purge) on a 250 ms one-shot timer.
//
// Ownership. The manager owns every per-window skin object (a list of unique_ptr, in attach
// order) and every popup-menu skin. A framework form is named as its skin object's owner but
// never frees it: the object outlives nothing it points to because
//   - the object turns Dead at its window's WM_NCDESTROY and the manager frees it at the next
//     Purge (a Dead object is never matched to a window again, even one that reuses the handle
//     value; the manager also stops matching an object as soon as the hook reports its window's
//     destruction);
//   - the manager itself is owned by the application and torn down before the forms: it detaches
//     every live window first, then removes its hook and timer, then frees the objects.
//
// The per-window object is seen through ISkinWindow, so the manager can be tested with doubles;
// the form skin stands behind it (see MakeFormSkinWindow in SkinManage.cpp). The per-window parts
// see the manager in turn only through ISkinEngine: the manager sits above them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Handles.h"
#include "skin/engine/PopupMenuSkin.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinManagerSeam.h"
#include "skin/engine/SkinMessages.h"

namespace zelvo {

class TForm;
class TSkinManage;

// What the manager needs of a per-window skin object.
class ISkinWindow {
 public:
  virtual ~ISkinWindow() = default;
  virtual HWND Handle() const = 0;
  virtual TSkinData& SkinData() const = 0;
  // The object that does the skinning (itself, or the form skin it wraps): its identity when it
  // reports back from its destructor.
  virtual const void* Object() const { return this; }
  // The window has handled its final WM_NCDESTROY; only freeing is left.
  virtual bool Dead() const = 0;
  // Attaches to the window: as a framework form when the object was made with one, else as a
  // foreign window.
  virtual void Attach() = 0;
  // Unskins: restores the window exactly as it was before Attach.
  virtual void Detach() = 0;
  virtual void DropCaptionButtons() = 0;
  // Recomputes the frame sizes and rebuilds the caption buttons from the current skin.
  virtual void Layout() = 0;
  virtual void Recolor() = 0;
};

// Makes the skin object for a window (form is nullptr for a foreign window).
using TSkinWindowFactory =
    std::function<std::unique_ptr<ISkinWindow>(TSkinManage& manager, HWND window, TSkinData& data, TForm* form)>;

class TSkinManage : public ISkinManager, public ISkinEngine {
 public:
  static constexpr int kFixedFormTag = 99;  // a framework form with this Tag is never skinned
  // What the hook answers when it refuses a size grip's creation.
  static constexpr int kSizeGripRefusal = 10;

  TSkinManage();
  ~TSkinManage() override;
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  // The manager of this process, or nullptr (the hook and timer callbacks find it here).
  static TSkinManage* Instance();

  // Leaves every window alone from now on: detaches each live skinned window and popup menu,
  // then removes the hook and the timer. The application calls it before freeing the manager
  // and before any form is destroyed; the destructor calls it when nobody did.
  void Shutdown() override;

  // ISkinManager: what the skin components ask.
  void Register(TSkinData& data) override;
  void Unregister(TSkinData& data) override;
  void InstallHook() override;
  void Schedule(TSkinAction action, unsigned intervalMs) override;
  void SetPending(TSkinData* data) override { pending_ = data; }
  void EnableSkinning(bool enabled) override { enabled_ = enabled; }
  void MarkStarted() override {
    if (started_ == 0) started_ = 1;
  }
  void AttachForm(TForm& form) override;
  void DropCaptionButtons() override;

  // Skins a window when every condition holds; True when a skin object was made.
  bool AttachWindow(HWND window);
  // The live skin object of a window (never a Dead one, never one whose window is being or has
  // been destroyed), or nullptr.
  ISkinWindow* FindSkinForm(HWND window) const;
  // Forgets a skin object without freeing it: for its destructor. When the manager frees an
  // object it takes it out of the list first, so then nothing is found. Matched by identity,
  // never by handle: a handle value may name a newer window by then.
  void RemoveSkinForm(const ISkinWindow& skin) { RemoveSkinObject(skin.Object()); }
  void RemoveSkinForm(const TComponent& formSkin) override { RemoveSkinObject(&formSkin); }
  // Removes and frees every Dead skin object (from the last to the first).
  void Purge();
  // Runs the pending action now (what the timer does when it fires).
  void RunScheduled();

  void SkinPopupMenu(HWND window);
  void UnskinPopupMenu(HWND window);
  bool IsPopupSkinned(HWND window) const;
  TPopupMenuSkin* FindPopup(HWND window) const override;
  // The skinned popup window showing this menu, or nullptr.
  TPopupMenuSkin* FindPopupByMenu(HMENU menu) const override;

  // A skinned menu bar has a popup open: popups made meanwhile belong to it.
  bool MenuTracking() const override { return menuTracking_; }
  void SetMenuTracking(bool value) override { menuTracking_ = value; }
  bool MdiMaximized() const override { return mdiMaximized_; }
  void SetMdiMaximized(bool value) override;
  HWND MdiClient() const override { return mdiClient_; }
  void SetMdiClient(HWND client) override { mdiClient_ = client; }

  // Replaces how skin objects are made (tests use doubles; the default makes form skins).
  void SetSkinWindowFactory(TSkinWindowFactory factory);

  // State, for the form skin and for tests.
  bool SkinningEnabled() const override { return enabled_; }
  bool Forced() const { return forced_; }
  int Started() const { return started_; }
  bool HookInstalled() const { return static_cast<bool>(hook_); }
  bool TimerRunning() const { return static_cast<bool>(timer_); }
  std::optional<TSkinAction> PendingAction() const { return action_; }
  TSkinData* Pending() const { return pending_; }
  const std::vector<TSkinData*>& Registered() const { return registered_; }
  size_t SkinnedCount() const { return skins_.size(); }
  ISkinWindow* SkinnedAt(size_t i) const { return skins_[i].skin.get(); }
  size_t PopupCount() const { return popups_.size(); }

  // The decision rules, exposed for tests.
  // Which component serves a window of this class (nullptr: none).
  TSkinData* ChooseSkinData(HWND window, const std::string& className) const;
  // Whether the form filter lets windows of this class be skinned.
  bool PassesFormFilter(const std::string& className) const;

 private:
  struct Entry {
    std::unique_ptr<ISkinWindow> skin;
    // The hook saw the window's destruction begin: the handle value may be reused from now on.
    bool windowGone = false;
  };

  static LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp);
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
  LRESULT OnCbt(int code, WPARAM wp, LPARAM lp, bool& refuse);
  void StartTimer();
  void StopTimer();
  // Detaches, repaints, removes and frees one skin object.
  void Unskin(ISkinWindow* skin);
  // Takes a skin object out of the list (ownership to the caller), or an empty pointer.
  std::unique_ptr<ISkinWindow> Take(const ISkinWindow* skin);
  void RemoveSkinObject(const void* object);
  void FireSkinChanged(TSkinData& data);
  // Which windows a scheduled action reaches: a component of the only-this-form type only its
  // own form's window, any other component every window.
  struct TActionScope {
    TSkinData* data;
    bool onlyItsForm;
  };
  // The forms SkinAll attaches, in the order it attaches them.
  std::vector<TForm*> FormsReached(const TActionScope& scope) const;
  // The live skin objects (window not gone, not Dead) skinned with `data` (nullptr: with any
  // component), in list order: a snapshot, since the actions change the list.
  std::vector<ISkinWindow*> SkinsUsing(const TSkinData* data) const;
  // Whether a skin object of such a snapshot is still in the list.
  bool Listed(const ISkinWindow* skin) const;

  // The CBT hook of this thread and the one-shot thread timer of the scheduled actions (a
  // thread timer: no window, the id is the one the system chose). Shutdown lets both go.
  UniqueHook hook_;
  UniqueTimer timer_;
  bool shutDown_ = false;
  unsigned interval_ = kSkinActionDelayMs;
  std::vector<Entry> skins_;
  std::vector<std::unique_ptr<TPopupMenuSkin>> popups_;
  std::vector<TSkinData*> registered_;
  bool enabled_ = false;
  bool forced_ = false;
  int started_ = 0;
  bool menuTracking_ = false;
  bool mdiMaximized_ = false;
  HWND mdiClient_ = nullptr;
  std::optional<TSkinAction> action_;
  TSkinData* pending_ = nullptr;
  TSkinWindowFactory factory_;
};

// Installs the real manager as the one the skin components create.
void UseSkinManage();

}  // namespace zelvo
