#include "platform/Paths.h"

#include "platform/Platform.h"

namespace platform {

namespace {

// Position just after the last folder separator (0 when there is none).
std::size_t FileNameStart(const std::string& path) {
  std::size_t i = path.size();
  while (i > 0 && !IsPathSeparator(path[i - 1])) --i;
  return i;
}

// Position of the extension's dot; the path's end when the file name has none.
std::size_t ExtensionDot(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  return dot == std::string::npos || dot < FileNameStart(path) ? path.size() : dot;
}

}  // namespace

std::string ExtractFileName(const std::string& path) { return path.substr(FileNameStart(path)); }
std::string ExtractFileExt(const std::string& path) { return path.substr(ExtensionDot(path)); }

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  return path.substr(0, ExtensionDot(path)) + ext;
}

std::string FolderOf(const std::string& path) {
  const std::size_t start = FileNameStart(path);
  if (start == 0) return ".";
  // A root ("/", "C:\") and a drive ("C:") keep their separator.
  const bool drive =
      IsPathSeparator(':') && (path[start - 1] == ':' || (start > 1 && path[start - 2] == ':'));
  return path.substr(0, start == 1 || drive ? start : start - 1);
}

}  // namespace platform
