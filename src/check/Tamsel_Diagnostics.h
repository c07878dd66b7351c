// The findings of a run, one line each on standard error in Free Pascal's
// message format, which Lazarus and editors read:
//   sample.txt(3,8) Warning: <text>
// A finding without a place is "Tamsel: Warning: <text>".
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "text/TextFile.h"

enum class TSeverity { kError, kWarning, kNote };

struct TDiagnostic {
  TSeverity severity;
  TPlace place;      ///< line 0 for a finding without a place
  std::string text;  ///< ready for the console
};

/// A message for the console from a UTF-8 template: the fixed text is
/// converted, and each "{}" is replaced by the next of `names`, which are
/// the definition's own bytes and stay as they are.
std::string MessageText(std::string_view utf8Template,
                        std::initializer_list<std::string_view> names = {});

/// Keeps the first kMaxShown findings and counts the rest: a mistake on
/// each of a million lines would otherwise cost gigabytes nobody reads.
class TDiagnostics {
 public:
  static constexpr std::size_t kMaxShown = 10000;

  void Add(TSeverity severity, TPlace place, std::string_view utf8Template,
           std::initializer_list<std::string_view> names = {});
  const std::vector<TDiagnostic>& Items() const { return items_; }
  bool Empty() const { return items_.empty(); }
  /// The lines to print: those without a place first, then in file order.
  std::string Format(std::string_view fileName) const;

 private:
  std::vector<TDiagnostic> items_;
  std::size_t omitted_ = 0;
};
