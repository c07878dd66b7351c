// Entry point of the Tamsel executable.
#include <string>
#include <vector>

#include "app/Tamsel.h"
#include "platform/Platform.h"

int main(int argc, char** argv) {
  platform::InitProcess();
  const std::vector<std::string> args = platform::Arguments(argc, argv);
  return RunMain(args, platform::ExecutablePath(argc > 0 ? argv[0] : nullptr));
}
