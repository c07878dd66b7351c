#include "model/Tamsel_FielderList.h"

#include "writer/Tamsel_WritePas.h"

TFielderList::TFielderList(std::string_view name, std::string_view parent)
    : TTyper(name, parent) {}

TFielderList::~TFielderList() = default;

bool TFielderList::HasField(std::string_view name) const {
  for (const TFielder& field : FFields)
    if (field.IsNamed(name)) return true;
  return false;
}

void TFielderList::LoadIntoControllerCopy(std::string_view name) {
  for (TFielder& field : FFields)
    if (field.IsNamed(name)) field.LoadIntoControllerCopy();
}

void TFielderList::WriteParamList(TWritePas& out) const {
  bool first = true;
  for (const TFielder& field : FFields) {
    field.WriteParamText(out, first);
    first = false;
  }
}

void TFielderList::WriteFieldDecls(TWritePas& out, const TVocabulary&) const {
  for (const TFielder& field : FFields) field.WriteFieldDecl(out);
}

void TFielderList::WriteMethodDecls(TWritePas& out, const TVocabulary& vocabulary) const {
  out.WriteLn(3, "procedure ", vocabulary.cInitial, vocabulary.cSelf, ";");
  out.WriteLn(3, "procedure ", vocabulary.cInitial, vocabulary.cSuper, ";");
  out.WriteLn(3, "procedure ", vocabulary.cInitial, ";",
              FParent.empty() ? "virtual;" : "override;");
  out.Write(3, "procedure Set", vocabulary.cAll, vocabulary.cSelf, "(");
  WriteParamList(out);
  out.WriteLn(0, ");");
  for (const TFielder& field : FFields) field.WriteAccessorDecls(out, vocabulary);
  out.WriteLn(0, "");
  out.WriteLn(3, "constructor Create;");
  out.WriteLn(3, "destructor Destroy;override;");
}

void TFielderList::WriteMethodBodies(TWritePas& out, const TVocabulary& vocabulary) const {
  const std::string_view cn = FName;
  const bool hasParent = !FParent.empty();
  const bool iniController = FName == vocabulary.cTIniter;

  out.WriteLn(0, "");
  out.WriteLn(0, "procedure ", cn, ".", vocabulary.cInitial, vocabulary.cSelf, ";");
  out.WriteLn(0, "begin");
  for (const TFielder& field : FFields) field.WriteInitSelfLine(out, vocabulary, cn);
  out.WriteLn(0, "end;");

  out.WriteLn(0, "procedure ", cn, ".", vocabulary.cInitial, vocabulary.cSuper, ";");
  out.WriteLn(0, "begin");
  for (const TFielder& field : FFields) field.WriteInitSuperLine(out);
  out.WriteLn(0, "end;");

  out.WriteLn(0, "procedure ", cn, ".", vocabulary.cInitial, ";");
  out.WriteLn(0, "begin");
  if (hasParent) out.WriteLn(1, "Inherited ", vocabulary.cInitial, ";");
  out.WriteLn(1, vocabulary.cInitial, vocabulary.cSelf, ";");
  out.WriteLn(1, vocabulary.cInitial, vocabulary.cSuper, ";");
  out.WriteLn(0, "end;");

  out.Write(0, "procedure ", cn, ".Set", vocabulary.cAll, vocabulary.cSelf, "(");
  WriteParamList(out);
  out.WriteLn(0, ");");
  out.WriteLn(0, "begin");
  for (const TFielder& field : FFields) field.WriteSetAllCall(out, vocabulary);
  out.WriteLn(0, "end;");

  for (const TFielder& field : FFields) field.WriteAccessorBodies(out, vocabulary, cn);

  out.WriteLn(0, "");
  out.WriteLn(0, "constructor ", cn, ".Create;");
  out.WriteLn(0, "begin");
  if (hasParent) out.WriteLn(1, "Inherited Create;");
  out.WriteLn(1, vocabulary.cInitial, vocabulary.cSelf, ";");
  out.WriteLn(1, vocabulary.cInitial, vocabulary.cSuper, ";");
  if (iniController) out.WriteLn(1, vocabulary.cIniRead, ";");
  out.WriteLn(0, "end;");
  out.WriteLn(0, "destructor ", cn, ".Destroy;");
  out.WriteLn(0, "begin");
  out.WriteLn(1, "Inherited Destroy;");
  if (iniController) out.WriteLn(1, vocabulary.cIniWrite, ";");
  out.WriteLn(0, "end;");
}

void TFielderList::WriteIniReadLines(TWritePas& out, const TVocabulary& vocabulary) const {
  for (const TFielder& field : FFields) field.WriteIniReadLine(out, vocabulary, FName);
}

void TFielderList::WriteIniWriteLines(TWritePas& out, const TVocabulary& vocabulary) const {
  for (const TFielder& field : FFields) field.WriteIniWriteLine(out, vocabulary);
}
