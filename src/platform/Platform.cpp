// The parts of the platform layer that are the same on every system.
#include "platform/Platform.h"

namespace platform {

IoError FileError(std::string_view path, FileFailure failure, std::string_view reason) {
  static constexpr const char* kWhat[] = {  // in the order of FileFailure
      " を読み込めません", " を作成できません", " に書き込めません", " は通常のファイルではありません"};
  std::string message = ConsolePath(path) + ConsoleText(kWhat[static_cast<int>(failure)]);
  if (!reason.empty()) message.append(": ").append(reason);
  return IoError(message);
}

void ReplacementFile::Fail(FileFailure failure, Status reason) {
  Discard();
  throw FileError(target_, failure, reason.Ok() ? std::string() : reason.Text());
}

}  // namespace platform
