#include "check/Tamsel_Diagnostics.h"

#include <algorithm>

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

void TDiagnostics::Add(TSeverity severity, TPlace place, std::string_view utf8Template,
                       std::initializer_list<std::string_view> names) {
  if (items_.size() < kMaxShown)
    items_.push_back({severity, place, MessageText(utf8Template, names)});
  else
    ++omitted_;
}

std::string TDiagnostics::Format(std::string_view fileName) const {
  std::vector<const TDiagnostic*> order;
  for (const TDiagnostic& item : items_) order.push_back(&item);
  std::stable_sort(order.begin(), order.end(),
                   [](const TDiagnostic* a, const TDiagnostic* b) { return a->place < b->place; });
  std::string lines;
  for (const TDiagnostic* item : order) {
    if (item->place.line == 0) {
      lines += "Tamsel:";
    } else {
      lines.append(fileName).append("(").append(std::to_string(item->place.line));
      lines.append(",").append(std::to_string(item->place.column)).append(")");
    }
    lines += item->severity == TSeverity::kError     ? " Error: "
             : item->severity == TSeverity::kWarning ? " Warning: "
                                                     : " Note: ";
    lines.append(item->text).append("\n");
  }
  if (omitted_ > 0)
    lines.append("Tamsel: Note: ")
        .append(MessageText("ほかに {} 件の指摘があります (表示は最初の {} 件まで)",
                            {std::to_string(omitted_), std::to_string(kMaxShown)}))
        .append("\n");
  return lines;
}
