#include "model/Tamsel_FielderList.h"

#include <stdexcept>
#include <utility>

#include "model/Tamsel_Emit.h"
#include "writer/Tamsel_WritePas.h"

using emit::WriteLine;

TFielderList::TFielderList(std::string name, std::string parent, TFielderStore& store)
    : TTyper(std::move(name), std::move(parent)), FStore(store), FFirst(store.size()) {}

TFielderList::~TFielderList() = default;

void TFielderList::AddField(const TFielder& field) {
  // Another class's field after this class's own: this class is not the
  // newest, and its fields would no longer be one run.
  if (FStore.size() != FFirst + FCount)
    throw std::logic_error("a field can only be added to the newest class");
  FStore.push_back(field);
  ++FCount;
}

bool TFielderList::HasField(std::string_view name) const {
  for (const TFielder& field : Fields())
    if (field.IsNamed(name)) return true;
  return false;
}

void TFielderList::WriteParamList(TWritePas& out) const {
  bool first = true;
  for (const TFielder& field : Fields()) {
    field.WriteParamText(out, first);
    first = false;
  }
}

void TFielderList::WriteFieldDecls(TWritePas& out, const TVocabulary&) const {
  for (const TFielder& field : Fields()) field.WriteFieldDecl(out);
}

void TFielderList::WriteMethodDecls(TWritePas& out, const TVocabulary& vocabulary) const {
  WriteLine(out, 3, "procedure ", vocabulary.cInitial, vocabulary.cSelf, ";");
  WriteLine(out, 3, "procedure ", vocabulary.cInitial, vocabulary.cSuper, ";");
  WriteLine(out, 3, "procedure ", vocabulary.cInitial, ";",
            FParent.empty() ? "virtual;" : "override;");
  emit::WritePieces(out, 3, "procedure Set", vocabulary.cAll, vocabulary.cSelf, "(");
  WriteParamList(out);
  out.WriteLn(0, ");");
  for (const TFielder& field : Fields()) field.WriteAccessorDecls(out, vocabulary);
  out.WriteLn(0, "");
  out.WriteLn(3, "constructor Create;");
  out.WriteLn(3, "destructor Destroy;override;");
}

void TFielderList::WriteMethodBodies(TWritePas& out, const TVocabulary& vocabulary) const {
  const std::string& cn = FName;
  const bool hasParent = !FParent.empty();
  const bool iniController = FName == vocabulary.cTIniter;

  out.WriteLn(0, "");
  WriteLine(out, 0, "procedure ", cn, ".", vocabulary.cInitial, vocabulary.cSelf, ";");
  out.WriteLn(0, "begin");
  for (const TFielder& field : Fields()) field.WriteInitSelfLine(out, vocabulary, cn);
  out.WriteLn(0, "end;");

  WriteLine(out, 0, "procedure ", cn, ".", vocabulary.cInitial, vocabulary.cSuper, ";");
  out.WriteLn(0, "begin");
  for (const TFielder& field : Fields()) field.WriteInitSuperLine(out);
  out.WriteLn(0, "end;");

  WriteLine(out, 0, "procedure ", cn, ".", vocabulary.cInitial, ";");
  out.WriteLn(0, "begin");
  if (hasParent) WriteLine(out, 1, "Inherited ", vocabulary.cInitial, ";");
  WriteLine(out, 1, vocabulary.cInitial, vocabulary.cSelf, ";");
  WriteLine(out, 1, vocabulary.cInitial, vocabulary.cSuper, ";");
  out.WriteLn(0, "end;");

  emit::WritePieces(out, 0, "procedure ", cn, ".Set", vocabulary.cAll, vocabulary.cSelf, "(");
  WriteParamList(out);
  out.WriteLn(0, ");");
  out.WriteLn(0, "begin");
  for (const TFielder& field : Fields()) field.WriteSetAllCall(out, vocabulary);
  out.WriteLn(0, "end;");

  for (const TFielder& field : Fields()) {
    field.WriteSetSelfBody(out, vocabulary, cn);
    field.WriteSetBody(out, vocabulary, cn);
    field.WriteGetSelfBody(out, vocabulary, cn);
    field.WriteGetBody(out, vocabulary, cn);
  }

  out.WriteLn(0, "");
  WriteLine(out, 0, "constructor ", cn, ".Create;");
  out.WriteLn(0, "begin");
  if (hasParent) out.WriteLn(1, "Inherited Create;");
  WriteLine(out, 1, vocabulary.cInitial, vocabulary.cSelf, ";");
  WriteLine(out, 1, vocabulary.cInitial, vocabulary.cSuper, ";");
  if (iniController) WriteLine(out, 1, vocabulary.cIniRead, ";");
  out.WriteLn(0, "end;");
  WriteLine(out, 0, "destructor ", cn, ".Destroy;");
  out.WriteLn(0, "begin");
  out.WriteLn(1, "Inherited Destroy;");
  if (iniController) WriteLine(out, 1, vocabulary.cIniWrite, ";");
  out.WriteLn(0, "end;");
}

void TFielderList::WriteIniReadLines(TWritePas& out, const TVocabulary& vocabulary) const {
  for (const TFielder& field : Fields()) field.WriteIniReadLine(out, vocabulary, FName);
}

void TFielderList::WriteIniWriteLines(TWritePas& out, const TVocabulary& vocabulary) const {
  for (const TFielder& field : Fields()) field.WriteIniWriteLine(out, vocabulary);
}
