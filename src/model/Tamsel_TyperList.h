// The class list of one definition file: the loader that fills it and the
// passes that write the generated unit from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/NameIndex.h"
#include "settings/Tamsel_ini.h"

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

/// The line the loader refused: why, and where in the definition text.
struct TLoadFailure {
  TLoadFault fault = TLoadFault::kNone;
  const char* at = nullptr;  ///< the byte the fault is found at
  std::size_t spaces = 0;    ///< the line's leading spaces
};

class TTyper;
class TWritePas;

class TTyperList {
 public:
  /// `vocabulary` is the run-wide vocabulary; it must outlive the list.
  TTyperList(bool hasIni, const TVocabulary& vocabulary);
  /// The list keeps a reference, so a temporary vocabulary is refused.
  TTyperList(bool hasIni, const TVocabulary&& vocabulary) = delete;
  ~TTyperList();
  TTyperList(const TTyperList&) = delete;
  TTyperList& operator=(const TTyperList&) = delete;

  /// Reads the definition file at `path`; false at a malformed line.
  /// Throws platform::IoError when the file cannot be read. The list keeps
  /// the file's text, which its names and fields refer to.
  bool Load(const std::string& path);
  /// The same for definition text already in memory; the list keeps a copy.
  bool LoadText(std::string_view text);

  /// The line a failed Load refused.
  const TLoadFailure& LoadFailure() const { return failure_; }
  /// The text of the definition last loaded, without a byte-order mark; the
  /// names and fields of the list are views into it.
  std::string_view DefinitionText() const { return body_; }
  /// The class lines the split may take otherwise than their writer meant:
  /// a "(" without a final ")", blanks at the end, or a ":" or ";" in them.
  const std::vector<std::string_view>& OddClassLines() const { return oddClassLines_; }

  /// Appends a class definition of the kind its name and `withFields` call
  /// for; the INI-controller class gets its two automatic fields at once.
  /// The names must outlive the list.
  void AddClassDef(std::string_view name, std::string_view parent, bool withFields);
  /// Whether any class definition already has a field of that name (exact,
  /// case-sensitive; the automatic fields count).
  bool FieldDefined(std::string_view name) const { return fieldNames_.Find(name) != nullptr; }
  /// Whether class `index`, or a class on its parent chain, has a field of
  /// that name. A class's parent is the last class of its parent's name
  /// defined before it.
  bool ChainDefines(std::size_t index, std::string_view name);
  /// Whether an INI-controller class definition has been created.
  bool HasIniClass() const { return FHasIni; }
  /// Whether the definition text began with a UTF-8 byte-order mark, which
  /// the unit then begins with too.
  bool HasByteOrderMark() const { return FHasByteOrderMark; }

  /// The class definitions in definition-file order.
  std::size_t Count() const { return FItems.size(); }
  const TTyper& Item(std::size_t index) const { return *FItems[index]; }

  /// The class declarations and the unit-level var section.
  void WriteTypeSection(TWritePas& out) const;
  /// The method bodies of every class, and the INI overloads.
  void WriteImplementation(TWritePas& out) const;
  /// The INI load and store procedures; nothing without an INI-controller
  /// class.
  void WriteIniRead(TWritePas& out) const;
  void WriteIniWrite(TWritePas& out) const;

 private:
  using IniHook = void (TTyper::*)(TWritePas&, const TVocabulary&) const;

  /// Reads definition text that the list owns.
  bool Parse(std::string& text);
  /// Creates and appends the class definition; returns it when it holds
  /// fields, else null.
  TFielderList* CreateClassDef(std::string_view name, std::string_view parent, bool withFields);
  /// Appends a field read from the definition to `owner`, the newest class:
  /// it is redefined when the class or a class on its parent chain already
  /// has a field of its name, and it skips the INI file once an
  /// INI-controller class exists.
  void AddDefinedField(TFielderList& owner, std::string_view name, std::string_view type,
                       std::string_view value);
  /// Records the parent of the class appended after those in parents_.
  void RecordParent(std::string_view name, std::string_view parent);
  /// Works out the parents of every class so far, once.
  void ResolveParents();
  /// Records that the newest class has a field of the name whose entry in
  /// fieldNames_ is `newest`, and updates that entry.
  void RecordField(std::uint32_t& newest);
  /// Calls `visit` with the index of each class on the parent chain of
  /// class `index` (itself included) that has a field of the name whose
  /// entry in fieldNames_ is `newest`, nearest first, until `visit` returns
  /// true.
  template <typename Visit>
  void VisitChainDefiners(std::size_t index, std::uint32_t newest, Visit visit) const;
  void WriteIniProcedure(TWritePas& out, IniHook head, IniHook lines) const;

  std::vector<std::unique_ptr<TTyper>> FItems;
  TLoadFailure failure_;
  std::vector<std::string_view> oddClassLines_;
  std::string_view body_;
  bool FHasIni;
  bool FHasByteOrderMark = false;
  const TVocabulary& vocabulary_;
  static constexpr std::uint32_t kNone = 0xFFFFFFFF;
  // Marks a field name's entry that is the one class that has it, rather
  // than its newest entry in definers_.
  static constexpr std::uint32_t kSingle = 0x80000000;
  // The parent of each class in FItems, or kNone for a parent outside the
  // file (or not yet defined at the class); empty until a field name is
  // reused, when parents are first needed.
  std::vector<std::uint32_t> parents_;
  // Each class name, and the last class of that name.
  TNameIndex classNames_;
  // A class that has a field of some name, and the entry of the class
  // before it that has one too (kNone for none).
  struct Definer {
    std::uint32_t klass;
    std::uint32_t older;
  };
  std::vector<Definer> definers_;
  // The definition texts that names and fields refer to. A deque never moves
  // its elements, so their bytes stay where they are.
  std::deque<std::string> texts_;
  // Each field name, and the class that has it (kSingle | class) or, once
  // several have, its newest entry in definers_. Most names are used by one
  // class only, and need no entry there.
  TNameIndex fieldNames_;
};
