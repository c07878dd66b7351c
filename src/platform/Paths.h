// File-name helpers that follow the platform's rules: the file name is what
// follows the last folder separator, and its extension starts at its last dot.
#pragma once

#include <string>

namespace platform {

/// "dir/my.defs.txt" gives "my.defs.txt".
std::string ExtractFileName(const std::string& path);
/// "dir/my.defs.txt" gives ".txt"; empty when the file name has no dot.
std::string ExtractFileExt(const std::string& path);
/// Replaces the extension of the file name, or appends `ext` when it has none.
std::string ChangeFileExt(const std::string& path, const std::string& ext);
/// The folder a file is in: "dir/x" gives "dir", "/x" gives "/", "x" gives ".".
std::string FolderOf(const std::string& path);

}  // namespace platform
