#include "check/Tamsel_Diagnostics.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <numeric>

#include "platform/Platform.h"

std::string MessageText(std::string_view utf8Template,
                        std::initializer_list<std::string_view> names) {
  // Each fixed piece is converted on its own, so that no byte of a converted
  // character can be taken for a "{}".
  std::string text;
  const std::string_view* name = names.begin();
  for (;;) {
    const std::size_t slot = utf8Template.find("{}");
    text += platform::ConsoleText(utf8Template.substr(0, slot));
    if (slot == std::string_view::npos) break;
    if (name != names.end()) text += *name++;
    utf8Template.remove_prefix(slot + 2);
  }
  return text;
}

std::vector<TPlace> TDiagnostics::Places(std::string_view text) const {
  // One walk over the text, with the findings in the order of their places.
  std::vector<std::size_t> order(items_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  const auto offset = [&](std::size_t i) -> std::size_t {
    const char* at = items_[i].at;
    const std::less<const char*> before;
    if (!at || before(at, text.data()) || before(text.data() + text.size(), at))
      return text.size() + 1;
    return static_cast<std::size_t>(at - text.data());
  };
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return offset(a) < offset(b); });
  std::vector<TPlace> places(items_.size(), TPlace{0, 0});
  std::size_t line = 1;
  std::size_t lineStart = 0;
  std::size_t scanned = 0;
  for (std::size_t i : order) {
    const std::size_t at = offset(i);
    if (at > text.size()) break;
    for (const char* nl;
         scanned < at &&
         (nl = static_cast<const char*>(std::memchr(text.data() + scanned, '\n', at - scanned)));) {
      ++line;
      scanned = lineStart = static_cast<std::size_t>(nl - text.data()) + 1;
    }
    scanned = std::max(scanned, at);
    places[i] = {line, at - lineStart + 1};
  }
  return places;
}

std::string TDiagnostics::Format(std::string_view fileName, std::string_view text) const {
  const std::vector<TPlace> places = Places(text);
  std::vector<std::size_t> order(items_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return places[a].line != places[b].line ? places[a].line < places[b].line
                                            : places[a].column < places[b].column;
  });
  std::string lines;
  for (std::size_t i : order) {
    const TDiagnostic& item = items_[i];
    if (places[i].line == 0) {
      lines += "Tamsel:";
    } else {
      lines.append(fileName).append("(").append(std::to_string(places[i].line));
      lines.append(",").append(std::to_string(places[i].column)).append(")");
    }
    lines += item.severity == TSeverity::kError     ? " Error: "
             : item.severity == TSeverity::kWarning ? " Warning: "
                                                    : " Note: ";
    lines.append(item.text).append("\n");
  }
  if (omitted_ > 0)
    lines.append("Tamsel: Note: ")
        .append(MessageText("ほかに {} 件の指摘があります (表示は最初の {} 件まで)",
                            {std::to_string(omitted_), std::to_string(kMaxShown)}))
        .append("\n");
  return lines;
}
