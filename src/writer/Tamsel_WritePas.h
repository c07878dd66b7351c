// The single writer of the generated unit. Every emitter writes whole lines,
// or pieces of one line, through it and names the indent level of each call;
// the writer keeps no level of its own.
#pragma once

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Platform.h"

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
  void Put(std::string_view bytes) override { file_.Write(bytes); }

 private:
  platform::ReplacementFile& file_;
};

/// Writes lines at an indent level. Small writes are gathered in a buffer
/// and handed to the sink in large blocks; Flush hands over the rest, and
/// whatever a writer still holds when it goes is dropped (a run that ends
/// without Flush has failed).
///
/// A line is written from pieces: texts (anything that converts to
/// std::string_view) and string literals. A character array piece is taken
/// to be a string literal, all its characters but the last, so that its
/// length is known when compiling and its copy costs no call.
class TWritePas {
 public:
  /// `indent` is read at every write, so the writer always uses the current
  /// run-wide indent string.
  TWritePas(TTextSink& sink, const std::string& indent);
  /// The writer keeps a reference, so a temporary indent string is refused.
  TWritePas(TTextSink& sink, const std::string&& indent) = delete;
  TWritePas(const TWritePas&) = delete;
  TWritePas& operator=(const TWritePas&) = delete;

  /// The indent `level` times, the pieces one after the other, then CR LF.
  template <typename... Pieces>
  void WriteLn(int level, const Pieces&... pieces) {
    Put(level, true, pieces...);
  }
  /// The indent `level` times and the pieces; the next write continues the
  /// line.
  template <typename... Pieces>
  void Write(int level, const Pieces&... pieces) {
    Put(level, false, pieces...);
  }

  /// The same at level 0; an empty text gives an empty line.
  void WriteLn(std::string_view text) { Put(0, true, text); }
  void Write(std::string_view text) { Put(0, false, text); }

  /// Hands every buffered byte to the sink; throws on a write failure.
  void Flush();

 private:
  static std::size_t Size(std::string_view text) { return text.size(); }
  template <std::size_t N>
  static std::size_t Size(const char (&)[N]) {
    return N - 1;
  }
  static char* Copy(char* to, std::string_view text) {
    if (!text.empty()) std::memcpy(to, text.data(), text.size());
    return to + text.size();
  }
  template <std::size_t N>
  static char* Copy(char* to, const char (&text)[N]) {
    std::memcpy(to, text, N - 1);
    return to + (N - 1);
  }

  /// Room for `size` more bytes in the buffer, flushing it first when they
  /// do not fit; null when they are more than the buffer holds.
  char* Room(std::size_t size);
  /// A line larger than the buffer goes to the sink piece by piece.
  void PutLarge(int level, std::initializer_list<std::string_view> pieces, bool endLine);

  template <typename... Pieces>
  void Put(int level, bool endLine, const Pieces&... pieces) {
    const std::string_view indent = indent_;
    const std::size_t levels = level > 0 ? static_cast<std::size_t>(level) : 0;
    const std::size_t size = levels * indent.size() + (Size(pieces) + ... + 0) + (endLine ? 2 : 0);
    char* to = Room(size);
    if (to == nullptr) {
      PutLarge(level, {std::string_view(pieces)...}, endLine);
      return;
    }
    for (std::size_t i = 0; i < levels; ++i) to = Copy(to, indent);
    ((to = Copy(to, pieces)), ...);
    if (endLine) to = Copy(to, "\r\n");
    used_ = static_cast<std::size_t>(to - buffer_.get());
  }

  TTextSink& sink_;
  const std::string& indent_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
};

/// A class or field name without its first character ("TOption" gives
/// "Option"); empty for an empty or one-character name.
inline std::string_view ItemName(std::string_view name) {
  return name.size() <= 1 ? std::string_view() : name.substr(1);
}
