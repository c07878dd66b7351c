#include "model/Tamsel_Typer.h"

#include <string>

#include "model/PascalWords.h"
#include "writer/Tamsel_WritePas.h"

TTyper::TTyper(std::string_view name, std::string_view parent) : FName(name), FParent(parent) {}

TTyper::~TTyper() = default;

void TTyper::WriteClassHead(TWritePas& out) const {
  if (FParent.empty())
    out.WriteLn(1, FName, " = class");
  else
    out.WriteLn(1, FName, " = class(", FParent, ")");
}

void TTyper::WriteObjectVar(TWritePas& out) const {
  const std::string variable = std::string("O").append(ItemName(FName));
  out.WriteLn(1, EscapeOf(variable), variable, ":", FName, ";");
}

bool TTyper::HasField(std::string_view) const { return false; }
void TTyper::WriteFieldDecls(TWritePas&, const TVocabulary&) const {}
void TTyper::WriteMethodDecls(TWritePas&, const TVocabulary&) const {}
void TTyper::WriteMethodBodies(TWritePas&, const TVocabulary&) const {}
void TTyper::WriteIniMethodDecls(TWritePas&, const TVocabulary&) const {}
void TTyper::WriteIniMethodBodies(TWritePas&, const TVocabulary&) const {}
void TTyper::WriteIniReadHead(TWritePas&, const TVocabulary&) const {}
void TTyper::WriteIniWriteHead(TWritePas&, const TVocabulary&) const {}
void TTyper::WriteIniReadLines(TWritePas&, const TVocabulary&) const {}
void TTyper::WriteIniWriteLines(TWritePas&, const TVocabulary&) const {}
