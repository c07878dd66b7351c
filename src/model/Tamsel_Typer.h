// A class definition, and the base of the three kinds. Every pass of the
// generator calls the same hook on each class; here the hooks do nothing,
// and the kinds that have something to write override them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/Tamsel_ini.h"

class TWritePas;

/// A class line as written, and its number in the definition.
struct TClassLine {
  std::string_view text;
  std::size_t number = 0;
};

/// Whether the classes a class inherits from can declare the Initial that
/// its own Initial overrides.
enum class TAncestorInitial : unsigned char {
  kNone,     ///< none can: no parent, or a chain of classes without fields
             ///< that ends in the file or at TObject, TPersistent or
             ///< TInterfacedObject
  kInFile,   ///< a class of the file on the chain has fields, so an Initial
  kOutside,  ///< the chain leaves the file at a class another unit declares
};

/// A class without fields, made from its class line: the name, then
/// optionally "(", the parent name and a last character taken for ")".
class TTyper {
 public:
  static constexpr std::size_t kNoParent = 0xFFFFFFFF;
  /// `parent`: the index in the class list of the class the loader takes for
  /// the parent, or kNoParent. Throws std::length_error for a line or line
  /// number of 4 Gi or more.
  explicit TTyper(const TClassLine& line, std::size_t parent = kNoParent,
                  TAncestorInitial ancestors = TAncestorInitial::kNone);
  virtual ~TTyper();
  TTyper(const TTyper&) = delete;
  TTyper& operator=(const TTyper&) = delete;

  std::string_view GetName() const { return FLine.substr(0, FNameSize); }
  /// Empty for "TName", "TName(" and "TName()".
  std::string_view GetParent() const {
    return FLine.size() >= FNameSize + 2 ? FLine.substr(FNameSize + 1, FLine.size() - FNameSize - 2)
                                         : std::string_view();
  }
  /// The parent class's name: the parent text before a "," (interfaces may
  /// follow it), blanks around it aside.
  std::string_view GetParentClass() const;
  /// The index of the last class of exactly the parent's name before this
  /// one, or kNoParent.
  std::size_t ParentIndex() const { return FParentIndex; }
  TAncestorInitial AncestorInitial() const { return FAncestorInitial; }
  /// Whether its Initial overrides an ancestor's (and calls it first).
  bool OverridesInitial() const { return FAncestorInitial != TAncestorInitial::kNone; }
  std::string_view LineText() const { return FLine; }
  std::size_t LineNumber() const { return FLineNumber; }

  void WriteClassHead(TWritePas& out) const;
  void WriteObjectVar(TWritePas& out) const;

  // The hooks, in slot order; a class without fields has nothing to write.
  virtual bool HasField(std::string_view) const { return false; }  ///< one of its own fields
  virtual void WriteFieldDecls(TWritePas&, const TVocabulary&) const {}
  virtual void WriteMethodDecls(TWritePas&, const TVocabulary&) const {}
  virtual void WriteMethodBodies(TWritePas&, const TVocabulary&) const {}
  virtual void WriteIniMethodDecls(TWritePas&, const TVocabulary&) const {}
  virtual void WriteIniMethodBodies(TWritePas&, const TVocabulary&) const {}
  virtual void WriteIniReadHead(TWritePas&, const TVocabulary&) const {}
  virtual void WriteIniWriteHead(TWritePas&, const TVocabulary&) const {}
  virtual void WriteIniReadLines(TWritePas&, const TVocabulary&) const {}
  virtual void WriteIniWriteLines(TWritePas&, const TVocabulary&) const {}

 private:
  // A million classes without fields are a million of these: the line, the
  // end of its name, its number and its parent keep one in 48 bytes.
  std::string_view FLine;
  std::uint32_t FNameSize;
  std::uint32_t FLineNumber;
  std::uint32_t FParentIndex;
  TAncestorInitial FAncestorInitial;
};
