// Helpers shared by the tests of the class model, the loader and the
// generator passes.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

#include "model/Tamsel_TyperList.h"
#include "settings/Tamsel_ini.h"
#include "writer/Tamsel_WritePas.h"

namespace model_test {

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in.good()) << "cannot open " << path;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// Joins lines with CR LF after each, as the writer ends them.
inline std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) text.append(line).append("\r\n");
  return text;
}

/// Runs one pass of `list` into memory and returns what it wrote.
template <typename Pass>
std::string Capture(const TVocabulary& vocabulary, Pass pass) {
  TStringSink sink;
  TWritePas out(sink, vocabulary.Indent);
  pass(out);
  out.Flush();
  return sink.Text();
}

inline std::string TypeSection(const TTyperList& list, const TVocabulary& vocabulary) {
  return Capture(vocabulary, [&](TWritePas& out) { list.WriteTypeSection(out); });
}

inline std::string Implementation(const TTyperList& list, const TVocabulary& vocabulary) {
  return Capture(vocabulary, [&](TWritePas& out) { list.WriteImplementation(out); });
}

inline std::string IniProcedures(const TTyperList& list, const TVocabulary& vocabulary) {
  return Capture(vocabulary, [&](TWritePas& out) {
    list.WriteIniRead(out);
    list.WriteIniWrite(out);
  });
}

/// Where two texts first differ, line by line, for a readable failure.
inline std::string FirstDifference(const std::string& expected, const std::string& actual) {
  std::istringstream e(expected), a(actual);
  std::string el, al;
  for (int line = 1;; ++line) {
    const bool moreE = static_cast<bool>(std::getline(e, el));
    const bool moreA = static_cast<bool>(std::getline(a, al));
    if (!moreE && !moreA) return "texts differ only in their last bytes";
    if (el != al || moreE != moreA)
      return "line " + std::to_string(line) + "\n  expected: [" + (moreE ? el : "<end>") +
             "]\n  actual:   [" + (moreA ? al : "<end>") + "]";
  }
}

}  // namespace model_test
