// Line-by-line reading of text held in memory, with the rules of the classic
// Pascal text file: a line ends at CR LF or at a lone LF, a CR that is not
// followed by LF is dropped, and byte 26 (Ctrl-Z) is the old end-of-file mark.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

class TextReader {
 public:
  explicit TextReader(std::string_view data) : data_(data) {}

  /// Reads the next line without its line end into `line`. Lone CRs are
  /// removed; a Ctrl-Z inside the line ends it and the rest of the line is
  /// skipped. At the end of the data it gives an empty line.
  void ReadLine(std::string& line);

  /// True when no further line can be read: the data is used up, or the next
  /// line starts with Ctrl-Z (which ends the file at the start of every line
  /// but the first).
  bool Eof() const;

 private:
  std::string_view data_;
  std::size_t pos_ = 0;
};

}  // namespace platform
