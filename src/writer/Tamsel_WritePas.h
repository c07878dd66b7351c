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

#include "platform/Platform.h"

/// Where the writer's bytes go: the unit file, or memory.
class TTextSink {
 public:
  /// How many Puts the sink may still be reading when Put returns.
  static constexpr std::size_t kHeldPuts = 3;

  virtual ~TTextSink() = default;
  /// Takes the next bytes; throws on a write failure. The sink may still be
  /// reading `bytes` when it returns: they must stay unchanged until
  /// kHeldPuts more Puts, or a Wait, have returned.
  virtual void Put(std::string_view bytes) = 0;
  /// Returns once the sink has done with the bytes of every Put; throws on a
  /// write failure.
  virtual void Wait() {}
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
  /// Starts writing the bytes, which may go on in the background.
  void Put(std::string_view bytes) override;
  void Wait() override;

 private:
  platform::ReplacementFile& file_;
};

class TWritePas {
 public:
  /// `indent` is read at every write, so the writer always uses the current
  /// run-wide indent string.
  TWritePas(TTextSink& sink, const std::string& indent);
  /// The writer keeps a reference, so a temporary indent string is refused.
  TWritePas(TTextSink& sink, const std::string&& indent) = delete;
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

  /// A piece of Put that ends the line and starts the next one at `level`,
  /// so that one call can write several lines.
  struct LineBreak {
    int level;
  };

  /// The indent `level` times, then the pieces one after the other, then CR
  /// LF when `endLine` is set. A piece is a text (a character array piece is
  /// taken to be a string literal, all its characters but the last), or a
  /// LineBreak. Put checks
  /// the room left once for all its pieces, so that each piece costs little
  /// more than its copy; emitters write a whole line, or a few, per call.
  template <typename... Pieces>
  void Put(int level, bool endLine, const Pieces&... pieces);

  /// Hands every buffered byte to the sink; throws on a write failure. The
  /// sink may still be writing them when Flush returns.
  void Flush();

 private:
  static std::size_t IndentSize(int level, std::string_view indent) {
    return level > 0 ? static_cast<std::size_t>(level) * indent.size() : 0;
  }
  // A character array piece is a string literal: its length is known when
  // compiling, and so is the size of its copy.
  template <typename Text>
  static std::size_t SizeOf(const Text& text, std::string_view) {
    return std::string_view(text).size();
  }
  template <std::size_t N>
  static std::size_t SizeOf(const char (&)[N], std::string_view) {
    return N - 1;
  }
  static std::size_t SizeOf(LineBreak piece, std::string_view indent) {
    return 2 + IndentSize(piece.level, indent);
  }
  static char* Copy(char* to, std::string_view text);
  static char* CopyIndent(char* to, int level, std::string_view indent) {
    for (int i = 0; i < level; ++i) to = Copy(to, indent);
    return to;
  }
  template <typename Text>
  static char* CopyPiece(char* to, const Text& text, std::string_view) {
    return Copy(to, std::string_view(text));
  }
  template <std::size_t N>
  static char* CopyPiece(char* to, const char (&text)[N], std::string_view) {
    std::memcpy(to, text, N - 1);
    return to + (N - 1);
  }
  static char* CopyPiece(char* to, LineBreak piece, std::string_view indent) {
    to[0] = '\r';
    to[1] = '\n';
    return CopyIndent(to + 2, piece.level, indent);
  }

  /// Put for lines larger than the whole buffer: piece by piece.
  template <typename... Pieces>
  void PutPiecewise(int level, bool endLine, const Pieces&... pieces);
  void AppendIndent(int level, std::string_view indent) {
    for (int i = 0; i < level; ++i) Append(indent);
  }
  template <typename Text>
  void AppendPiece(const Text& text, std::string_view) {
    Append(std::string_view(text));
  }
  template <std::size_t N>
  void AppendPiece(const char (&text)[N], std::string_view) {
    Append(std::string_view(text, N - 1));
  }
  void AppendPiece(LineBreak piece, std::string_view indent) {
    Append("\r\n");
    AppendIndent(piece.level, indent);
  }
  /// Appends through the buffer; a text larger than the buffer goes to the
  /// sink directly.
  void Append(std::string_view text);

  TTextSink& sink_;
  const std::string& indent_;
  // Small writes are batched into large ones for the sink. The buffers take
  // turns: one is filled while the sink may still be writing the others.
  static constexpr std::size_t kBuffers = TTextSink::kHeldPuts + 1;
  std::unique_ptr<char[]> first_;
  // The other buffers, in one block, once a unit has filled the first one.
  std::unique_ptr<char[], platform::LargeFree> others_;
  char* buffers_[kBuffers] = {};
  std::size_t filling_ = 0;  // the index of buffer_
  char* buffer_;  // the buffer being filled
  char* next_;    // its first free byte
  char* end_;     // one past its last byte
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

template <typename... Pieces>
void TWritePas::Put(int level, bool endLine, const Pieces&... pieces) {
  const std::string_view indent = indent_;
  const std::size_t size =
      IndentSize(level, indent) + (SizeOf(pieces, indent) + ... + 0) + (endLine ? 2 : 0);
  if (size > static_cast<std::size_t>(end_ - next_)) {
    Flush();
    if (size > static_cast<std::size_t>(end_ - next_)) {
      PutPiecewise(level, endLine, pieces...);
      return;
    }
  }
  char* to = CopyIndent(next_, level, indent);
  ((to = CopyPiece(to, pieces, indent)), ...);
  if (endLine) {
    to[0] = '\r';
    to[1] = '\n';
    to += 2;
  }
  next_ = to;
}

template <typename... Pieces>
void TWritePas::PutPiecewise(int level, bool endLine, const Pieces&... pieces) {
  const std::string_view indent = indent_;
  AppendIndent(level, indent);
  (AppendPiece(pieces, indent), ...);
  if (endLine) Append("\r\n");
}
