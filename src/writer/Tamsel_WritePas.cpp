#include "writer/Tamsel_WritePas.h"

namespace {
// Large enough that the file system sees few, large writes; small enough to
// cost nothing on the definitions people write.
constexpr std::size_t kBufferSize = std::size_t{256} << 10;
}  // namespace

TWritePas::TWritePas(TTextSink& sink, const std::string& indent)
    : sink_(sink), indent_(indent), buffer_(new char[kBufferSize]) {}

char* TWritePas::Room(std::size_t size) {
  if (size > kBufferSize - used_) {
    Flush();
    if (size > kBufferSize) return nullptr;
  }
  return buffer_.get() + used_;
}

void TWritePas::PutLarge(int level, std::initializer_list<std::string_view> pieces, bool endLine) {
  for (int i = 0; i < level; ++i) sink_.Put(indent_);
  for (std::string_view piece : pieces) sink_.Put(piece);
  if (endLine) sink_.Put("\r\n");
}

void TWritePas::Flush() {
  if (used_ == 0) return;
  sink_.Put(std::string_view(buffer_.get(), used_));
  used_ = 0;
}
