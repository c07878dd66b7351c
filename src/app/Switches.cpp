#include "app/Switches.h"

#include <string_view>

#include "text/Ascii.h"

namespace {

bool IsSwitchPrefix(char c) { return c == '/' || c == '-' || c == '+'; }

// The code of one argument, or 0 when it is no switch. The tests run in this
// order, so "/??" wins over "/?" and "??" over "?".
int ClassifyOne(std::string_view arg) {
  if (arg.size() >= 3 && IsSwitchPrefix(arg[0]) && arg[1] == '?' && arg[2] == '?') return 3;
  if (arg.size() == 2 && IsSwitchPrefix(arg[0]) && arg[1] == '?') return 2;
  const std::string lower = texts::LowerAscii(arg);
  if (lower.size() == 5 && IsSwitchPrefix(lower[0]) && lower.substr(1) == "help") return 1;
  if (arg.size() >= 2 && arg[0] == '?' && arg[1] == '?') return 8;
  if (arg == "?") return 7;
  if (lower == "help") return 6;
  // The switches every other command-line tool knows, spelled exactly as
  // they do (so "-H" and "--HELP" stay file names, like "/H").
  if (arg == "--help" || arg == "-h") return 1;
  if (arg == "--version") return kVersionSwitch;
  return 0;
}

}  // namespace

int ClassifySwitches(const std::vector<std::string>& args) {
  if (args.empty()) return 9;
  for (const std::string& arg : args)
    if (int code = ClassifyOne(arg)) return code;
  return 0;
}
