// The class list of one definition file: the loader that fills it and the
// passes that write the generated unit from it.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/Tamsel_Typer.h"
#include "settings/Tamsel_ini.h"
#include "text/TextFile.h"

class TFielder;
class TFielderList;

/// Why the loader refused a line.
enum class TLoadFault {
  kNone,
  kIndent,            ///< more or fewer leading spaces than the indent string
  kTabInIndent,       ///< a tab character among the leading spaces
  kNoColon,           ///< a field line without ":"
  kNoSemicolon,       ///< a field line without ";"
  kFieldBeforeClass,  ///< a field line before any class line
};

/// The line the loader refused: why, where, and its leading spaces.
struct TLoadFailure {
  TLoadFault fault = TLoadFault::kNone;
  TPlace place;
  std::size_t spaces = 0;
};

/// A field of the list, the hash of its name (letter case aside) and the
/// index of its class.
struct TFieldAt {
  std::size_t hash;
  std::size_t klass;
  TFielder* field;
  std::string_view Name() const;
};
/// Whether two fields have names equal but for letter case.
bool SameGroup(const TFieldAt& a, const TFieldAt& b);

class TTyperList {
 public:
  /// `vocabulary` is the run-wide vocabulary; it must outlive the list.
  TTyperList(bool hasIni, const TVocabulary& vocabulary);
  TTyperList(bool hasIni, const TVocabulary&& vocabulary) = delete;
  ~TTyperList();
  TTyperList(const TTyperList&) = delete;
  TTyperList& operator=(const TTyperList&) = delete;

  /// Reads the definition file; false at a malformed line. Throws
  /// platform::IoError when it cannot be read.
  bool Load(const std::string& path);
  /// The same for text in memory; the list keeps a copy, which its names
  /// and fields refer to.
  bool LoadText(std::string_view text);
  const TLoadFailure& LoadFailure() const { return failure_; }

  /// Appends a class of the kind its name and `withFields` call for; the
  /// INI-controller class gets its two automatic fields at once.
  TTyper& AddClassDef(const TClassLine& line, bool withFields);
  TAncestorInitial AncestorInitial(const TTyper& item, std::size_t parentIndex) const;
  bool HasIniClass() const { return FHasIni; }
  /// The definition began with a UTF-8 byte-order mark, as the unit will.
  bool HasByteOrderMark() const { return FHasByteOrderMark; }

  std::size_t Count() const { return FItems.size(); }
  const TTyper& Item(std::size_t index) const { return *FItems[index]; }
  /// Every field: those whose names are equal but for letter case together,
  /// within them those of one spelling, each in definition-file order.
  const std::vector<TFieldAt>& FieldsByName() const { return byName_; }

  /// The class declarations and the unit-level var section.
  void WriteTypeSection(TWritePas& out) const;
  /// The method bodies of every class, and the INI overloads.
  void WriteImplementation(TWritePas& out) const;
  /// The INI load and store procedures; nothing without an INI controller.
  void WriteIniRead(TWritePas& out) const;
  void WriteIniWrite(TWritePas& out) const;

 private:
  using IniHook = void (TTyper::*)(TWritePas&, const TVocabulary&) const;

  bool Parse(std::string& text);
  void GroupFieldsByName();
  /// Marks the fields of the classes from `firstClass` on whose class, or a
  /// class on its chain, has an earlier field of exactly their name.
  void MarkRedefinedFields(std::size_t firstClass);
  void MarkIfRedefined(std::vector<TFieldAt>::iterator first, std::vector<TFieldAt>::iterator field);
  void MarkControllerCopies();
  void WriteIniProcedure(TWritePas& out, IniHook head, IniHook lines) const;

  std::vector<std::unique_ptr<TTyper>> FItems;
  bool FHasIni;
  bool FHasByteOrderMark = false;
  const TVocabulary& vocabulary_;
  TLoadFailure failure_;
  // While a text is read: the last class of each name, from which a later
  // class of that parent name derives.
  std::unordered_map<std::string_view, std::size_t> lastByName_;
  // The definition texts; a deque never moves its elements.
  std::deque<std::string> texts_;
  std::vector<TFieldAt> byName_;
};
