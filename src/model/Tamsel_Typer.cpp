#include "model/Tamsel_Typer.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>

#include "model/Tamsel_Names.h"
#include "platform/Platform.h"
#include "text/Ascii.h"
#include "writer/Tamsel_WritePas.h"

namespace {

std::uint32_t Size32(std::size_t size) {
  if (size > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error(platform::ConsoleText("4 Gi を超える行数や長さの定義は読めません"));
  return static_cast<std::uint32_t>(size);
}

}  // namespace

TTyper::TTyper(const TClassLine& line, std::size_t parent, TAncestorInitial ancestors)
    : FLine(line.text),
      FNameSize(Size32(std::min(line.text.find('('), line.text.size()))),
      FLineNumber(Size32(line.number)),
      FParentIndex(static_cast<std::uint32_t>(parent)),
      FAncestorInitial(ancestors) {}

TTyper::~TTyper() = default;

std::string_view TTyper::GetParentClass() const {
  const std::string_view parent = GetParent();
  return texts::TrimBlanks(parent.substr(0, parent.find(',')));
}

void TTyper::WriteClassHead(TWritePas& out) const {
  if (GetParent().empty())
    out.WriteLn(1, GetName(), " = class");
  else
    out.WriteLn(1, GetName(), " = class(", GetParent(), ")");
}

void TTyper::WriteObjectVar(TWritePas& out) const {
  const std::string variable = names::ObjectVariable(ItemName(GetName()));
  out.WriteLn(1, names::Escape(variable), variable, ":", GetName(), ";");
}
