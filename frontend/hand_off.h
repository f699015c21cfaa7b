// The hand-off of the polynomial to the engine: the file DXS.DAT that
// carries the text, in the engine's syntax, to the engine.
#pragma once

namespace pfac::frontend {

// The hand-off file, in the working folder that the engine shares.
inline constexpr char kHandOffFile[] = "DXS.DAT";

}  // namespace pfac::frontend
