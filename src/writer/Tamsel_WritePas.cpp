#include "writer/Tamsel_WritePas.h"

#include "platform/Platform.h"

namespace {
constexpr std::size_t kFlushSize = 1 << 16;
}

void TFileSink::Put(std::string_view bytes) { file_.Write(bytes); }

TWritePas::TWritePas(TTextSink& sink, const std::string& indent) : sink_(sink), indent_(indent) {
  buffer_.reserve(kFlushSize + 4096);
}

// Whatever is still buffered is dropped: a run that ends without Flush has
// failed, and its output is thrown away.
TWritePas::~TWritePas() = default;

void TWritePas::Indent(int level) {
  for (int i = 0; i < level; ++i) buffer_.append(indent_);
}

void TWritePas::WriteLn(int level, std::string_view text) {
  Indent(level);
  buffer_.append(text);
  buffer_.append("\r\n");
  FlushIfFull();
}

void TWritePas::Write(int level, std::string_view text) {
  Indent(level);
  buffer_.append(text);
  FlushIfFull();
}

void TWritePas::FlushIfFull() {
  if (buffer_.size() >= kFlushSize) Flush();
}

void TWritePas::Flush() {
  if (buffer_.empty()) return;
  sink_.Put(buffer_);
  buffer_.clear();
}

std::string_view ItemName(std::string_view name) {
  return name.size() <= 1 ? std::string_view() : name.substr(1);
}
