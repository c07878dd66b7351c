// What the generator knows of the Pascal language: the reserved words of
// Delphi mode, and the types whose initial values are written unquoted.
// Pascal ignores the letter case of both.
#pragma once

#include <string_view>

/// Whether `word` is a reserved word of Delphi mode (in either compiler), so
/// that an identifier spelled like it must be written with the `&` escape.
bool IsReservedWord(std::string_view word);

/// Whether values of `type` are numbers, written into the unit as they
/// stand: integer and the other integer and floating types, and TDateTime,
/// TDate and TTime.
bool IsNumericType(std::string_view type);

/// Whether `name` is TObject, TPersistent or TInterfacedObject: standard
/// classes a chain of classes may start from, none of which declares
/// Initial.
bool IsStandardRootClass(std::string_view name);

/// The standard unit other than System that declares class `name`
/// ("Classes" for TPersistent, TComponent, TStringList, ...), or empty.
std::string_view StandardUnitOf(std::string_view name);

/// Whether `type` is Pascal's boolean type.
bool IsBooleanType(std::string_view type);

/// Whether `type` is one of Pascal's string types (string, ansistring,
/// widestring, unicodestring, shortstring) or character types (char,
/// ansichar, widechar).
bool IsStringType(std::string_view type);
bool IsCharType(std::string_view type);

/// Whether the runtime unit's INI file class reads and writes fields of
/// `type`: the string types, boolean and the numeric types.
bool IsStorableType(std::string_view type);

/// Whether two type texts name the same type in Delphi mode: letter case
/// aside, and the aliases integer/longint, cardinal/longword,
/// string/ansistring and char/ansichar.
bool SameType(std::string_view a, std::string_view b);

/// Whether `text` is a Pascal identifier: an ASCII letter or "_", then
/// letters, digits and "_", 255 at most. Reserved words pass; test them
/// apart.
bool IsIdentifier(std::string_view text);

/// Whether `text` is a name that may be qualified by units: identifiers,
/// none of them a reserved word, joined by dots ("My.Opts", "SysUtils.Exception").
bool IsQualifiedName(std::string_view text);

/// What an unquoted initial value of a numeric type is to Pascal.
enum class TNumberText {
  kLiteral,     ///< a number of the type
  kOutOfRange,  ///< a number, but out of the type's range
  kExpression,  ///< a name or an expression, written as it stands
  kMalformed,   ///< neither: no Pascal compiler reads it
};
/// Judges `value` (blanks around it aside) for numeric `type`. An integer
/// type takes decimal, "$" hexadecimal or "&" octal digits after an optional
/// sign (a hexadecimal one up to 64 bits for the 64-bit types); a floating
/// type also takes decimals and an exponent, currency within its range.
TNumberText JudgeNumber(std::string_view type, std::string_view value);
