// The single writer of the generated unit. Every emitter writes whole lines,
// or pieces of one line, through it and names the indent level of each call;
// the writer keeps no level of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace platform {
class ReplacementFile;
}

/// Where the writer's bytes go: the unit file, or memory.
class TTextSink {
 public:
  virtual ~TTextSink() = default;
  /// Takes the next bytes; throws on a write failure.
  virtual void Put(std::string_view bytes) = 0;
};

/// Collects the output in memory (tests, and generation without a disk).
class TStringSink : public TTextSink {
 public:
  void Put(std::string_view bytes) override { text_.append(bytes); }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

/// Sends the output into a file that replaces the unit only when committed.
class TFileSink : public TTextSink {
 public:
  explicit TFileSink(platform::ReplacementFile& file) : file_(file) {}
  void Put(std::string_view bytes) override;

 private:
  platform::ReplacementFile& file_;
};

class TWritePas {
 public:
  /// `indent` is read at every write, so the writer always uses the current
  /// run-wide indent string.
  TWritePas(TTextSink& sink, const std::string& indent);
  ~TWritePas();
  TWritePas(const TWritePas&) = delete;
  TWritePas& operator=(const TWritePas&) = delete;

  /// The indent `level` times, the text, then CR LF.
  void WriteLn(int level, std::string_view text) { Put(level, true, text); }
  /// The indent `level` times and the text; the next write continues the line.
  void Write(int level, std::string_view text) { Put(level, false, text); }
  /// The same at level 0; an empty text gives an empty line.
  void WriteLn(std::string_view text) { WriteLn(0, text); }
  void Write(std::string_view text) { Write(0, text); }

  /// The indent `level` times, then the texts one after the other, then CR LF
  /// when `endLine` is set. One call per generated line keeps the cost per
  /// piece down to a copy.
  template <typename... Texts>
  void Put(int level, bool endLine, const Texts&... texts);

  /// Hands every buffered byte to the sink; throws on a write failure.
  void Flush();

 private:
  static char* Copy(char* to, std::string_view text);
  /// Put for a line that does not fit in what is left of the buffer.
  void PutSlowly(int level, bool endLine, const std::string_view* texts, std::size_t count);
  /// Appends through the buffer; a text larger than the buffer goes to the
  /// sink directly.
  void Append(std::string_view text);

  TTextSink& sink_;
  const std::string& indent_;
  // Small writes are batched into large ones for the sink.
  std::unique_ptr<char[]> buffer_;
  char* next_;        // the first free byte of buffer_
  char* const end_;   // one past the last byte of buffer_
};

/// A class or field name without its first character ("TOption" gives
/// "Option"); empty for an empty or one-character name.
inline std::string_view ItemName(std::string_view name) {
  return name.size() <= 1 ? std::string_view() : name.substr(1);
}

// Most pieces are a few bytes long: names, keywords, punctuation. They are
// copied with at most two overlapping moves instead of a call to memcpy, and a
// piece whose length the compiler knows costs no test at all.
inline char* TWritePas::Copy(char* to, std::string_view text) {
  const char* from = text.data();
  const std::size_t n = text.size();
  if (n > 16) {
    std::memcpy(to, from, n);
  } else if (n >= 8) {
    std::uint64_t head, tail;
    std::memcpy(&head, from, 8);
    std::memcpy(&tail, from + n - 8, 8);
    std::memcpy(to, &head, 8);
    std::memcpy(to + n - 8, &tail, 8);
  } else if (n >= 4) {
    std::uint32_t head, tail;
    std::memcpy(&head, from, 4);
    std::memcpy(&tail, from + n - 4, 4);
    std::memcpy(to, &head, 4);
    std::memcpy(to + n - 4, &tail, 4);
  } else if (n >= 2) {
    std::uint16_t head, tail;
    std::memcpy(&head, from, 2);
    std::memcpy(&tail, from + n - 2, 2);
    std::memcpy(to, &head, 2);
    std::memcpy(to + n - 2, &tail, 2);
  } else if (n == 1) {
    *to = *from;
  }
  return to + n;
}

template <typename... Texts>
void TWritePas::Put(int level, bool endLine, const Texts&... texts) {
  const std::string_view indent = indent_;
  const std::size_t indents = level > 0 ? static_cast<std::size_t>(level) : 0;
  const std::size_t size =
      indents * indent.size() + (std::string_view(texts).size() + ... + 0) + (endLine ? 2 : 0);
  if (size > static_cast<std::size_t>(end_ - next_)) {
    const std::string_view views[] = {std::string_view(), std::string_view(texts)...};
    PutSlowly(level, endLine, views + 1, sizeof...(texts));
    return;
  }
  char* to = next_;
  for (std::size_t i = 0; i < indents; ++i) to = Copy(to, indent);
  ((to = Copy(to, std::string_view(texts))), ...);
  if (endLine) {
    to[0] = '\r';
    to[1] = '\n';
    to += 2;
  }
  next_ = to;
}
