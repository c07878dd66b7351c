// The single writer of the generated unit. Every emitter writes whole lines,
// or pieces of one line, through it and names the indent level of each call;
// the writer keeps no level of its own.
#pragma once

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
  void WriteLn(int level, std::string_view text);
  /// The indent `level` times and the text; the next write continues the line.
  void Write(int level, std::string_view text);
  /// The same at level 0; an empty text gives an empty line.
  void WriteLn(std::string_view text) { WriteLn(0, text); }
  void Write(std::string_view text) { Write(0, text); }

  /// Hands every buffered byte to the sink; throws on a write failure.
  void Flush();

 private:
  void Indent(int level);
  void FlushIfFull();

  TTextSink& sink_;
  const std::string& indent_;
  std::string buffer_;  // batches small writes into large ones for the sink
};

/// A class or field name without its first character ("TOption" gives
/// "Option"); empty for an empty or one-character name.
std::string_view ItemName(std::string_view name);
