#include "model/Tamsel_TyperIni.h"

#include "writer/Tamsel_WritePas.h"

TTyperIni::TTyperIni(std::string_view name, std::string_view parent)
    : TFielderList(name, parent) {}

void TTyperIni::WriteIniMethodDecls(TWritePas& out, const TVocabulary& vocabulary) const {
  const std::string_view section = ItemName(vocabulary.cSection);
  const std::string_view fileName = ItemName(vocabulary.cFileName);
  out.WriteLn(0, "");
  for (const std::string_view method : {vocabulary.cIniRead, vocabulary.cIniWrite}) {
    out.WriteLn(3, "procedure ", method, "(", section, ",", fileName, ":string);overload;");
    out.WriteLn(3, "procedure ", method, "(", section, ":string);overload;");
    out.WriteLn(3, "procedure ", method, ";overload;");
  }
}

void TTyperIni::WriteIniMethodBodies(TWritePas& out, const TVocabulary& vocabulary) const {
  const std::string_view section = ItemName(vocabulary.cSection);
  const std::string_view fileName = ItemName(vocabulary.cFileName);
  out.WriteLn(0, "");
  for (const std::string_view method : {vocabulary.cIniRead, vocabulary.cIniWrite}) {
    out.WriteLn(0, "procedure ", FName, ".", method, "(", section, ",", fileName, ":string);");
    out.WriteLn(0, "begin");
    out.WriteLn(1, vocabulary.cFileName, " := ", fileName, ";");
    out.WriteLn(1, vocabulary.cSection, " := ", section, ";");
    out.WriteLn(1, method, ";");
    out.WriteLn(0, "end;");
    out.WriteLn(0, "procedure ", FName, ".", method, "(", section, ":string);");
    out.WriteLn(0, "begin");
    out.WriteLn(1, vocabulary.cSection, " := ", section, ";");
    out.WriteLn(1, method, ";");
    out.WriteLn(0, "end;");
  }
}

void TTyperIni::WriteIniReadHead(TWritePas& out, const TVocabulary& vocabulary) const {
  out.WriteLn(0, "procedure ", FName, ".", vocabulary.cIniRead, ";");
}

void TTyperIni::WriteIniWriteHead(TWritePas& out, const TVocabulary& vocabulary) const {
  out.WriteLn(0, "procedure ", FName, ".", vocabulary.cIniWrite, ";");
}
