#include "model/Tamsel_Fielder.h"

#include <cstdint>

#include "platform/Ascii.h"
#include "platform/Platform.h"
#include "writer/Tamsel_WritePas.h"

namespace {

constexpr std::string_view kFileNameDefault = "ExpandFileName(ChangeFileExt(ParamStr(0),'.ini'))";
constexpr std::string_view kSectionDefault = "ChangeFileExt(ExtractFileName(ParamStr(0)),'')";

// The fixed text is converted for the console; the names and the value are
// the definition file's own bytes and stay as they are.
std::string ConvertErrorText(std::string_view className, std::string_view fieldName,
                             std::string_view value) {
  std::string text = platform::ConsoleText("クラス \"");
  text.append(className);
  text.append(platform::ConsoleText("\" のフィールド \""));
  text.append(fieldName);
  text.append(platform::ConsoleText("\" の初期値 \""));
  text.append(value);
  text.append(platform::ConsoleText("\" は整数ではないので boolean の値にできません"));
  return text;
}

}  // namespace

EConvertError::EConvertError(std::string_view className, std::string_view fieldName,
                             std::string_view value)
    : std::runtime_error(ConvertErrorText(className, fieldName, value)) {}

std::string TFielder::InitValueText(const TVocabulary& vocabulary,
                                    std::string_view className) const {
  if (FType == "integer") return std::string(FInitValue);
  if (FType == "boolean") {
    // Read as Pascal reads an integer: leading spaces, and "x" alone also
    // starts hexadecimal digits.
    std::int32_t value = 0;
    if (!platform::ParseInt32(FInitValue, platform::kPascalInteger, value))
      throw EConvertError(className, FName, FInitValue);
    return value != 0 ? "True" : "False";
  }
  if (!FInitValue.empty()) return std::string("'").append(FInitValue).append("'");
  if (FName == vocabulary.cFileName) return std::string(kFileNameDefault);
  if (FName == vocabulary.cSection) return std::string(kSectionDefault);
  return "''";
}

void TFielder::WriteFieldDecl(TWritePas& out) const { out.WriteLn(3, {FName, ":", FType, ";"}); }

void TFielder::WriteParamText(TWritePas& out, bool first) const {
  out.Write(0, {first ? "" : ";", ItemName(FName), ":", FType});
}

void TFielder::WriteAccessorDecls(TWritePas& out, const TVocabulary& vocabulary) const {
  const std::string_view item = ItemName(FName);
  const std::string_view directive = DirectiveText();
  out.WriteLn(3, {"procedure Set", vocabulary.cSelf, item, "(", item, ":", FType, ");"});
  out.WriteLn(3, {"procedure Set", item, "(", item, ":", FType, ");", directive, ";"});
  out.WriteLn(3, {"function Get", vocabulary.cSelf, item, ":", FType, ";"});
  out.WriteLn(3, {"function Get", item, ":", FType, ";", directive, ";"});
}

void TFielder::WriteInitSelfLine(TWritePas& out, const TVocabulary& vocabulary,
                                 std::string_view className) const {
  // The value is rendered before anything of the line is written, so a
  // conversion failure leaves no half line behind.
  const std::string value = InitValueText(vocabulary, className);
  out.WriteLn(1, {FName, " := ", value, ";"});
}

void TFielder::WriteInitSuperLine(TWritePas& out) const {
  if (FRedefined) out.WriteLn(1, {FName, " := Inherited Get", ItemName(FName), ";"});
}

void TFielder::WriteSetAllCall(TWritePas& out, const TVocabulary& vocabulary) const {
  const std::string_view item = ItemName(FName);
  out.WriteLn(1, {"Set", vocabulary.cSelf, item, "(", item, ");"});
}

void TFielder::WriteAccessorBodies(TWritePas& out, const TVocabulary& vocabulary,
                                   std::string_view className) const {
  const std::string_view item = ItemName(FName);
  const std::string_view self = vocabulary.cSelf;
  out.WriteLn(0, {"procedure ", className, ".Set", self, item, "(", item, ":", FType, ");"});
  out.WriteLn(0, "begin");
  out.WriteLn(1, {FName, " := ", item, ";"});
  out.WriteLn(0, "end;");
  out.WriteLn(0, {"procedure ", className, ".Set", item, "(", item, ":", FType, ");"});
  out.WriteLn(0, "begin");
  out.WriteLn(1, {"Set", self, item, "(", item, ");"});
  out.WriteLn(0, "end;");
  out.WriteLn(0, {"function ", className, ".Get", self, item, ":", FType, ";"});
  out.WriteLn(0, "begin");
  out.WriteLn(1, {"Result := ", FName, ";"});
  out.WriteLn(0, "end;");
  out.WriteLn(0, {"function ", className, ".Get", item, ":", FType, ";"});
  out.WriteLn(0, "begin");
  out.WriteLn(1, {"Result := Get", self, item, ";"});
  out.WriteLn(0, "end;");
}

void TFielder::WriteIniReadLine(TWritePas& out, const TVocabulary& vocabulary,
                                std::string_view className) const {
  if (FSkipIni) return;
  const std::string_view item = ItemName(FName);
  const std::string value = InitValueText(vocabulary, className);
  out.WriteLn(1, {"Inherited Set", vocabulary.cSelf, item, "(IniFile.Read", FType, "(",
                  vocabulary.cSection, ",'", item, "',", value, "));"});
}

void TFielder::WriteIniWriteLine(TWritePas& out, const TVocabulary& vocabulary) const {
  if (FSkipIni) return;
  out.WriteLn(1, {"IniFile.", vocabulary.cCheck, "Write", FType, "(", vocabulary.cSection, ",'",
                  ItemName(FName), "',", FName, ");"});
}
