// The checks of a definition: each line the loader refused, and each thing
// in a loaded definition that would make Free Pascal reject the generated
// unit, is reported at its place in the definition file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class TDiagnostics;
class TTyperList;
struct TVocabulary;

/// The Error of the line a failed Load refused: which rule it breaks.
void ReportLoadFailure(const TTyperList& list, const TVocabulary& vocabulary, TDiagnostics& out);

/// The findings in a loaded definition, in one pass over its classes and
/// fields (plus a sort): an Error for each boolean initial value the
/// generator cannot convert, a Warning for each cause of a compile error
/// (or of a Free Pascal warning that loses data), and a Note where the cause
/// may lie outside the file (a parent class or type from another unit).
/// `unitName` is the name the unit is written under.
void CheckDefinition(const TTyperList& list, const TVocabulary& vocabulary,
                     std::string_view unitName, TDiagnostics& out);

/// A Warning for each argument after the definition file: they are ignored.
void ReportExtraArguments(const std::vector<std::string>& args, TDiagnostics& out);
