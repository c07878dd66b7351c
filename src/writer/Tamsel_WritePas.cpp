#include "writer/Tamsel_WritePas.h"

std::string TName::Text() const {
  std::string text;
  for (std::string_view piece : pieces) text.append(piece);
  return text;
}

TWritePas::TWritePas(TTextSink& sink, const std::string& indent)
    : sink_(sink), indent_(indent), buffer_(new char[kBlock]) {}

void TWritePas::Flush() {
  if (used_ == 0) return;
  sink_.Put(std::string_view(buffer_.get(), used_));
  used_ = 0;
}
