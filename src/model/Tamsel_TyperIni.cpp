#include "model/Tamsel_TyperIni.h"

#include "model/PascalWords.h"
#include "writer/Tamsel_WritePas.h"

TTyperIni::TTyperIni(std::string_view name, std::string_view parent)
    : TFielderList(name, parent) {}

void TTyperIni::WriteIniMethodDecls(TWritePas& out, const TVocabulary& vocabulary) const {
  const std::string_view section = ItemName(vocabulary.cSection);
  const std::string_view fileName = ItemName(vocabulary.cFileName);
  const std::string_view sectionParam = EscapeOf(section);
  const std::string_view fileNameParam = EscapeOf(fileName);
  out.WriteLn(0, "");
  for (const std::string_view method : {vocabulary.cIniRead, vocabulary.cIniWrite}) {
    out.WriteLn(3, "procedure ", method, "(", sectionParam, section, ",", fileNameParam, fileName,
                ":string);overload;");
    out.WriteLn(3, "procedure ", method, "(", sectionParam, section, ":string);overload;");
    out.WriteLn(3, "procedure ", method, ";overload;");
  }
}

void TTyperIni::WriteIniMethodBodies(TWritePas& out, const TVocabulary& vocabulary) const {
  const std::string_view section = ItemName(vocabulary.cSection);
  const std::string_view fileName = ItemName(vocabulary.cFileName);
  const std::string_view sectionParam = EscapeOf(section);
  const std::string_view fileNameParam = EscapeOf(fileName);
  out.WriteLn(0, "");
  for (const std::string_view method : {vocabulary.cIniRead, vocabulary.cIniWrite}) {
    out.WriteLn(0, "procedure ", FName, ".", method, "(", sectionParam, section, ",", fileNameParam,
                fileName, ":string);");
    out.WriteLn(0, "begin");
    out.WriteLn(1, vocabulary.cFileName, " := ", fileNameParam, fileName, ";");
    out.WriteLn(1, vocabulary.cSection, " := ", sectionParam, section, ";");
    out.WriteLn(1, method, ";");
    out.WriteLn(0, "end;");
    out.WriteLn(0, "procedure ", FName, ".", method, "(", sectionParam, section, ":string);");
    out.WriteLn(0, "begin");
    out.WriteLn(1, vocabulary.cSection, " := ", sectionParam, section, ";");
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
