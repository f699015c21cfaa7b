// Temporary bodies until the polynomial routines land.
#include "engine/engine.h"

namespace pfac {

void Engine::PrintCommonFactor() {}
void Engine::PrintDenseFactor() {}
void Engine::WriteMonomialCode() {}
void Engine::WriteExpandedProductCofactorFirst() { ResultEnd(); }
void Engine::WriteExpandedProductTrialFirst() { ResultEnd(); }
void Engine::SetTargetDegrees() {}
void Engine::CheckAndSplitFactor() { SplitResult = 1; }
void Engine::CheckAndSplitMirrored() { SplitResult = 1; MirrorUsed = 0; }
void Engine::TryVariableSumFactors() {}
void Engine::FactorSpecialBinomial() {}
void Engine::FactorSquareTrinomial() {}
void Engine::DropAbsentVariables() {}
void Engine::ResumePreparation() { Go(&Engine::EndRun); }
void Engine::RestartPreparation() { Go(&Engine::EndRun); }

}  // namespace pfac
