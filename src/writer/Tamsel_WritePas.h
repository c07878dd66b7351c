// The single writer of the generated unit. Every emitter writes whole lines,
// or pieces of one line, through it and names the indent level of each call;
// the writer keeps no level of its own.
#pragma once

#include <array>
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

/// A name the unit declares, made of up to three pieces ("Set", "Self",
/// "Port"): written piece by piece, joined only when a text is needed.
struct TName {
  std::array<std::string_view, 3> pieces;
  std::string Text() const;
};

/// Writes lines at an indent level from pieces: texts (anything that
/// converts to std::string_view) and names. Output is gathered in a buffer
/// and handed to the sink in large blocks; Flush hands over the rest, and
/// whatever a writer still holds when it goes is dropped (a run that ends
/// without Flush has failed).
class TWritePas {
 public:
  /// `indent` is read at every write, so the writer always uses the current
  /// run-wide indent string.
  TWritePas(TTextSink& sink, const std::string& indent) : sink_(sink), indent_(indent) {}
  /// The writer keeps a reference, so a temporary indent string is refused.
  TWritePas(TTextSink& sink, const std::string&& indent) = delete;
  TWritePas(const TWritePas&) = delete;
  TWritePas& operator=(const TWritePas&) = delete;

  /// The indent `level` times, the pieces one after the other, then CR LF.
  template <typename... Pieces>
  void WriteLn(int level, const Pieces&... pieces) {
    Write(level, pieces...);
    buffer_.append("\r\n");
    if (buffer_.size() >= kBlock) Flush();
  }
  /// The indent `level` times and the pieces; the next write continues the
  /// line.
  template <typename... Pieces>
  void Write(int level, const Pieces&... pieces) {
    for (int i = 0; i < level; ++i) buffer_.append(indent_);
    (Append(pieces), ...);
  }

  /// The same at level 0; an empty text gives an empty line.
  void WriteLn(std::string_view text) { WriteLn(0, text); }
  void Write(std::string_view text) { Write(0, text); }

  /// Hands every buffered byte to the sink; throws on a write failure.
  void Flush();

 private:
  static constexpr std::size_t kBlock = std::size_t{64} << 10;

  void Append(std::string_view text) { buffer_.append(text); }
  void Append(const TName& name) {
    for (std::string_view piece : name.pieces) buffer_.append(piece);
  }

  TTextSink& sink_;
  const std::string& indent_;
  std::string buffer_;
};

/// A class or field name without its first character ("TOption" gives
/// "Option"); empty for an empty or one-character name.
inline std::string_view ItemName(std::string_view name) {
  return name.size() <= 1 ? std::string_view() : name.substr(1);
}
