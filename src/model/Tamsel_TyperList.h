// The class list of one definition file: the loader that fills it and the
// passes that write the generated unit from it.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "settings/Tamsel_ini.h"

class TTyper;
class TFielder;
class TFielderList;
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
  /// Throws platform::IoError when the file cannot be read.
  bool Load(const std::string& path);
  /// The same for definition text already in memory.
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

  /// Creates and appends the class definition; returns it when it holds
  /// fields, else null.
  TFielderList* CreateClassDef(std::string name, std::string parent, bool withFields);
  /// Appends the field to `owner` and records its name for FieldDefined.
  void AppendField(TFielderList& owner, std::unique_ptr<TFielder> field);
  void WriteIniProcedure(TWritePas& out, IniHook head, IniHook lines) const;

  std::vector<std::unique_ptr<TTyper>> FItems;
  bool FHasIni;
  const TVocabulary& vocabulary_;
  // The names of every field in the list. The views point into the fields'
  // own names, which never move: each field lives in its own allocation.
  std::unordered_set<std::string_view> fieldNames_;
};
