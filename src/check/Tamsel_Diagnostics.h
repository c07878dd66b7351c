// What Tamsel tells the user about a definition besides its messages: one
// line per finding on standard error, in the message format of Free Pascal,
// which Lazarus and editors already read:
//   sample.txt(3,8) Warning: <text>
// A finding without a place in the definition is "Tamsel: Warning: <text>".
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

/// A message text for the console from a template held as UTF-8: the fixed
/// text is converted for the console, and each "{}" is replaced by the next
/// of `names`, which are the definition's own bytes and stay as they are.
std::string MessageText(std::string_view utf8Template,
                        std::initializer_list<std::string_view> names = {});

/// The findings of a run. Only the first kMaxShown are kept and shown, with
/// a last line counting the rest: a definition with a mistake on each of a
/// million lines would otherwise cost gigabytes of text nobody reads.
class TDiagnostics {
 public:
  static constexpr std::size_t kMaxShown = 10000;

  /// Adds a finding whose text is MessageText(utf8Template, names).
  void Add(TSeverity severity, TPlace place, std::string_view utf8Template,
           std::initializer_list<std::string_view> names = {});
  const std::vector<TDiagnostic>& Items() const { return items_; }
  bool Empty() const { return items_.empty(); }
  /// The lines to print, those without a place first, then in the order of
  /// the definition file; `fileName` as the console shows it.
  std::string Format(std::string_view fileName) const;

 private:
  std::vector<TDiagnostic> items_;
  std::size_t omitted_ = 0;
};
