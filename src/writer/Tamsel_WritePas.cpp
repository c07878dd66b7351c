#include "writer/Tamsel_WritePas.h"

namespace {
// Large enough that the file system sees few, large writes; small enough to
// cost nothing on the definitions people write.
constexpr std::size_t kBufferSize = std::size_t{256} << 10;
}  // namespace

TWritePas::TWritePas(TTextSink& sink, const std::string& indent) : sink_(sink), indent_(indent) {
  buffer_.reserve(kBufferSize);
}

void TWritePas::WriteLn(int level, std::initializer_list<std::string_view> pieces) {
  Write(level, pieces);
  Append("\r\n");
}

void TWritePas::Write(int level, std::initializer_list<std::string_view> pieces) {
  for (int i = 0; i < level; ++i) Append(indent_);
  for (std::string_view piece : pieces) Append(piece);
}

void TWritePas::Flush() {
  if (buffer_.empty()) return;
  sink_.Put(buffer_);
  buffer_.clear();
}

// A text larger than the buffer goes to the sink at once.
void TWritePas::Append(std::string_view text) {
  if (buffer_.size() + text.size() > kBufferSize) {
    Flush();
    if (text.size() > kBufferSize) {
      sink_.Put(text);
      return;
    }
  }
  buffer_.append(text);
}
