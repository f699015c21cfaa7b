// Polynomial preparation (placeholder until the preparation is built).
#include "engine/engine.h"

namespace pfac {

void Engine::MergeLikeTerms() {
  ResultEnd();
  console_.WriteLine("(准备步骤尚未建成 / preparation not built yet)");
  Go(&Engine::EndRun);
}

}  // namespace pfac
