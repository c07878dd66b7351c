// Platform functions that are the same on every system.
#include "platform/Platform.h"

namespace platform {

ReplacementFile::~ReplacementFile() { Discard(); }

}  // namespace platform
