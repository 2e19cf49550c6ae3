// The process-wide skin manager, seen from the skin component.
//
// The manager finds the windows to skin through a window hook and carries out the actions the
// components schedule. The component needs only this narrow face of it; the manager's own unit
// implements it and installs a factory with SetSkinManagerFactory. Until then the null manager
// keeps the bookkeeping (registrations, hook request, pending action) and skins nothing.
//
// The manager is an application service: the application owns it and shuts it down (every
// window detached, then its hooks and timers removed) and frees it before any form is destroyed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "framework/ApplicationService.h"

namespace zelvo {

class TForm;
class TSkinData;

// Scheduled actions, with the codes they are stored under.
enum class TSkinAction : int32_t { SkinAll = 1, UnskinAll = 2, SkinChanged = 3, Purge = 6 };
inline constexpr unsigned kSkinActionDelayMs = 250;

class ISkinManager : public TApplicationService {
 public:
  // Registering a registered component changes nothing. Unregistering also forgets it as the
  // pending component.
  virtual void Register(TSkinData& data) = 0;
  virtual void Unregister(TSkinData& data) = 0;
  // Installs the window hook for the current thread (the main component does this once).
  virtual void InstallHook() = 0;
  // Stores the action and arms the one-shot timer; before the first window has been activated
  // it only switches skinning on (SkinAll) or off (UnskinAll).
  virtual void Schedule(TSkinAction action, unsigned intervalMs) = 0;
  // The component the next scheduled action applies to (nullptr: none).
  virtual void SetPending(TSkinData* data) = 0;
  // A component that does not serve the main form switches skinning on and counts the manager
  // as started at once, then attaches its own form.
  virtual void EnableSkinning(bool enabled) = 0;
  virtual void MarkStarted() = 0;
  virtual void AttachForm(TForm& form) = 0;
  // Before a new skin is applied every skinned window drops its caption buttons.
  virtual void DropCaptionButtons() = 0;
};

// The stand-in until the skin manager exists: records what was asked, attaches nothing.
class TNullSkinManager : public ISkinManager {
 public:
  void Shutdown() override { shutDown_ = true; }
  void Register(TSkinData& data) override;
  void Unregister(TSkinData& data) override;
  void InstallHook() override { hookInstalled_ = true; }
  void Schedule(TSkinAction action, unsigned intervalMs) override;
  void SetPending(TSkinData* data) override { pending_ = data; }
  void EnableSkinning(bool enabled) override { enabled_ = enabled; }
  void MarkStarted() override { started_ = true; }
  void AttachForm(TForm&) override {}
  void DropCaptionButtons() override {}

  const std::vector<TSkinData*>& Registered() const { return registered_; }
  bool HookInstalled() const { return hookInstalled_; }
  bool SkinningEnabled() const { return enabled_; }
  bool Started() const { return started_; }
  bool ShutDown() const { return shutDown_; }
  std::optional<TSkinAction> ScheduledAction() const { return action_; }
  unsigned ScheduledInterval() const { return interval_; }
  TSkinData* Pending() const { return pending_; }

 private:
  std::vector<TSkinData*> registered_;
  bool hookInstalled_ = false;
  bool enabled_ = false;
  bool started_ = false;
  bool shutDown_ = false;
  std::optional<TSkinAction> action_;
  unsigned interval_ = 0;
  TSkinData* pending_ = nullptr;
};

using TSkinManagerFactory = std::function<std::unique_ptr<ISkinManager>()>;
// The manager, or nullptr before the first component has handed over to it.
ISkinManager* SkinManager();
// Creates the manager on first need (through the factory; the null manager by default) and hands
// it to the application, which owns it from then on. Throws when there is no application.
ISkinManager& EnsureSkinManager();
// Sets how the manager is made; an existing manager is kept until DestroySkinManager.
void SetSkinManagerFactory(TSkinManagerFactory factory);
// Shuts the manager down and frees it now (between tests, or to switch skinning off for good).
// Components still registered are forgotten by it; they must not be used with the old manager
// afterwards.
void DestroySkinManager();

}  // namespace zelvo
