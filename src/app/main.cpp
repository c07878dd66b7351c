// Entry point of the Tamsel executable.
#include <string>
#include <vector>

#include "app/Tamsel.h"
#include "platform/Platform.h"

int main(int argc, char** argv) {
  platform::InitConsole();
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  return RunMain(args, platform::ExecutablePath(argc > 0 ? argv[0] : nullptr));
}
