// Writing one generated line from several pieces. The pieces go straight to
// the writer, so no line is first assembled in a temporary string.
#pragma once

#include <string_view>

#include "writer/Tamsel_WritePas.h"

namespace emit {

/// Writes the indent `level` times, then the pieces, without a line end.
template <typename... Rest>
void WritePieces(TWritePas& out, int level, std::string_view first, const Rest&... rest) {
  out.Write(level, first);
  (out.Write(0, std::string_view(rest)), ...);
}

/// Writes the indent `level` times, then the pieces, then the line end.
template <typename... Rest>
void WriteLine(TWritePas& out, int level, std::string_view first, const Rest&... rest) {
  WritePieces(out, level, first, rest...);
  out.WriteLn(0, std::string_view());
}

}  // namespace emit
