// What the generator knows of the Pascal language: the reserved words of
// Delphi mode, and the types whose initial values are written unquoted.
// Pascal ignores the letter case of both.
#pragma once

#include <string_view>

/// Whether `word` is a reserved word of Delphi mode (in either compiler), so
/// that an identifier spelled like it must be written with the `&` escape.
bool IsReservedWord(std::string_view word);

/// "&" when `identifier` must be escaped to be used as one, else "".
inline std::string_view EscapeOf(std::string_view identifier) {
  return IsReservedWord(identifier) ? "&" : "";
}

/// Whether values of `type` are numbers, written into the unit as they
/// stand: integer and the other integer and floating types.
bool IsNumericType(std::string_view type);

/// Whether `type` is Pascal's boolean type.
bool IsBooleanType(std::string_view type);
