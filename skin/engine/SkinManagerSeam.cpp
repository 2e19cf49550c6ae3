#include "skin/engine/SkinManagerSeam.h"

#include <algorithm>

#include "framework/Forms.h"
#include "util/Exceptions.h"

namespace zelvo {

namespace {
TSkinManagerFactory& Factory() {
  static TSkinManagerFactory factory;
  return factory;
}
}  // namespace

ISkinManager* SkinManager() { return Application ? Application->FindService<ISkinManager>() : nullptr; }

ISkinManager& EnsureSkinManager() {
  if (ISkinManager* m = SkinManager()) return *m;
  if (!Application) throw Exception("The skin manager needs the application object");
  std::unique_ptr<ISkinManager> made;
  if (Factory()) made = Factory()();
  if (!made) made = std::make_unique<TNullSkinManager>();
  return Application->AddService(std::move(made));
}

void SetSkinManagerFactory(TSkinManagerFactory factory) { Factory() = std::move(factory); }

void DestroySkinManager() {
  if (ISkinManager* m = SkinManager()) Application->RemoveService(*m);
}

void TNullSkinManager::Register(TSkinData& data) {
  if (std::find(registered_.begin(), registered_.end(), &data) == registered_.end()) {
    registered_.push_back(&data);
  }
}

void TNullSkinManager::Unregister(TSkinData& data) {
  registered_.erase(std::remove(registered_.begin(), registered_.end(), &data), registered_.end());
  if (pending_ == &data) pending_ = nullptr;
}

void TNullSkinManager::Schedule(TSkinAction action, unsigned intervalMs) {
  action_ = action;
  interval_ = intervalMs;
  // Before the first activation the real manager only flips its enabled flag; so does this one.
  if (!started_) {
    if (action == TSkinAction::SkinAll) enabled_ = true;
    if (action == TSkinAction::UnskinAll) enabled_ = false;
  }
}

}  // namespace zelvo
