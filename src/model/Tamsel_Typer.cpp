#include "model/Tamsel_Typer.h"

#include <string>

#include "model/Tamsel_Names.h"
#include "writer/Tamsel_WritePas.h"

TTyper::TTyper(const TClassLine& line, TTyper* parentClass)
    : FName(line.name),
      FParent(line.parent),
      FLineText(line.text),
      FLineNumber(line.line),
      FParentClass(parentClass) {}

TTyper::~TTyper() = default;

void TTyper::WriteClassHead(TWritePas& out) const {
  if (FParent.empty())
    out.WriteLn(1, FName, " = class");
  else
    out.WriteLn(1, FName, " = class(", FParent, ")");
}

void TTyper::WriteObjectVar(TWritePas& out) const {
  const std::string variable = names::ObjectVariable(ItemName(FName));
  out.WriteLn(1, names::Escape(variable), variable, ":", FName, ";");
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
