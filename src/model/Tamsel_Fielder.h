// One field of a class definition, and everything the unit says about it:
// its declarations, its share of the method bodies, its INI lines.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "settings/Tamsel_ini.h"
#include "text/TextFile.h"

class TWritePas;

/// A boolean initial value that is not an integer; the message names the
/// class, the field and the value.
class EConvertError : public std::runtime_error {
 public:
  EConvertError(std::string_view className, std::string_view fieldName, std::string_view value);
};

/// A field as written: name, type and initial value are views into the
/// definition text (or, for the automatic fields, into the vocabulary).
class TFielder {
 public:
  /// `place` is where the name stands; an automatic field has its class's.
  TFielder(std::string_view name, std::string_view type, std::string_view initValue,
           bool redefined, bool skipIni, TPlace place = {}, bool automatic = false);

  std::string_view GetName() const { return FName; }
  std::string_view GetType() const { return FType; }
  std::string_view GetInitValue() const { return FInitValue; }
  /// A class on the field's chain had a field of its name before it.
  bool GetRedefined() const { return FRedefined; }
  void MarkRedefined() { FRedefined = true; }
  /// The field gets no INI read or write line.
  bool GetSkipIni() const { return FSkipIni; }
  /// The INI-controller class redefines the field: its INI read line loads
  /// the controller's own copy.
  void LoadIntoControllerCopy() { FControllerCopy = true; }
  bool LoadsIntoControllerCopy() const { return FControllerCopy; }
  /// One of the two fields the INI-controller class gets without a line.
  bool IsAutomatic() const { return FAutomatic; }
  TPlace Place() const { return FPlace; }
  bool IsNamed(std::string_view text) const { return text == FName; }

  /// The initial value as Pascal text: as written for the numeric types,
  /// True/False for boolean (EConvertError naming `className` when it is no
  /// integer), quoted otherwise, or the automatic fields' expressions.
  std::string InitValueText(const TVocabulary& vocabulary, std::string_view className) const;
  std::string_view DirectiveText() const { return FRedefined ? "override" : "virtual"; }

  void WriteFieldDecl(TWritePas& out) const;
  /// ";" unless first, then item name, ":" and type, with no line end.
  void WriteParamText(TWritePas& out, bool first) const;
  void WriteAccessorDecls(TWritePas& out, const TVocabulary& vocabulary) const;
  void WriteInitSelfLine(TWritePas& out, const TVocabulary& vocabulary,
                         std::string_view className) const;
  void WriteInitSuperLine(TWritePas& out) const;  ///< nothing unless redefined
  void WriteSetAllCall(TWritePas& out, const TVocabulary& vocabulary) const;
  void WriteAccessorBodies(TWritePas& out, const TVocabulary& vocabulary,
                           std::string_view className) const;
  /// The INI lines; nothing for a field that skips the INI file.
  void WriteIniReadLine(TWritePas& out, const TVocabulary& vocabulary,
                        std::string_view className) const;
  void WriteIniWriteLine(TWritePas& out, const TVocabulary& vocabulary) const;

 private:
  /// names::Escape of the item name, worked out once per field.
  std::string_view Param() const { return FItemReserved ? "&" : ""; }

  std::string_view FName;
  std::string_view FType;
  std::string_view FInitValue;
  TPlace FPlace;
  bool FRedefined;
  bool FSkipIni;
  bool FControllerCopy = false;
  bool FAutomatic;
  bool FItemReserved;
};
