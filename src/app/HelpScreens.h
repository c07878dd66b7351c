// The help screens: usage, short help and detailed help, each ending with
// the banner; and the banner alone.
#pragma once

#include <string>

/// The console bytes of the screen for switch code 1, 2, 3, 6, 7, 8 or 9, or of the banner alone for
/// kVersionSwitch; `exePath` names the running executable (usage line, banner).
std::string HelpScreen(int code, const std::string& exePath);
