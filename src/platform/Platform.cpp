// The parts of the platform layer that are the same on every system.
#include "platform/Platform.h"

namespace platform {

IoError FileError(std::string_view path, FileFailure failure, std::string_view reason) {
  // In the order of FileFailure.
  static constexpr const char* kTexts[] = {" を読み込めません", " を作成できません", " に書き込めません",
                                           " は通常のファイルではありません"};
  std::string message = ConsolePath(path) + ConsoleText(kTexts[static_cast<int>(failure)]);
  if (!reason.empty()) message.append(": ").append(reason);
  return IoError(message);
}

}  // namespace platform
