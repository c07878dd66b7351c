#include "writer/Tamsel_WritePas.h"

#include "platform/Platform.h"

namespace {
// The file system takes large writes faster than small ones: of 128 KB,
// 256 KB and 512 KB buffers, 512 KB gave the fastest runs on 70 MB units.
// All four take 2 MB, the same at every size of definition.
constexpr std::size_t kBufferSize = std::size_t{1} << 19;
}  // namespace

static_assert(platform::ReplacementFile::kQueuedWrites <= TTextSink::kHeldPuts,
              "the unit file may hold no more writes than a sink may");

void TFileSink::Put(std::string_view bytes) { file_.Write(bytes); }

void TFileSink::Wait() { file_.Wait(); }

TWritePas::TWritePas(TTextSink& sink, const std::string& indent)
    : sink_(sink),
      indent_(indent),
      first_(new char[kBufferSize]),
      buffers_{first_.get()},
      buffer_(first_.get()),
      next_(buffer_),
      end_(buffer_ + kBufferSize) {}

// Whatever is still buffered is dropped: a run that ends without Flush has
// failed, and its output is thrown away. The sink must be done with the
// buffers before they go; a failure it reports then changes nothing.
TWritePas::~TWritePas() {
  try {
    sink_.Wait();
  } catch (...) {
  }
}

void TWritePas::Flush() {
  const std::size_t size = static_cast<std::size_t>(next_ - buffer_);
  if (size == 0) return;
  // The other buffers are only taken by a unit that fills the first one, all
  // three in one block: on large pages one block costs less to make present
  // than three. The next buffer is ready before the bytes go, so a failure
  // leaves the writer as it was.
  const std::size_t next = (filling_ + 1) % kBuffers;
  if (!buffers_[next]) {
    constexpr std::size_t bytes = (kBuffers - 1) * kBufferSize;
    others_ = std::unique_ptr<char[], platform::LargeFree>(
        static_cast<char*>(platform::AllocateLarge(bytes)), platform::LargeFree{bytes});
    platform::Prefault(others_.get(), bytes);
    for (std::size_t i = 1; i < kBuffers; ++i) buffers_[i] = others_.get() + (i - 1) * kBufferSize;
  }
  sink_.Put(std::string_view(buffer_, size));
  filling_ = next;
  buffer_ = buffers_[next];
  next_ = buffer_;
  end_ = buffer_ + kBufferSize;
}

// A text larger than the buffer goes to the sink directly, and is waited for:
// it belongs to the caller, who may change it once Append returns.
void TWritePas::Append(std::string_view text) {
  if (text.size() > static_cast<std::size_t>(end_ - next_)) {
    Flush();
    if (text.size() > kBufferSize) {
      sink_.Put(text);
      sink_.Wait();
      return;
    }
  }
  next_ = Copy(next_, text);
}
