#include "model/Tamsel_Fielder.h"

#include <cstdint>
#include <limits>

#include "model/PascalWords.h"
#include "text/Ascii.h"
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

namespace {

std::uint32_t SizeOf(std::string_view text) {
  if (text.size() > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error(platform::ConsoleText("4 GiB を超えるフィールド行は読めません"));
  return static_cast<std::uint32_t>(text.size());
}

}  // namespace

TFielder::TFielder(std::string_view name, std::string_view type, std::string_view initValue,
                   bool redefined, bool skipIni)
    : FName(name.data()),
      FType(type.data()),
      FInitValue(initValue.data()),
      FNameSize(SizeOf(name)),
      FTypeSize(SizeOf(type)),
      FInitValueSize(SizeOf(initValue)),
      FRedefined(redefined),
      FSkipIni(skipIni),
      FItemReserved(IsReservedWord(ItemName(name))) {}

EConvertError::EConvertError(std::string_view className, std::string_view fieldName,
                             std::string_view value)
    : std::runtime_error(ConvertErrorText(className, fieldName, value)) {}

std::string TFielder::InitValueText(const TVocabulary& vocabulary,
                                    std::string_view className) const {
  const std::string_view type = GetType();
  const std::string_view value = GetInitValue();
  if (IsNumericType(type)) return std::string(value);
  if (IsBooleanType(type)) {
    // Read as Pascal reads an integer: leading spaces, and "x" alone also
    // starts hexadecimal digits.
    std::int32_t number = 0;
    if (!texts::ParseInt32(value, texts::kPascalInteger, number))
      throw EConvertError(className, GetName(), value);
    return number != 0 ? "True" : "False";
  }
  if (!value.empty()) return std::string("'").append(value).append("'");
  if (GetName() == vocabulary.cFileName) return std::string(kFileNameDefault);
  if (GetName() == vocabulary.cSection) return std::string(kSectionDefault);
  return "''";
}

void TFielder::WriteFieldDecl(TWritePas& out) const {
  out.WriteLn(3, GetName(), ":", GetType(), ";");
}

void TFielder::WriteParamText(TWritePas& out, bool first) const {
  out.Write(0, first ? "" : ";", Param(), ItemName(GetName()), ":", GetType());
}

void TFielder::WriteAccessorDecls(TWritePas& out, const TVocabulary& vocabulary) const {
  const std::string_view item = ItemName(GetName());
  const std::string_view type = GetType();
  const std::string_view directive = DirectiveText();
  out.WriteLn(3, "procedure Set", vocabulary.cSelf, item, "(", Param(), item, ":", type, ");");
  out.WriteLn(3, "procedure Set", item, "(", Param(), item, ":", type, ");", directive, ";");
  out.WriteLn(3, "function Get", vocabulary.cSelf, item, ":", type, ";");
  out.WriteLn(3, "function Get", item, ":", type, ";", directive, ";");
}

void TFielder::WriteInitSelfLine(TWritePas& out, const TVocabulary& vocabulary,
                                 std::string_view className) const {
  // The value is rendered before anything of the line is written, so a
  // conversion failure leaves no half line behind.
  const std::string value = InitValueText(vocabulary, className);
  out.WriteLn(1, GetName(), " := ", value, ";");
}

void TFielder::WriteInitSuperLine(TWritePas& out) const {
  if (FRedefined) out.WriteLn(1, GetName(), " := Inherited Get", ItemName(GetName()), ";");
}

void TFielder::WriteSetAllCall(TWritePas& out, const TVocabulary& vocabulary) const {
  const std::string_view item = ItemName(GetName());
  out.WriteLn(1, "Set", vocabulary.cSelf, item, "(", Param(), item, ");");
}

void TFielder::WriteAccessorBodies(TWritePas& out, const TVocabulary& vocabulary,
                                   std::string_view className) const {
  const std::string_view name = GetName();
  const std::string_view item = ItemName(name);
  const std::string_view type = GetType();
  const std::string_view self = vocabulary.cSelf;
  const std::string_view param = Param();
  out.WriteLn(0, "procedure ", className, ".Set", self, item, "(", param, item, ":", type, ");");
  out.WriteLn(0, "begin");
  out.WriteLn(1, name, " := ", param, item, ";");
  out.WriteLn(0, "end;");
  out.WriteLn(0, "procedure ", className, ".Set", item, "(", param, item, ":", type, ");");
  out.WriteLn(0, "begin");
  out.WriteLn(1, "Set", self, item, "(", param, item, ");");
  out.WriteLn(0, "end;");
  out.WriteLn(0, "function ", className, ".Get", self, item, ":", type, ";");
  out.WriteLn(0, "begin");
  out.WriteLn(1, "Result := ", name, ";");
  out.WriteLn(0, "end;");
  out.WriteLn(0, "function ", className, ".Get", item, ":", type, ";");
  out.WriteLn(0, "begin");
  out.WriteLn(1, "Result := Get", self, item, ";");
  out.WriteLn(0, "end;");
}

void TFielder::WriteIniReadLine(TWritePas& out, const TVocabulary& vocabulary,
                                std::string_view className) const {
  if (FSkipIni) return;
  const std::string_view item = ItemName(GetName());
  const std::string value = InitValueText(vocabulary, className);
  out.WriteLn(1, FControllerCopy ? "Set" : "Inherited Set", vocabulary.cSelf, item,
              "(IniFile.Read", GetType(), "(", vocabulary.cSection, ",'", item, "',", value, "));");
}

void TFielder::WriteIniWriteLine(TWritePas& out, const TVocabulary& vocabulary) const {
  if (FSkipIni) return;
  const std::string_view name = GetName();
  out.WriteLn(1, "IniFile.", vocabulary.cCheck, "Write", GetType(), "(", vocabulary.cSection, ",'",
              ItemName(name), "',", name, ");");
}
