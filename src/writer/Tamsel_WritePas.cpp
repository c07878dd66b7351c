#include "writer/Tamsel_WritePas.h"

std::string TName::Text() const {
  std::string text;
  for (std::string_view piece : pieces) text.append(piece);
  return text;
}

void TWritePas::Flush() {
  if (buffer_.empty()) return;
  sink_.Put(buffer_);
  buffer_.clear();
}
