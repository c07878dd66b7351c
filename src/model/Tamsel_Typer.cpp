#include "model/Tamsel_Typer.h"

#include <utility>

#include "model/Tamsel_Emit.h"
#include "writer/Tamsel_WritePas.h"

TTyper::TTyper(std::string name, std::string parent)
    : FName(std::move(name)), FParent(std::move(parent)) {}

TTyper::~TTyper() = default;

void TTyper::WriteClassHead(TWritePas& out) const {
  if (FParent.empty())
    emit::WriteLine(out, 1, FName, " = class");
  else
    emit::WriteLine(out, 1, FName, " = class(", FParent, ")");
}

void TTyper::WriteObjectVar(TWritePas& out) const {
  emit::WriteLine(out, 1, "O", ItemName(FName), ":", FName, ";");
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
