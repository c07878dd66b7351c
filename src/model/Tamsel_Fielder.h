// One field of a class definition, and everything the generated unit says
// about that field: its declarations, its share of the method bodies and its
// INI read and write lines.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "settings/Tamsel_ini.h"
#include "text/TextFile.h"

class TWritePas;

/// A boolean field whose initial value text is not an integer. The message
/// names the class, the field and the value.
class EConvertError : public std::runtime_error {
 public:
  EConvertError(std::string_view className, std::string_view fieldName, std::string_view value);
};

/// One field of a class: its name, type text and initial value text as
/// written in the definition file, its flags and its place. The texts are
/// views: into the definition text, which the class list keeps, or, for the
/// automatic fields of the INI-controller class, into the vocabulary.
class TFielder {
 public:
  /// `place` is where the name stands; an automatic field has its class's.
  TFielder(std::string_view name, std::string_view type, std::string_view initValue,
           bool redefined, bool skipIni, TPlace place = {}, bool automatic = false);

  /// The field name, e.g. "Fxxx".
  std::string_view GetName() const { return FName; }
  /// The type text, e.g. "string".
  std::string_view GetType() const { return FType; }
  /// The initial value text, e.g. "123"; empty for the automatic fields.
  std::string_view GetInitValue() const { return FInitValue; }
  /// A class on the field's chain already had a field of its name.
  bool GetRedefined() const { return FRedefined; }
  void MarkRedefined() { FRedefined = true; }
  /// The field gets no INI read or write line.
  bool GetSkipIni() const { return FSkipIni; }
  /// The INI-controller class redefines the field: its INI read line loads
  /// the controller's own copy.
  bool GetControllerCopy() const { return FControllerCopy; }
  void LoadIntoControllerCopy() { FControllerCopy = true; }
  /// One of the two fields the INI-controller class gets without a line.
  bool IsAutomatic() const { return FAutomatic; }
  /// Where the name stands in the definition; the class line for an
  /// automatic field.
  TPlace Place() const { return FPlace; }

  /// Exact, case-sensitive comparison with the field name.
  bool IsNamed(std::string_view text) const { return text == FName; }

  /// The initial value as Pascal source text: as written for the numeric
  /// types, "True"/"False" for "boolean", quoted otherwise, with fixed
  /// expressions for an empty value of a field named like the INI file name
  /// or section field. Throws EConvertError, naming `className`, for a
  /// boolean value that is not an integer.
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
  /// The bodies of SetSelf…, Set…, GetSelf… and Get…, in that order.
  void WriteAccessorBodies(TWritePas& out, const TVocabulary& vocabulary,
                           std::string_view className) const;

  /// The INI read and write lines; nothing for a field that skips the INI file.
  void WriteIniReadLine(TWritePas& out, const TVocabulary& vocabulary,
                        std::string_view className) const;
  void WriteIniWriteLine(TWritePas& out, const TVocabulary& vocabulary) const;

 private:
  /// "&" when the item name, used as a parameter name, must be escaped.
  std::string_view Param() const { return FItemReserved ? "&" : ""; }

  std::string_view FName;
  std::string_view FType;
  std::string_view FInitValue;
  TPlace FPlace;
  bool FRedefined;
  bool FSkipIni;
  bool FControllerCopy = false;
  bool FAutomatic;
  bool FItemReserved;  // the item name is a reserved word
};
