// The files the front end shares with the engine in the engine's working
// folder: DXS.DAT, which carries the polynomial, in the engine's syntax, to
// the engine, and jg.dat, the engine's result.
#pragma once

namespace pfac::frontend {

// The hand-off file.
inline constexpr char kHandOffFile[] = "DXS.DAT";
// The engine's result file.
inline constexpr char kResultFile[] = "jg.dat";

}  // namespace pfac::frontend
