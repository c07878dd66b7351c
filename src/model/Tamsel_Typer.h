// A class definition of the definition file, and the base of the three kinds
// of class definition. Every pass of the generator walks the class list and
// calls the same hook on each definition; here every hook does nothing, and
// the kinds that have something to write override it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/Tamsel_ini.h"

class TWritePas;

/// A class line as written, and its number in the definition. Its text
/// must outlive the classes made from it (the class list keeps it).
struct TClassLine {
  std::string_view text;
  std::size_t number = 0;
};

/// A class without fields, made from its class line: the class name, then
/// optionally "(", the parent name and a last character that is expected to
/// be ")" but is dropped untested.
class TTyper {
 public:
  /// `parentClass` is the class of the file the loader takes for the
  /// parent, or null. Throws std::length_error for a line or line number of
  /// 4 Gi or more.
  explicit TTyper(const TClassLine& line, TTyper* parentClass = nullptr);
  virtual ~TTyper();
  TTyper(const TTyper&) = delete;
  TTyper& operator=(const TTyper&) = delete;

  /// The class name as written.
  std::string_view GetName() const { return FLine.substr(0, FNameSize); }
  /// The parent class name as written; empty when the class line names none
  /// ("TName", "TName(" and "TName()").
  std::string_view GetParent() const {
    return FLine.size() >= FNameSize + 2 ? FLine.substr(FNameSize + 1, FLine.size() - FNameSize - 2)
                                         : std::string_view();
  }
  /// The parent as the loader finds it: the last class of exactly the
  /// parent's name defined before this one; null for none.
  const TTyper* ParentClass() const { return FParentClass; }
  TTyper* ParentClass() { return FParentClass; }
  /// The class line as written, and its number.
  std::string_view LineText() const { return FLine; }
  std::size_t LineNumber() const { return FLineNumber; }

  /// The head line of the class declaration, at level 1.
  void WriteClassHead(TWritePas& out) const;
  /// The unit-level object variable of the class, at level 1.
  void WriteObjectVar(TWritePas& out) const;

  // The hooks, in slot order.

  /// Slot 0: whether one of the class's own fields has that name.
  virtual bool HasField(std::string_view name) const;
  /// Slot 1: the private field declarations.
  virtual void WriteFieldDecls(TWritePas& out, const TVocabulary& vocabulary) const;
  /// Slot 2: the public method declarations.
  virtual void WriteMethodDecls(TWritePas& out, const TVocabulary& vocabulary) const;
  /// Slot 3: the bodies of the generated methods.
  virtual void WriteMethodBodies(TWritePas& out, const TVocabulary& vocabulary) const;
  /// Slot 4: the declarations of the INI read and write overloads.
  virtual void WriteIniMethodDecls(TWritePas& out, const TVocabulary& vocabulary) const;
  /// Slot 5: the bodies of the INI read and write overloads.
  virtual void WriteIniMethodBodies(TWritePas& out, const TVocabulary& vocabulary) const;
  /// Slot 6: the head line of the INI read procedure.
  virtual void WriteIniReadHead(TWritePas& out, const TVocabulary& vocabulary) const;
  /// Slot 7: the head line of the INI write procedure.
  virtual void WriteIniWriteHead(TWritePas& out, const TVocabulary& vocabulary) const;
  /// Slot 8: one INI read line per field that does not skip the INI file.
  virtual void WriteIniReadLines(TWritePas& out, const TVocabulary& vocabulary) const;
  /// Slot 9: one INI write line per field that does not skip the INI file.
  virtual void WriteIniWriteLines(TWritePas& out, const TVocabulary& vocabulary) const;

 protected:
  // A million classes without fields are a million of these: the line with
  // the end of its name, and its number, keep one in 48 bytes.
  std::string_view FLine;
  std::uint32_t FNameSize;
  std::uint32_t FLineNumber;
  TTyper* FParentClass;
};
