// The single writer of the generated unit. Every emitter writes whole lines,
// or pieces of one line, through it and names the indent level of each call;
// the writer keeps no level of its own.
#pragma once

#include <array>
#include <cstring>
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

/// A name the unit declares, made of up to three pieces ("Set", "Self",
/// "Port"): written piece by piece, joined only when a text is needed.
struct TName {
  std::array<std::string_view, 3> pieces;
  std::size_t Size() const { return pieces[0].size() + pieces[1].size() + pieces[2].size(); }
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
  // Large enough that the file system sees few, large writes (each one costs
  // as much as copying some tens of kilobytes), small enough to cost nothing.
  static constexpr std::size_t kBlock = std::size_t{256} << 10;

  static std::size_t Size(std::string_view text) { return text.size(); }
  static std::size_t Size(const TName& name) { return name.Size(); }
  static char* Copy(char* to, std::string_view text) {
    if (!text.empty()) std::memcpy(to, text.data(), text.size());
    return to + text.size();
  }
  static char* Copy(char* to, const TName& name) {
    for (std::string_view piece : name.pieces) to = Copy(to, piece);
    return to;
  }
  void PutDirect(std::string_view text) { sink_.Put(text); }
  void PutDirect(const TName& name) {
    for (std::string_view piece : name.pieces) sink_.Put(piece);
  }

  template <typename... Pieces>
  void Put(int level, bool endLine, const Pieces&... pieces) {
    const std::size_t levels = level > 0 ? static_cast<std::size_t>(level) : 0;
    const std::size_t size = levels * indent_.size() + (Size(pieces) + ... + 0) + (endLine ? 2 : 0);
    if (size > kBlock - used_) Flush();
    if (size > kBlock) {  // a line larger than the buffer goes straight to the sink
      for (std::size_t i = 0; i < levels; ++i) sink_.Put(indent_);
      (PutDirect(pieces), ...);
      if (endLine) sink_.Put("\r\n");
      return;
    }
    char* to = buffer_.get() + used_;
    for (std::size_t i = 0; i < levels; ++i) to = Copy(to, indent_);
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
