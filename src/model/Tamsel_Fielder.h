// One field of a class definition, and everything the generated unit says
// about that field: its declarations, its share of the method bodies and its
// INI read and write lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "settings/Tamsel_ini.h"

class TWritePas;

/// A boolean field whose initial value text is not an integer. The message
/// names the class, the field and the value.
class EConvertError : public std::runtime_error {
 public:
  EConvertError(std::string_view className, std::string_view fieldName, std::string_view value);
};

/// One field of a class: its name, type text and initial value text as
/// written in the definition file, and its two flags. A field is its
/// definition line after the indent, "name:type;value", and where that line
/// splits: the name is line[0, nameSize), the value line[valueStart, size),
/// and the type what lies between them after the ":" and before the ";"
/// (nothing when the ";" comes first). The field refers to the line and owns
/// none of it; whoever makes the field keeps the line alive (the class list
/// keeps its own copy of the definition text). So a field takes 24 bytes and
/// the class list keeps a million of them in 24 MB.
class TFielder {
 public:
  /// `nameSize` and `valueStart` lie within `line`. Throws std::length_error
  /// for a line of 4 GiB or more.
  TFielder(std::string_view line, std::size_t nameSize, std::size_t valueStart, bool redefined,
           bool skipIni);

  /// The field name, e.g. "Fxxx".
  std::string_view GetName() const { return {FLine, FNameSize}; }
  /// The type text, e.g. "string".
  std::string_view GetType() const {
    return FValueStart > FNameSize + 1 ? std::string_view(FLine + FNameSize + 1,
                                                          FValueStart - FNameSize - 2)
                                       : std::string_view();
  }
  /// The initial value text, e.g. "123"; empty for the automatic fields.
  std::string_view GetInitValue() const { return {FLine + FValueStart, FSize - FValueStart}; }
  /// A field of the same name already stood in the class list when this one
  /// was created.
  bool GetRedefined() const { return FRedefined; }
  /// The field gets no INI read or write line.
  bool GetSkipIni() const { return FSkipIni; }

  /// Exact, case-sensitive comparison with the field name.
  bool IsNamed(std::string_view text) const { return text == GetName(); }

  /// The initial value as Pascal source text: as written for "integer",
  /// "True"/"False" for "boolean", quoted otherwise, with fixed expressions
  /// for an empty value of a field named like the INI file name or section
  /// field. `className` names the owning class in the EConvertError thrown
  /// for a boolean value that is not an integer.
  std::string InitValueText(const TVocabulary& vocabulary, std::string_view className) const;
  /// "override" for a redefined field, else "virtual".
  std::string_view DirectiveText() const { return FRedefined ? "override" : "virtual"; }

  // Declarations in the type section.
  void WriteFieldDecl(TWritePas& out) const;
  /// Item name + ":" + type, after a ";" unless it is the first parameter,
  /// at level 0 and without a line end.
  void WriteParamText(TWritePas& out, bool first) const;
  /// The declarations of SetSelf…, Set…, GetSelf… and Get…, a line each.
  void WriteAccessorDecls(TWritePas& out, const TVocabulary& vocabulary) const;

  // Lines and bodies in the implementation section.
  void WriteInitSelfLine(TWritePas& out, const TVocabulary& vocabulary,
                         std::string_view className) const;
  /// Writes nothing unless the field is redefined.
  void WriteInitSuperLine(TWritePas& out) const;
  void WriteSetAllCall(TWritePas& out, const TVocabulary& vocabulary) const;
  void WriteSetSelfBody(TWritePas& out, const TVocabulary& vocabulary,
                        std::string_view className) const;
  void WriteSetBody(TWritePas& out, const TVocabulary& vocabulary,
                    std::string_view className) const;
  void WriteGetSelfBody(TWritePas& out, const TVocabulary& vocabulary,
                        std::string_view className) const;
  void WriteGetBody(TWritePas& out, const TVocabulary& vocabulary,
                    std::string_view className) const;

  /// The INI read and write lines; nothing for a field that skips the INI file.
  void WriteIniReadLine(TWritePas& out, const TVocabulary& vocabulary,
                        std::string_view className) const;
  void WriteIniWriteLine(TWritePas& out, const TVocabulary& vocabulary) const;

 private:
  /// The initial value source text in up to three pieces (an opening quote,
  /// the text, a closing quote), so that it can be written without copying.
  struct ValueParts {
    std::string_view open;
    std::string_view text;
    std::string_view close;
  };
  ValueParts InitValueParts(const TVocabulary& vocabulary, std::string_view className) const;

  const char* FLine;
  std::uint32_t FNameSize;
  std::uint32_t FValueStart;
  std::uint32_t FSize;
  bool FRedefined;
  bool FSkipIni;
};

static_assert(sizeof(TFielder) <= 24);

/// Where the fields of a class list stand, class after class. A large
/// definition has millions of fields, read through again and again.
using TFielderStore = std::vector<TFielder, platform::LargeAllocator<TFielder>>;
