// Line-by-line reading of text held in memory, with the rules of the classic
// Pascal text file: a line ends at CR LF or at a lone LF, a CR that is not
// followed by LF is dropped, and byte 26 (Ctrl-Z) is the old end-of-file mark.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

/// Where something stands in a text: line and column from 1, the column
/// counted in bytes; line 0 for no place in it.
struct TPlace {
  std::size_t line = 0;
  std::size_t column = 0;
  friend bool operator<(TPlace a, TPlace b) {
    return a.line != b.line ? a.line < b.line : a.column < b.column;
  }
};

namespace texts {

/// The UTF-8 byte-order mark Windows editors put at the start of a text.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

/// `text` without its leading UTF-8 byte-order mark, if it has one; sets
/// `hadMark` to whether it had.
std::span<char> SkipByteOrderMark(std::span<char> text, bool& hadMark);

/// Reads the lines of a text in place: the lines it gives are views into the
/// text, which it changes only to remove CRs (the rest of a line moves left
/// where it stands), so they stay valid as long as the text does.
class TextReader {
 public:
  explicit TextReader(std::span<char> text);

  /// The next line, without its line end and without CRs; a Ctrl-Z inside
  /// the line ends it and the rest of the line is skipped. At the end of the
  /// text it gives an empty line.
  std::string_view ReadLine();

  /// True when no further line can be read: the text is used up, or the next
  /// line starts with Ctrl-Z (which ends the file at the start of every line
  /// but the first).
  bool Eof() const;
  /// The number of the line ReadLine gave last, from 1.
  std::size_t LineNumber() const { return line_; }

 private:
  char* const data_;
  const std::size_t size_;
  std::size_t pos_ = 0;
  std::size_t line_ = 0;
};

}  // namespace texts
