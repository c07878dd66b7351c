#include "model/Tamsel_TyperIni.h"

#include "model/Tamsel_Names.h"
#include "writer/Tamsel_WritePas.h"

namespace {

// The overloads' parameters, named after the section and file name fields.
struct TIniParams {
  std::string_view section, sectionEscape, fileName, fileNameEscape;
  explicit TIniParams(const TVocabulary& v)
      : section(ItemName(v.cSection)),
        sectionEscape(names::Escape(section)),
        fileName(ItemName(v.cFileName)),
        fileNameEscape(names::Escape(fileName)) {}
};

}  // namespace

void TTyperIni::WriteIniMethodDecls(TWritePas& out, const TVocabulary& v) const {
  const TIniParams p(v);
  out.WriteLn(0, "");
  for (const std::string_view method : {v.cIniRead, v.cIniWrite}) {
    out.WriteLn(3, "procedure ", method, "(", p.sectionEscape, p.section, ",", p.fileNameEscape,
                p.fileName, ":", names::kIniNameType, ");overload;");
    out.WriteLn(3, "procedure ", method, "(", p.sectionEscape, p.section, ":", names::kIniNameType,
                ");overload;");
    out.WriteLn(3, "procedure ", method, ";overload;");
  }
}

void TTyperIni::WriteIniMethodBodies(TWritePas& out, const TVocabulary& v) const {
  const TIniParams p(v);
  out.WriteLn(0, "");
  for (const std::string_view method : {v.cIniRead, v.cIniWrite}) {
    out.WriteLn(0, "procedure ", GetName(), ".", method, "(", p.sectionEscape, p.section, ",",
                p.fileNameEscape, p.fileName, ":", names::kIniNameType, ");");
    out.WriteLn(0, "begin");
    out.WriteLn(1, v.cFileName, " := ", p.fileNameEscape, p.fileName, ";");
    out.WriteLn(1, v.cSection, " := ", p.sectionEscape, p.section, ";");
    out.WriteLn(1, method, ";");
    out.WriteLn(0, "end;");
    out.WriteLn(0, "procedure ", GetName(), ".", method, "(", p.sectionEscape, p.section, ":",
                names::kIniNameType, ");");
    out.WriteLn(0, "begin");
    out.WriteLn(1, v.cSection, " := ", p.sectionEscape, p.section, ";");
    out.WriteLn(1, method, ";");
    out.WriteLn(0, "end;");
  }
}

void TTyperIni::WriteIniReadHead(TWritePas& out, const TVocabulary& v) const {
  out.WriteLn(0, "procedure ", GetName(), ".", v.cIniRead, ";");
}

void TTyperIni::WriteIniWriteHead(TWritePas& out, const TVocabulary& v) const {
  out.WriteLn(0, "procedure ", GetName(), ".", v.cIniWrite, ";");
}
