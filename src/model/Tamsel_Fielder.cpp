#include "model/Tamsel_Fielder.h"

#include <cstdint>

#include "model/PascalWords.h"
#include "model/Tamsel_Names.h"
#include "platform/Platform.h"
#include "text/Ascii.h"
#include "writer/Tamsel_WritePas.h"

// The fixed text is converted for the console; the names and the value are
// the definition file's own bytes and stay as they are.
EConvertError::EConvertError(std::string_view className, std::string_view fieldName,
                             std::string_view value)
    : std::runtime_error(platform::ConsoleText("クラス \"") + std::string(className) +
                         platform::ConsoleText("\" のフィールド \"") + std::string(fieldName) +
                         platform::ConsoleText("\" の初期値 \"") + std::string(value) +
                         platform::ConsoleText("\" は整数ではないので boolean の値にできません")) {}

TFielder::TFielder(std::string_view name, std::string_view type, std::string_view initValue,
                   bool redefined, bool skipIni, TPlace place, bool automatic)
    : FName(name),
      FType(type),
      FInitValue(initValue),
      FPlace(place),
      FRedefined(redefined),
      FSkipIni(skipIni),
      FAutomatic(automatic),
      FItemReserved(!names::Escape(ItemName(name)).empty()) {}

std::string TFielder::InitValueText(const TVocabulary& vocabulary,
                                    std::string_view className) const {
  if (IsNumericType(FType)) return std::string(FInitValue);
  if (IsBooleanType(FType)) {
    // Read as Pascal reads an integer: leading spaces, and "x" alone also
    // starts hexadecimal digits.
    std::int32_t number = 0;
    if (!texts::ParseInt32(FInitValue, texts::kPascalInteger, number))
      throw EConvertError(className, FName, FInitValue);
    return std::string(names::kBooleans[number != 0 ? 0 : 1]);
  }
  if (!FInitValue.empty()) return std::string("'").append(FInitValue).append("'");
  if (FName == vocabulary.cFileName) return std::string(names::kFileNameDefault);
  if (FName == vocabulary.cSection) return std::string(names::kSectionDefault);
  return "''";
}

void TFielder::WriteFieldDecl(TWritePas& out) const { out.WriteLn(3, FName, ":", FType, ";"); }

void TFielder::WriteParamText(TWritePas& out, bool first) const {
  out.Write(0, first ? "" : ";", Param(), ItemName(FName), ":", FType);
}

void TFielder::WriteAccessorDecls(TWritePas& out, const TVocabulary& v) const {
  const std::string_view item = ItemName(FName);
  const std::string_view directive = DirectiveText();
  out.WriteLn(3, "procedure ", names::SetSelf(v, FName), "(", Param(), item, ":", FType, ");");
  out.WriteLn(3, "procedure ", names::Set(FName), "(", Param(), item, ":", FType, ");", directive,
              ";");
  out.WriteLn(3, "function ", names::GetSelf(v, FName), ":", FType, ";");
  out.WriteLn(3, "function ", names::Get(FName), ":", FType, ";", directive, ";");
}

void TFielder::WriteInitSelfLine(TWritePas& out, const TVocabulary& vocabulary,
                                 std::string_view className) const {
  // The value is rendered before anything of the line is written, so a
  // conversion failure leaves no half line behind.
  const std::string value = InitValueText(vocabulary, className);
  out.WriteLn(1, FName, " := ", value, ";");
}

void TFielder::WriteInitSuperLine(TWritePas& out) const {
  if (FRedefined) out.WriteLn(1, FName, " := Inherited ", names::Get(FName), ";");
}

void TFielder::WriteSetAllCall(TWritePas& out, const TVocabulary& v) const {
  out.WriteLn(1, names::SetSelf(v, FName), "(", Param(), ItemName(FName), ");");
}

void TFielder::WriteAccessorBodies(TWritePas& out, const TVocabulary& v,
                                   std::string_view className) const {
  const std::string_view item = ItemName(FName);
  const std::string_view param = Param();
  out.WriteLn(0, "procedure ", className, ".", names::SetSelf(v, FName), "(", param, item, ":",
              FType, ");");
  out.WriteLn(0, "begin");
  out.WriteLn(1, FName, " := ", param, item, ";");
  out.WriteLn(0, "end;");
  out.WriteLn(0, "procedure ", className, ".", names::Set(FName), "(", param, item, ":", FType,
              ");");
  out.WriteLn(0, "begin");
  out.WriteLn(1, names::SetSelf(v, FName), "(", param, item, ");");
  out.WriteLn(0, "end;");
  out.WriteLn(0, "function ", className, ".", names::GetSelf(v, FName), ":", FType, ";");
  out.WriteLn(0, "begin");
  out.WriteLn(1, "Result := ", FName, ";");
  out.WriteLn(0, "end;");
  out.WriteLn(0, "function ", className, ".", names::Get(FName), ":", FType, ";");
  out.WriteLn(0, "begin");
  out.WriteLn(1, "Result := ", names::GetSelf(v, FName), ";");
  out.WriteLn(0, "end;");
}

void TFielder::WriteIniReadLine(TWritePas& out, const TVocabulary& v,
                                std::string_view className) const {
  if (FSkipIni) return;
  const std::string value = InitValueText(v, className);
  out.WriteLn(1, FControllerCopy ? "" : "Inherited ", names::SetSelf(v, FName), "(",
              names::kIniFileVariable, ".", names::IniReadMethod(FType), "(", v.cSection, ",'",
              ItemName(FName), "',", value, "));");
}

void TFielder::WriteIniWriteLine(TWritePas& out, const TVocabulary& v) const {
  if (FSkipIni) return;
  out.WriteLn(1, names::kIniFileVariable, ".", names::IniWriteMethod(v, FType), "(", v.cSection,
              ",'", ItemName(FName), "',", FName, ");");
}
