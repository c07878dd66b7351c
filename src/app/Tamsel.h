// One process of the generator: a help screen, or one generation run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class TTyperList;
class TWritePas;

/// Exit codes of the process.
enum ExitCode : int {
  kExitOk = 0,
  kExitFailure = 1,  ///< unexpected failure, reported on standard error
  kExitRefused = 2,  ///< ".pas" argument, missing file or malformed definition
};

/// Writes the whole unit for a loaded class list: the head with its `uses` clause, the type
/// section, the constants (when `constants` is given), the implementation section and "end.".
void WriteUnit(TWritePas& out, const TTyperList& list, std::string_view unitName,
               std::string_view useUnit, const std::string* constants);

/// Runs the program for `args` (without the program name) as the executable at `exePath`.
/// Messages go to standard output; an unexpected failure throws (see RunMain).
int Run(const std::vector<std::string>& args, const std::string& exePath);

/// Run, with unexpected failures reported on standard error (after standard
/// output has been flushed) and turned into exit code 1.
int RunMain(const std::vector<std::string>& args, const std::string& exePath);
