#include "model/Tamsel_FielderList.h"

#include <algorithm>

#include "model/Tamsel_Names.h"
#include "model/Tamsel_TyperIni.h"
#include "writer/Tamsel_WritePas.h"

TFielderList::~TFielderList() = default;

bool TFielderList::HasField(std::string_view name) const {
  return std::any_of(FFields.begin(), FFields.end(),
                     [&](const TFielder& field) { return field.IsNamed(name); });
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

void TFielderList::WriteMethodDecls(TWritePas& out, const TVocabulary& v) const {
  out.WriteLn(3, "procedure ", names::InitialSelf(v), ";");
  out.WriteLn(3, "procedure ", names::InitialSuper(v), ";");
  out.WriteLn(3, "procedure ", names::Initial(v), ";", OverridesInitial() ? "override;" : "virtual;");
  out.Write(3, "procedure ", names::SetAllSelf(v), "(");
  WriteParamList(out);
  out.WriteLn(0, ");");
  for (const TFielder& field : FFields) field.WriteAccessorDecls(out, v);
  out.WriteLn(0, "");
  out.WriteLn(3, "constructor ", names::kCreate, ";");
  out.WriteLn(3, "destructor ", names::kDestroy, ";override;");
}

void TFielderList::WriteInitialBodies(TWritePas& out, const TVocabulary& v) const {
  out.WriteLn(0, "");
  out.WriteLn(0, "procedure ", GetName(), ".", names::InitialSelf(v), ";");
  out.WriteLn(0, "begin");
  for (const TFielder& field : FFields) field.WriteInitSelfLine(out, v, GetName());
  out.WriteLn(0, "end;");

  out.WriteLn(0, "procedure ", GetName(), ".", names::InitialSuper(v), ";");
  out.WriteLn(0, "begin");
  for (const TFielder& field : FFields) field.WriteInitSuperLine(out);
  out.WriteLn(0, "end;");

  out.WriteLn(0, "procedure ", GetName(), ".", names::Initial(v), ";");
  out.WriteLn(0, "begin");
  if (OverridesInitial()) out.WriteLn(1, "Inherited ", names::Initial(v), ";");
  out.WriteLn(1, names::InitialSelf(v), ";");
  out.WriteLn(1, names::InitialSuper(v), ";");
  out.WriteLn(0, "end;");
}

void TFielderList::WriteCreateAndDestroy(TWritePas& out, const TVocabulary& v) const {
  // The loader made the class an INI controller from its name; its kind says so.
  const bool iniController = dynamic_cast<const TTyperIni*>(this) != nullptr;
  out.WriteLn(0, "");
  out.WriteLn(0, "constructor ", GetName(), ".", names::kCreate, ";");
  out.WriteLn(0, "begin");
  if (!GetParent().empty()) out.WriteLn(1, "Inherited ", names::kCreate, ";");
  out.WriteLn(1, names::InitialSelf(v), ";");
  out.WriteLn(1, names::InitialSuper(v), ";");
  if (iniController) out.WriteLn(1, v.cIniRead, ";");
  out.WriteLn(0, "end;");
  out.WriteLn(0, "destructor ", GetName(), ".", names::kDestroy, ";");
  out.WriteLn(0, "begin");
  out.WriteLn(1, "Inherited ", names::kDestroy, ";");
  if (iniController) out.WriteLn(1, v.cIniWrite, ";");
  out.WriteLn(0, "end;");
}

void TFielderList::WriteMethodBodies(TWritePas& out, const TVocabulary& v) const {
  WriteInitialBodies(out, v);
  out.Write(0, "procedure ", GetName(), ".", names::SetAllSelf(v), "(");
  WriteParamList(out);
  out.WriteLn(0, ");");
  out.WriteLn(0, "begin");
  for (const TFielder& field : FFields) field.WriteSetAllCall(out, v);
  out.WriteLn(0, "end;");
  for (const TFielder& field : FFields) field.WriteAccessorBodies(out, v, GetName());
  WriteCreateAndDestroy(out, v);
}

void TFielderList::WriteIniReadLines(TWritePas& out, const TVocabulary& v) const {
  for (const TFielder& field : FFields) field.WriteIniReadLine(out, v, GetName());
}

void TFielderList::WriteIniWriteLines(TWritePas& out, const TVocabulary& v) const {
  for (const TFielder& field : FFields) field.WriteIniWriteLine(out, v);
}
