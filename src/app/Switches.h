// Classification of the command line: a help switch, no argument at all, or
// a definition file to generate from.
#pragma once

#include <string>
#include <vector>

/// The code of "--version": the banner alone.
constexpr int kVersionSwitch = 10;

/// 0 when the arguments name a definition file; 1, 2, 3, 6, 7 or 8 for the first help switch found
/// (short or detailed help; "--help" and "-h" give 1); kVersionSwitch for "--version"; 9 for none.
int ClassifySwitches(const std::vector<std::string>& args);
