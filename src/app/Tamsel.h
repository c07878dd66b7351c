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

/// Writes the whole unit for a loaded class list, with the constants file's text if there is one.
void WriteUnit(TWritePas& out, const TTyperList& list, std::string_view unitName,
               std::string_view useUnit, const std::string* constants);

/// Runs the program for `args` (the arguments without the program name), with `exePath` as the
/// executable's path; an unexpected failure is reported on standard error and ends with exit code 1.
int RunMain(const std::vector<std::string>& args, const std::string& exePath);
