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

#include "model/Tamsel_FielderList.h"
#include "platform/Platform.h"
#include "settings/Tamsel_ini.h"

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
  /// the file's text: its fields refer to it.
  bool Load(const std::string& path);
  /// The same for definition text already in memory; the list keeps a copy.
  bool LoadText(std::string_view text);

  /// Appends a class definition of the kind its name and `withFields` call
  /// for; the INI-controller class gets its two automatic fields at once.
  void AddClassDef(std::string name, std::string parent, bool withFields);
  /// Whether any class definition already has a field of that name (exact,
  /// case-sensitive; the automatic fields count).
  bool FieldDefined(std::string_view name) const;
  /// Whether an INI-controller class definition has been created.
  bool HasIniClass() const { return FHasIni; }

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

  /// Whether a field of some name has been appended: an open-addressing
  /// table of field numbers, each kept with 32 bits of its name's hash. The
  /// hash settles most probes without touching a field, and growing the table
  /// moves the slots by their kept hash without reading any name again.
  class FieldNameIndex {
   public:
    /// Where a name stands in the table, or the free slot where it would go.
    struct Probe {
      std::size_t slot;
      std::uint32_t hash;
      bool found;
    };

    static std::uint32_t Hash(std::string_view name);
    bool Contains(std::string_view name, const TFielderStore& fields) const;
    /// Makes room for `names` names in all, so that the table need not grow
    /// while they come. The room is made present at once only when it takes
    /// no more than `touchBudget` bytes; otherwise its memory is only taken
    /// as names land in it.
    void Reserve(std::size_t names, std::size_t touchBudget);
    /// Starts fetching the slot where a name of that hash is looked for.
    void Prefetch(std::uint32_t hash) const;
    /// Looks up `name`, of that hash, the name of the field about to be
    /// appended to `fields`, after making room for one more name.
    Probe Prepare(std::string_view name, std::uint32_t hash, const TFielderStore& fields);
    /// Records field `number` as the first of its name, in the slot of a
    /// Prepare that did not find the name; no other name may be recorded
    /// between the two.
    void Record(const Probe& probe, std::size_t number);

   private:
    struct Slot {
      std::uint32_t number;  // field number + 1; 0 for a free slot
      std::uint32_t hash;
    };

    std::size_t FirstSlot(std::uint32_t hash) const;
    Probe Find(std::string_view name, std::uint32_t hash,
               const TFielderStore& fields) const;
    void Rehash(std::size_t slots, bool prefault);

    // Zeroed large-block memory, made present as it is used (a large page at
    // a time) unless prefaulted.
    std::unique_ptr<Slot[], platform::LargeFree> slots_;
    std::size_t size_ = 0;  // slots in the table
    std::size_t count_ = 0;
  };

  /// Reads definition text that the list owns; field lines are split where
  /// they stand, so the fields point into it.
  bool Parse(platform::LargeString& text);
  /// Creates and appends the class definition; returns it when it holds
  /// fields, else null.
  TFielderList* CreateClassDef(std::string name, std::string parent, bool withFields);
  /// Makes room in the field store for every field line the text may hold.
  void ReserveFields(std::string_view text);
  /// Makes the next stretch of the store's reserved room present.
  void PrefaultFieldStore();
  /// Adds a field to `owner`, the newest class, and records its name.
  /// `line` ("name:type;value" after the indent) stays where it is; the name
  /// is its first `nameSize` bytes (`hash` is its FieldNameIndex::Hash) and
  /// the value starts at `valueStart`. A field read from the definition is
  /// redefined when its name is already defined; an automatic field never
  /// is, and always skips the INI file.
  void AppendField(TFielderList& owner, std::string_view line, std::size_t nameSize,
                   std::size_t valueStart, bool automatic, std::uint32_t hash);
  /// A field line read but not yet added: its class, the line after the
  /// indent, where it splits, and its name's hash.
  struct WaitingField {
    TFielderList* owner;
    std::string_view line;
    std::size_t nameSize;
    std::size_t valueStart;
    std::uint32_t hash;
  };
  /// How many field lines are read ahead of the one being added.
  static constexpr std::size_t kLookahead = 8;
  /// The field lines read ahead, oldest first: `count` of them from `first`.
  struct WaitingFields {
    WaitingField fields[kLookahead];
    std::size_t first = 0;
    std::size_t count = 0;
  };
  /// Adds the oldest waiting field; there must be one.
  void AddFirstWaiting(WaitingFields& waiting);
  /// Adds every waiting field, in order.
  void AddAllWaiting(WaitingFields& waiting);
  void WriteIniProcedure(TWritePas& out, IniHook head, IniHook lines) const;

  std::vector<std::unique_ptr<TTyper>> FItems;
  bool FHasIni;
  const TVocabulary& vocabulary_;
  // The definition texts, and the lines of the automatic fields, that the
  // fields point into. A deque never moves its elements.
  std::deque<platform::LargeString> texts_;
  // Every field of every class, class after class.
  TFielderStore fields_;
  std::size_t prefaultedFields_ = 0;  // the store is present up to here
  FieldNameIndex fieldNames_;
};
