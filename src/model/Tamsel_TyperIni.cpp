#include "model/Tamsel_TyperIni.h"

#include <utility>

#include "model/Tamsel_Emit.h"
#include "writer/Tamsel_WritePas.h"

using emit::WriteLine;

TTyperIni::TTyperIni(std::string name, std::string parent, TFielderStore& store)
    : TFielderList(std::move(name), std::move(parent), store) {}

void TTyperIni::WriteIniMethodDecls(TWritePas& out, const TVocabulary& vocabulary) const {
  const std::string_view section = ItemName(vocabulary.cSection);
  const std::string_view fileName = ItemName(vocabulary.cFileName);
  out.WriteLn(0, "");
  for (const std::string* method : {&vocabulary.cIniRead, &vocabulary.cIniWrite}) {
    WriteLine(out, 3, "procedure ", *method, "(", section, ",", fileName, ":string);overload;");
    WriteLine(out, 3, "procedure ", *method, "(", section, ":string);overload;");
    WriteLine(out, 3, "procedure ", *method, ";overload;");
  }
}

void TTyperIni::WriteIniMethodBodies(TWritePas& out, const TVocabulary& vocabulary) const {
  const std::string_view section = ItemName(vocabulary.cSection);
  const std::string_view fileName = ItemName(vocabulary.cFileName);
  out.WriteLn(0, "");
  for (const std::string* method : {&vocabulary.cIniRead, &vocabulary.cIniWrite}) {
    WriteLine(out, 0, "procedure ", FName, ".", *method, "(", section, ",", fileName, ":string);");
    out.WriteLn(0, "begin");
    WriteLine(out, 1, vocabulary.cFileName, " := ", fileName, ";");
    WriteLine(out, 1, vocabulary.cSection, " := ", section, ";");
    WriteLine(out, 1, *method, ";");
    out.WriteLn(0, "end;");
    WriteLine(out, 0, "procedure ", FName, ".", *method, "(", section, ":string);");
    out.WriteLn(0, "begin");
    WriteLine(out, 1, vocabulary.cSection, " := ", section, ";");
    WriteLine(out, 1, *method, ";");
    out.WriteLn(0, "end;");
  }
}

void TTyperIni::WriteIniReadHead(TWritePas& out, const TVocabulary& vocabulary) const {
  WriteLine(out, 0, "procedure ", FName, ".", vocabulary.cIniRead, ";");
}

void TTyperIni::WriteIniWriteHead(TWritePas& out, const TVocabulary& vocabulary) const {
  WriteLine(out, 0, "procedure ", FName, ".", vocabulary.cIniWrite, ";");
}
