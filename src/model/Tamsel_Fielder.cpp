#include "model/Tamsel_Fielder.h"

#include <cstdint>
#include <limits>

#include "model/Tamsel_Emit.h"
#include "platform/Platform.h"
#include "writer/Tamsel_WritePas.h"

using emit::NewLine;
using emit::WriteLine;

namespace {

constexpr std::string_view kFileNameDefault = "ExpandFileName(ChangeFileExt(ParamStr(0),'.ini'))";
constexpr std::string_view kSectionDefault = "ChangeFileExt(ExtractFileName(ParamStr(0)),'')";

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHexDigit(char c) {
  return IsDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Reads the text of a boolean initial value as a signed 32-bit integer, as
// Pascal's own conversion does: leading spaces, an optional sign, then decimal
// digits, or hexadecimal digits after "$", "x" or "0x" (the x in either case;
// up to 8 of them, naming the 32 bits), and nothing after them. Returns false
// when the text is not such an integer or lies outside the range.
bool ReadBooleanInteger(std::string_view text, bool& nonZero) {
  std::size_t i = 0;
  const std::size_t size = text.size();
  while (i < size && text[i] == ' ') ++i;
  bool negative = false;
  if (i < size && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  bool hex = false;
  if (i < size && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    i += 1;
  } else if (i + 1 < size && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == size) return false;
  const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
  std::uint64_t value = 0;
  for (; i < size; ++i) {
    const char c = text[i];
    if (!(hex ? IsHexDigit(c) : IsDecimalDigit(c))) return false;
    const unsigned digit = IsDecimalDigit(c) ? static_cast<unsigned>(c - '0')
                                             : static_cast<unsigned>((c | 0x20) - 'a' + 10);
    value = value * (hex ? 16u : 10u) + digit;
    if (value > limit) return false;
  }
  nonZero = value != 0;
  return true;
}

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

TFielder::TFielder(std::string_view line, std::size_t nameSize, std::size_t valueStart,
                   bool redefined, bool skipIni)
    : FLine(line.data()),
      FNameSize(static_cast<std::uint32_t>(nameSize)),
      FValueStart(static_cast<std::uint32_t>(valueStart)),
      FSize(static_cast<std::uint32_t>(line.size())),
      FRedefined(redefined),
      FSkipIni(skipIni) {
  if (line.size() > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error(platform::ConsoleText("4 GiB を超えるフィールド行は読めません"));
}

TFielder::ValueParts TFielder::InitValueParts(const TVocabulary& vocabulary,
                                              std::string_view className) const {
  const std::string_view type = GetType();
  const std::string_view value = GetInitValue();
  if (type == "integer") return {{}, value, {}};
  if (type == "boolean") {
    bool nonZero = false;
    if (!ReadBooleanInteger(value, nonZero)) throw EConvertError(className, GetName(), value);
    return {{}, nonZero ? "True" : "False", {}};
  }
  if (!value.empty()) return {"'", value, "'"};
  const std::string_view name = GetName();
  if (name == vocabulary.cFileName) return {{}, kFileNameDefault, {}};
  if (name == vocabulary.cSection) return {{}, kSectionDefault, {}};
  return {"'", {}, "'"};
}

std::string TFielder::InitValueText(const TVocabulary& vocabulary,
                                    std::string_view className) const {
  const ValueParts parts = InitValueParts(vocabulary, className);
  std::string text;
  text.reserve(parts.open.size() + parts.text.size() + parts.close.size());
  text.append(parts.open).append(parts.text).append(parts.close);
  return text;
}

void TFielder::WriteFieldDecl(TWritePas& out) const {
  WriteLine(out, 3, GetName(), ":", GetType(), ";");
}

void TFielder::WriteParamText(TWritePas& out, bool first) const {
  if (first)
    emit::WritePieces(out, 0, ItemName(GetName()), ":", GetType());
  else
    emit::WritePieces(out, 0, ";", ItemName(GetName()), ":", GetType());
}

void TFielder::WriteAccessorDecls(TWritePas& out, const TVocabulary& vocabulary) const {
  const std::string_view item = ItemName(GetName());
  const std::string_view type = GetType();
  const std::string_view directive = DirectiveText();
  WriteLine(out, 3, "procedure Set", vocabulary.cSelf, item, "(", item, ":", type, ");");
  WriteLine(out, 3, "procedure Set", item, "(", item, ":", type, ");", directive, ";");
  WriteLine(out, 3, "function Get", vocabulary.cSelf, item, ":", type, ";");
  WriteLine(out, 3, "function Get", item, ":", type, ";", directive, ";");
}

void TFielder::WriteInitSelfLine(TWritePas& out, const TVocabulary& vocabulary,
                                 std::string_view className) const {
  // The value is rendered before anything of the line is written, so a
  // conversion failure leaves no half line behind.
  const ValueParts value = InitValueParts(vocabulary, className);
  WriteLine(out, 1, GetName(), " := ", value.open, value.text, value.close, ";");
}

void TFielder::WriteInitSuperLine(TWritePas& out) const {
  if (FRedefined) WriteLine(out, 1, GetName(), " := Inherited Get", ItemName(GetName()), ";");
}

void TFielder::WriteSetAllCall(TWritePas& out, const TVocabulary& vocabulary) const {
  const std::string_view item = ItemName(GetName());
  WriteLine(out, 1, "Set", vocabulary.cSelf, item, "(", item, ");");
}

void TFielder::WriteSetSelfBody(TWritePas& out, const TVocabulary& vocabulary,
                                std::string_view className) const {
  const std::string_view name = GetName();
  const std::string_view item = ItemName(name);
  WriteLine(out, 0, "procedure ", className, ".Set", vocabulary.cSelf, item, "(", item, ":",
            GetType(), ");", NewLine(0), "begin", NewLine(1), name, " := ", item, ";", NewLine(0),
            "end;");
}

void TFielder::WriteSetBody(TWritePas& out, const TVocabulary& vocabulary,
                            std::string_view className) const {
  const std::string_view item = ItemName(GetName());
  WriteLine(out, 0, "procedure ", className, ".Set", item, "(", item, ":", GetType(), ");",
            NewLine(0), "begin", NewLine(1), "Set", vocabulary.cSelf, item, "(", item, ");",
            NewLine(0), "end;");
}

void TFielder::WriteGetSelfBody(TWritePas& out, const TVocabulary& vocabulary,
                                std::string_view className) const {
  const std::string_view name = GetName();
  WriteLine(out, 0, "function ", className, ".Get", vocabulary.cSelf, ItemName(name), ":",
            GetType(), ";", NewLine(0), "begin", NewLine(1), "Result := ", name, ";", NewLine(0),
            "end;");
}

void TFielder::WriteGetBody(TWritePas& out, const TVocabulary& vocabulary,
                            std::string_view className) const {
  const std::string_view item = ItemName(GetName());
  WriteLine(out, 0, "function ", className, ".Get", item, ":", GetType(), ";", NewLine(0), "begin",
            NewLine(1), "Result := Get", vocabulary.cSelf, item, ";", NewLine(0), "end;");
}

void TFielder::WriteIniReadLine(TWritePas& out, const TVocabulary& vocabulary,
                                std::string_view className) const {
  if (FSkipIni) return;
  const std::string_view item = ItemName(GetName());
  const ValueParts value = InitValueParts(vocabulary, className);
  WriteLine(out, 1, "Inherited Set", vocabulary.cSelf, item, "(IniFile.Read", GetType(), "(",
            vocabulary.cSection, ",'", item, "',", value.open, value.text, value.close, "));");
}

void TFielder::WriteIniWriteLine(TWritePas& out, const TVocabulary& vocabulary) const {
  if (FSkipIni) return;
  const std::string_view name = GetName();
  WriteLine(out, 1, "IniFile.", vocabulary.cCheck, "Write", GetType(), "(", vocabulary.cSection,
            ",'", ItemName(name), "',", name, ");");
}
