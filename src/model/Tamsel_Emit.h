// Writing one generated line from several pieces. The pieces go straight to
// the writer, so no line is first assembled in a temporary string.
#pragma once

#include <string_view>

#include "writer/Tamsel_WritePas.h"

namespace emit {

/// Writes the indent `level` times, then the pieces, without a line end.
template <typename... Pieces>
void WritePieces(TWritePas& out, int level, const Pieces&... pieces) {
  out.Put(level, false, pieces...);
}

/// Writes the indent `level` times, then the pieces, then the line end.
template <typename... Pieces>
void WriteLine(TWritePas& out, int level, const Pieces&... pieces) {
  out.Put(level, true, pieces...);
}

/// A piece that ends the line and starts the next one at `level`: one
/// WriteLine call can write a whole method body.
inline TWritePas::LineBreak NewLine(int level) { return {level}; }

}  // namespace emit
