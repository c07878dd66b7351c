#include "platform/Paths.h"

#include "platform/Platform.h"

namespace platform {

namespace {

// Position just after the last folder separator (0 when there is none).
std::size_t FileNameStart(const std::string& path) {
  for (std::size_t i = path.size(); i > 0; --i)
    if (IsPathSeparator(path[i - 1])) return i;
  return 0;
}

// Position of the extension's dot, or npos when the file name has none.
std::size_t ExtensionDot(const std::string& path) {
  std::size_t dot = path.rfind('.');
  return (dot == std::string::npos || dot < FileNameStart(path)) ? std::string::npos : dot;
}

}  // namespace

std::string ExtractFileName(const std::string& path) { return path.substr(FileNameStart(path)); }

std::string ExtractFileExt(const std::string& path) {
  std::size_t dot = ExtensionDot(path);
  return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  std::size_t dot = ExtensionDot(path);
  return (dot == std::string::npos ? path : path.substr(0, dot)) + ext;
}

std::string FolderOf(const std::string& path) {
  const std::size_t start = FileNameStart(path);
  if (start == 0) return ".";
  // A root ("/", "C:\") and a drive ("C:") keep their separator.
  const bool drive = IsPathSeparator(':') && (path[start - 1] == ':' || (start > 1 && path[start - 2] == ':'));
  return path.substr(0, start == 1 || drive ? start : start - 1);
}

}  // namespace platform
