// The parts of the platform layer that are the same on every system.
#include "platform/Platform.h"

namespace platform {

IoError FileError(std::string_view path, FileFailure failure, std::string_view reason) {
  const char* text = failure == FileFailure::kRead         ? " を読み込めません"
                     : failure == FileFailure::kCreate     ? " を作成できません"
                     : failure == FileFailure::kNotRegular ? " は通常のファイルではありません"
                                                           : " に書き込めません";
  std::string message = ConsolePath(path) + ConsoleText(text);
  if (!reason.empty()) message.append(": ").append(reason);
  return IoError(message);
}

}  // namespace platform
