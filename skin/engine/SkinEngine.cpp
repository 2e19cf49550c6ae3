#include "skin/engine/SkinEngine.h"

namespace zelvo {

namespace {
ISkinEngine* gEngine = nullptr;
}  // namespace

ISkinEngine* ISkinEngine::Instance() { return gEngine; }

ISkinEngine::ISkinEngine() { gEngine = this; }

ISkinEngine::~ISkinEngine() {
  if (gEngine == this) gEngine = nullptr;
}

}  // namespace zelvo
