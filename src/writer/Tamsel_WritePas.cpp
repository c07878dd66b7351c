#include "writer/Tamsel_WritePas.h"

#include "platform/Platform.h"

namespace {
// The file system takes large writes far faster than small ones (on Linux a
// megabyte costs about half as much per byte as 128 KB), and the buffer is
// still small beside the definition text.
constexpr std::size_t kBufferSize = std::size_t{1} << 20;
}  // namespace

void TFileSink::Put(std::string_view bytes) { file_.Write(bytes); }

TWritePas::TWritePas(TTextSink& sink, const std::string& indent)
    : sink_(sink),
      indent_(indent),
      buffer_(new char[kBufferSize]),
      next_(buffer_.get()),
      end_(buffer_.get() + kBufferSize) {}

// Whatever is still buffered is dropped: a run that ends without Flush has
// failed, and its output is thrown away.
TWritePas::~TWritePas() = default;

void TWritePas::Flush() {
  const std::size_t size = static_cast<std::size_t>(next_ - buffer_.get());
  if (size == 0) return;
  sink_.Put(std::string_view(buffer_.get(), size));
  next_ = buffer_.get();
}

void TWritePas::Append(std::string_view text) {
  if (text.size() > static_cast<std::size_t>(end_ - next_)) {
    Flush();
    if (text.size() > kBufferSize) {
      sink_.Put(text);
      return;
    }
  }
  next_ = Copy(next_, text);
}
