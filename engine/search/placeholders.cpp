// Stand-ins for the factor search until it is merged: the run ends where the
// search would begin.
#include "engine/engine.h"

namespace pfac {

void Engine::AllocateSearchTables() {
  AllocateStoreTables();
  ResultEnd();
  Go(&Engine::EndRun);
}

}  // namespace pfac
