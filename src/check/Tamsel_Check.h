// The checks of a definition: the line the loader refused, and what in a
// loaded definition would make Free Pascal reject the unit, at its place.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class TDiagnostics;
class TTyperList;
struct TVocabulary;

/// The Error of the line a failed Load refused: which rule it breaks.
void ReportLoadFailure(const TTyperList& list, const TVocabulary& vocabulary, TDiagnostics& out);

/// The findings in a loaded definition: an Error for a boolean value the
/// generator cannot convert, a Warning for each cause of a compile error (or
/// of a warning that loses data), a Note where the cause may lie in another
/// unit. `unitName` is the name the unit is written under.
void CheckDefinition(const TTyperList& list, const TVocabulary& vocabulary,
                     std::string_view unitName, TDiagnostics& out);

/// A Warning for each argument after the definition file: they are ignored.
void ReportExtraArguments(const std::vector<std::string>& args, TDiagnostics& out);
