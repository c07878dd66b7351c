#include "check/Tamsel_Check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <memory_resource>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "check/Tamsel_Diagnostics.h"
#include "model/PascalWords.h"
#include "model/Tamsel_Fielder.h"
#include "model/Tamsel_FielderList.h"
#include "model/Tamsel_Names.h"
#include "model/Tamsel_TyperIni.h"
#include "model/Tamsel_TyperList.h"
#include "settings/Tamsel_ini.h"
#include "text/Ascii.h"
#include "writer/Tamsel_WritePas.h"

namespace {

using texts::IsBlank;
using texts::SameTextAscii;
using texts::SameTextAsAny;
constexpr auto Trim = texts::TrimBlanks;

// Pascal compares identifiers without ASCII letter case, and so do these.
template <typename T>
using CaseFreeMap = std::unordered_map<std::string_view, T, texts::CaseFreeHash, texts::CaseFreeEqual>;
using CaseFreeSet = std::unordered_set<std::string_view, texts::CaseFreeHash, texts::CaseFreeEqual>;

// Generated names as Pascal compares them: their pieces joined, letter case
// aside.
struct TNameHash {
  std::size_t operator()(const TName& name) const {
    std::size_t hash = texts::CaseFreeHash::kStart;
    for (std::string_view piece : name.pieces) hash = texts::CaseFreeHash::Continue(hash, piece);
    return hash;
  }
};
struct TNameEqual {
  bool operator()(const TName& a, const TName& b) const {
    return a.Size() == b.Size() && SameTextAscii(a.Text(), b.Text());
  }
};

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// The units every generated unit depends on, directly or through the
// runtime unit; a unit of the same name makes a circular reference.
constexpr std::array<std::string_view, 19> kDependedUnits = {
    "system",    "objpas",   "sysutils", "classes", "inifiles", "contnrs", "math",
    "rtlconsts", "sysconst", "types",    "typinfo", "baseunix", "unix",    "unixtype",
    "unixutil",  "linux",    "syscall",  "errors",  "windows"};
bool IsDependedUnit(std::string_view name) { return SameTextAsAny(name, kDependedUnits); }

// The INI file classes of the IniFiles unit.
constexpr std::array<std::string_view, 3> kIniFilesClasses = {"TIniFile", "TMemIniFile",
                                                              "TCustomIniFile"};

// A field name Pascal refuses: a reserved word (but not the words refused
// only as parameter names), a visibility word, or Self; and Result, which
// the getter would read instead of the field.
bool IsReservedFieldName(std::string_view name) {
  static constexpr std::array<std::string_view, 3> kParameterOnly = {"out", "inline", "constref"};
  static constexpr std::array<std::string_view, 7> kClassWords = {
      "private", "protected", "public", "published", "strict", "self", "result"};
  return SameTextAsAny(name, kClassWords) ||
         (IsReservedWord(name) && !SameTextAsAny(name, kParameterOnly));
}

// Fields in file order: by class, then within one class.
bool InClassOrder(const TFieldAt* a, const TFieldAt* b) {
  return a->klass != b->klass ? a->klass < b->klass : a->field < b->field;
}

// A field's item name, and whether two fields' are equal but for letter
// case (their hashes first, as in the loader's grouping).
std::string_view FieldItem(const TFieldAt& f) { return Trim(ItemName(f.Name())); }
bool SameItem(const TFieldAt& a, const TFieldAt& b) {
  return a.hash == b.hash && SameTextAscii(FieldItem(a), FieldItem(b));
}

// Whether a string value is already written as a Pascal string ("'My
// App'"), which the unit's own apostrophes then break apart. A value that
// splices an expression in ("'+IntToStr(1)+'") or whose apostrophes all
// stand in pairs ("''x''") is meant as it is.
bool InQuotes(std::string_view value) {
  if (value.size() < 2 || value.front() != '\'' || value.back() != '\'') return false;
  const std::string_view inner = Trim(value.substr(1, value.size() - 2));
  if (inner.starts_with('+') || inner.ends_with('+')) return false;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\'') continue;
    if (i + 1 == value.size() || value[i + 1] != '\'') return true;
    ++i;
  }
  return false;
}

// Where the parts of a class line and a field line stand. The automatic
// fields have no line of their own: all their parts are at their class.
TPlace ClassPlace(const TTyper& item) { return {item.LineNumber(), 1}; }
TPlace PlaceIn(const TTyper& item, const char* at) {
  return {item.LineNumber(), static_cast<std::size_t>(at - item.LineText().data()) + 1};
}
TPlace TypePlace(const TFielder& field) {
  if (field.IsAutomatic()) return field.Place();
  return {field.Place().line, field.Place().column + field.GetName().size() + 1};
}
TPlace ValuePlace(const TFielder& field) {
  if (field.IsAutomatic()) return field.Place();
  const TPlace type = TypePlace(field);
  return {type.line, type.column + field.GetType().size() + 1};
}

// What the checks ask of a type text.
struct TypeFacts {
  bool numeric, boolean, character, storable, classType;
  bool known;  // a numeric, boolean, string or character type
};

// A name a class declares: one of its own methods (field kNone) or one of
// the five names of one of its fields (kind 0 its name, 1 to 4 its
// accessors).
struct Member {
  std::size_t field;
  std::size_t kind;
};

// Whether a class has an Initial to override: it or an ancestor holds
// fields (kYes), no class of its chain does (kNo), or the chain leaves the
// file at a class another unit declares (kOutside).
enum class Initial : unsigned char { kYes, kNo, kOutside };

class TChecker {
 public:
  TChecker(const TTyperList& list, const TVocabulary& vocabulary, TDiagnostics& out)
      : list_(list), v_(vocabulary), out_(out) {}

  void Run(std::string_view unitName);

 private:
  void Warn(TPlace at, std::string_view text, std::initializer_list<std::string_view> names = {}) {
    out_.Add(TSeverity::kWarning, at, text, names);
  }
  void Note(TPlace at, std::string_view text, std::initializer_list<std::string_view> names = {}) {
    out_.Add(TSeverity::kNote, at, text, names);
  }
  std::string_view ClassKey(std::size_t index) const { return Trim(list_.Item(index).GetName()); }
  const TFielderList* Fields(std::size_t index) const {
    return dynamic_cast<const TFielderList*>(&list_.Item(index));
  }
  bool HasController() const { return controller_ < list_.Count(); }
  bool RuntimeIniClass() const {
    return v_.cTIniFileMine == DefaultSettingValues().cTIniFileMine;
  }
  // The first class of that name, letter case and surrounding blanks aside.
  std::size_t FindClass(std::string_view name) const {
    const auto found = firstClass_.find(name);
    return found == firstClass_.end() ? kNone : found->second;
  }
  void IndexClassesAndTypes();
  bool HidesUsedName(std::string_view name) const;

  void CheckUnitName(std::string_view unitName);
  void CheckMethodNames();
  void CheckUseUnit();
  void CheckOddClassLine(const TTyper& item);
  void CheckClassName(std::size_t index);
  void CheckObjectVariable(std::size_t index);
  void CheckParent(std::size_t index);
  bool CheckStandardParent(const TTyper& item, std::string_view parent);
  void CheckMembers(const TFielderList& fields);
  void ReportClash(const TFielderList& fields, const TFielder& field, Member own, Member other,
                   int rank);
  void CheckFieldName(const TFielder& field, bool stored);
  bool CheckFieldType(const TFielder& field, const TypeFacts& facts, bool stored);
  void CheckNumberValue(const TFielder& field, bool stored);
  void CheckStringValue(const TFielder& field);
  using TMet = std::vector<std::pair<const TFieldAt*, const TFieldAt*>>;  // field, inherited
  TMet MetInAncestors(const std::vector<TFieldAt>& fields,
                      bool (*same)(const TFieldAt&, const TFieldAt&)) const;
  void CheckInheritedFields();
  void CheckHiddenAccessors();
  void ReportInherited(const TFieldAt& field, const TFieldAt& inherited);
  std::size_t ControllerChainLeavesAt() const;
  void CheckController();

  const TTyperList& list_;
  const TVocabulary& v_;
  TDiagnostics& out_;
  std::size_t controller_ = 0;  // the first INI-controller class, or Count()
  CaseFreeMap<std::size_t> firstClass_;      // trimmed class name -> first class
  CaseFreeMap<std::size_t> firstVariable_;   // trimmed item name -> first class
  CaseFreeMap<TypeFacts> types_;             // the trimmed types the fields use
  bool booleanUsed_ = false;
  // Each class's parent as Pascal finds it: the first class of the parent's
  // name, defined before it; kNone for none.
  std::vector<std::size_t> parents_;
  std::vector<Initial> initial_;
  CaseFreeSet notedTypes_;  // the unknown types noted so far
};

void TChecker::IndexClassesAndTypes() {
  controller_ = list_.Count();
  firstClass_.reserve(list_.Count());
  firstVariable_.reserve(list_.Count());
  for (std::size_t i = 0; i < list_.Count(); ++i) {
    const std::string_view raw = list_.Item(i).GetName();
    firstClass_.try_emplace(Trim(raw), i);
    firstVariable_.try_emplace(Trim(ItemName(raw)), i);
    if (controller_ == list_.Count() && dynamic_cast<const TTyperIni*>(&list_.Item(i)))
      controller_ = i;
  }
  for (std::size_t i = 0; i < list_.Count(); ++i) {
    const TFielderList* fields = Fields(i);
    if (!fields) continue;
    for (const TFielder& field : fields->Fields()) {
      const std::string_view type = Trim(field.GetType());
      if (types_.contains(type)) continue;
      const bool storable = IsStorableType(type);
      types_[type] = {IsNumericType(type), IsBooleanType(type), IsCharType(type), storable,
                      !type.empty() && FindClass(type) != kNone, storable || IsCharType(type)};
      booleanUsed_ = booleanUsed_ || IsBooleanType(type);
    }
  }
}

void TChecker::Run(std::string_view unitName) {
  IndexClassesAndTypes();
  if (list_.Count() == 0) Warn({}, "定義にクラスが一つもありません");
  CheckUnitName(unitName);
  CheckMethodNames();
  CheckUseUnit();
  for (std::size_t i = 0; i < list_.Count(); ++i) CheckOddClassLine(list_.Item(i));
  parents_.assign(list_.Count(), kNone);
  initial_.assign(list_.Count(), Initial::kNo);
  for (std::size_t i = 0; i < list_.Count(); ++i) {
    CheckClassName(i);
    CheckObjectVariable(i);
    CheckParent(i);
  }
  for (std::size_t i = 0; i < list_.Count(); ++i) {
    const TFielderList* fields = Fields(i);
    if (!fields) continue;
    CheckMembers(*fields);
    for (const TFielder& field : fields->Fields()) {
      const bool stored = HasController() && i < controller_ && !field.GetSkipIni();
      const TypeFacts& facts = types_.at(Trim(field.GetType()));
      CheckFieldName(field, stored);
      if (!CheckFieldType(field, facts, stored)) continue;
      if (facts.numeric)
        CheckNumberValue(field, stored);
      else
        CheckStringValue(field);
    }
  }
  CheckInheritedFields();
  CheckHiddenAccessors();
  if (HasController()) CheckController();
}

// The types the fields use, True and False where one is boolean, and what
// the INI controller's code calls: a name of the unit, or of one of its
// classes, that equals one of them hides it.
bool TChecker::HidesUsedName(std::string_view name) const {
  const auto type = types_.find(name);
  if ((type != types_.end() && type->second.known) ||
      (booleanUsed_ && SameTextAsAny(name, names::kBooleans)))
    return true;
  // The runtime unit's INI file class; one the settings name may well be
  // declared here, on purpose.
  return HasController() && (SameTextAsAny(name, names::kDefaultFunctions) ||
                             (RuntimeIniClass() && SameTextAscii(name, v_.cTIniFileMine)));
}

void TChecker::CheckUnitName(std::string_view unitName) {
  if (!IsQualifiedName(unitName))
    Warn({}, "定義ファイル名から作るユニット名 \"{}\" は Pascal のユニット名になりません",
         {unitName});
  else if (IsDependedUnit(unitName) || SameTextAsAny(unitName, names::UseUnits(v_)))
    Warn({}, "ユニット名 \"{}\" は生成するユニットが使うユニットと同じ名前です", {unitName});
  else if (HidesUsedName(unitName))
    Warn({}, "ユニット名 \"{}\" が、生成するユニットの使う同じ名前を隠します", {unitName});
}

// The names the settings give every class: with unusable settings every
// class would fail the same way, so they are reported once.
void TChecker::CheckMethodNames() {
  std::vector<std::string> methods;
  for (const TName& method : names::ClassMethods(v_, HasController()))
    methods.push_back(method.Text());
  for (std::size_t i = 0; i < methods.size(); ++i) {
    const std::string& name = methods[i];
    const bool twice = std::any_of(methods.begin(), methods.begin() + static_cast<std::ptrdiff_t>(i),
                                   [&](const std::string& m) { return SameTextAscii(m, name); });
    if (!IsIdentifier(name) || IsReservedWord(name))
      Warn({}, "設定から作るメソッド名 \"{}\" は Pascal の識別子になりません", {name});
    else if (twice)
      Warn({}, "設定から作るメソッド名 \"{}\" が二度使われます", {name});
  }
  // "SetSelf" + item beside "Set" + item: an empty cSelf makes them one.
  if (v_.cSelf.empty() || !IsIdentifier(names::SetSelf(v_, {}).Text()))
    Warn({}, "設定 cSelf \"{}\" からは SetSelf と Set を区別するメソッド名が作れません",
         {v_.cSelf});
}

// UseUnit joins SysUtils and IniFiles in the uses clause; the
// INI-controller's code needs the INI file class: the runtime unit's, one of
// IniFiles, or one of this file or of UseUnit.
void TChecker::CheckUseUnit() {
  const std::vector<std::string_view> units = names::UseUnits(v_);
  const std::string& defaultUnit = DefaultSettingValues().UseUnit;
  bool declared = FindClass(v_.cTIniFileMine) != kNone ||
                  SameTextAsAny(v_.cTIniFileMine, kIniFilesClasses);
  bool noUnit = true;  // no unit that may declare it
  for (const std::string_view unit : units) {
    if (!IsQualifiedName(unit))
      Warn({}, "設定 UseUnit \"{}\" はユニット名ではありません", {unit});
    else if (SameTextAsAny(unit, names::kUsesUnits))
      Warn({}, "設定 UseUnit \"{}\" のユニットは uses にすでにあります", {unit});
    declared = declared || (RuntimeIniClass() && unit == defaultUnit);
    noUnit = noUnit && (unit.empty() || IsDependedUnit(unit) || (!RuntimeIniClass() && unit == defaultUnit));
  }
  if (!HasController() || declared) return;
  out_.Add(noUnit ? TSeverity::kWarning : TSeverity::kNote, ClassPlace(list_.Item(controller_)),
           "INI ファイルのクラス \"{}\" (設定 cTIniFileMine) を宣言するユニットがありません (UseUnit \"{}\")",
           {v_.cTIniFileMine, v_.UseUnit});
}

// A class line the loader may take otherwise than its writer meant: a ":"
// or ";" in it, a "(" without a final ")", or blanks at its end.
void TChecker::CheckOddClassLine(const TTyper& item) {
  const std::string_view line = item.LineText();
  const TPlace end = {item.LineNumber(), line.size() + 1};
  if (line.find_first_of(":;") != std::string_view::npos) {
    Warn(ClassPlace(item),
         "クラス行に \":\" か \";\" があります。字下げのないフィールド行ではありませんか");
  } else if (line.find('(') != std::string_view::npos) {
    if (line.back() != ')') Warn(end, "クラス行が \")\" で終わっていません");
  } else if (IsBlank(line.back())) {
    if (Trim(line) == v_.cTIniter)
      Note(end, "クラス名の後に空白があるので \"{}\" は INI 制御クラスになりません", {Trim(line)});
    else
      Note(end, "クラス名の後に空白があります");
  }
}

void TChecker::CheckClassName(std::size_t index) {
  const TTyper& item = list_.Item(index);
  const std::string_view name = ClassKey(index);
  const bool oddLine = name.find_first_of(":;") != std::string_view::npos;
  if (!oddLine && !IsIdentifier(name))
    Warn(ClassPlace(item), "クラス名 \"{}\" は Pascal の識別子ではありません", {name});
  else if (IsReservedWord(name))
    Warn(ClassPlace(item), "クラス名 \"{}\" は Pascal の予約語です", {name});
  else if (HidesUsedName(name))
    Warn(ClassPlace(item), "クラス名 \"{}\" が、生成するユニットの使う同じ名前を隠します", {name});

  const std::size_t first = FindClass(name);
  if (first == index || name.empty()) return;
  const bool controllers = item.GetName() == v_.cTIniter &&
                           list_.Item(first).GetName() == v_.cTIniter;
  Warn(ClassPlace(item), controllers ? "INI 制御クラス \"{}\" が二つあります"
                                     : "クラス \"{}\" はすでに定義されています",
       {name});
}

// The unit-level object variable: equal to a class name, or to the variable
// of another class, it is a duplicate identifier.
void TChecker::CheckObjectVariable(std::size_t index) {
  const TTyper& item = list_.Item(index);
  const std::string_view name = ClassKey(index);
  const std::string_view itemName = Trim(ItemName(item.GetName()));
  const std::string variable = names::ObjectVariable(itemName);
  if (name.find_first_of(":;") != std::string_view::npos || !IsIdentifier(variable) ||
      FindClass(name) != index)
    return;
  const std::size_t same = FindClass(variable);
  const std::size_t other = firstVariable_.at(itemName);
  if (same != kNone)
    Warn(ClassPlace(item), "クラス \"{}\" のオブジェクト変数 \"{}\" がクラス \"{}\" と同じ名前です",
         {name, variable, ClassKey(same)});
  else if (other < index)
    Warn(ClassPlace(item),
         "クラス \"{}\" のオブジェクト変数 \"{}\" がクラス \"{}\" のものと同じ名前です",
         {name, variable, ClassKey(other)});
  else if (HidesUsedName(variable))
    Warn(ClassPlace(item),
         "クラス \"{}\" のオブジェクト変数 \"{}\" が、生成するユニットの使う同じ名前を隠します",
         {name, variable});
}

// The parent as Pascal finds it, and whether the chain has an Initial for
// the class's own to override.
void TChecker::CheckParent(std::size_t index) {
  const TTyper& item = list_.Item(index);
  const bool withFields = Fields(index) != nullptr;
  initial_[index] = withFields ? Initial::kYes : Initial::kNo;
  const std::string_view parentText = item.GetParent();
  if (parentText.empty()) return;
  // The parent may be followed by interfaces: "TBase, IThing".
  const std::size_t comma = parentText.find(',');
  const std::string_view parent = item.GetParentClass();
  const TPlace at = PlaceIn(item, parentText.data());
  if (comma != std::string_view::npos)
    Note(PlaceIn(item, parentText.data() + comma),
         "インターフェースのメソッドは生成されません。親クラスが実装していなければコンパイルできません");
  if (!IsQualifiedName(parent)) {
    Warn(at, "親クラス名 \"{}\" は Pascal の識別子ではありません", {parent});
    initial_[index] = Initial::kYes;  // reported once is enough
    return;
  }
  const std::size_t found = FindClass(parent);
  Initial inherited = Initial::kYes;
  if (found == kNone) {
    // The standard classes have no Initial; another unit may declare the
    // parent, and a virtual Initial in it.
    inherited = IsStandardRootClass(parent) ? Initial::kNo : Initial::kOutside;
    if (!CheckStandardParent(item, parent) && !withFields && inherited == Initial::kOutside)
      Note(at, "親クラス \"{}\" はこのファイルにありません。使うユニットにあるはずです", {parent});
  } else if (found == index) {
    Warn(at, "クラス \"{}\" が自分自身を親にしています", {ClassKey(index)});
  } else if (found > index) {
    Warn(at, "親クラス \"{}\" はこの行より後で定義されています", {parent});
  } else {
    parents_[index] = found;
    inherited = initial_[found];
  }
  // Where the loader's chain has no Initial either, the class declares its
  // own as virtual.
  const std::string_view initial = v_.cInitial;
  if (withFields && inherited == Initial::kNo && item.OverridesInitial())
    Warn(at, "親クラス \"{}\" の系統に \"{}\" がない (フィールドを持つクラスがない) ので override できません",
         {parent, initial});
  else if (withFields && inherited == Initial::kOutside)
    Note(at, "親クラス \"{}\" の系統はこのファイルの外に続きます。そこで \"{}\" を virtual で宣言していなければ override できません",
         {parent, initial});
  if (!withFields) initial_[index] = inherited;
}

// A parent from a standard unit the generated unit does not use; false for
// any other parent.
bool TChecker::CheckStandardParent(const TTyper& item, std::string_view parent) {
  const std::string_view unit = StandardUnitOf(parent);
  if (unit.empty() || SameTextAsAny(unit, names::kUsesUnits)) return false;
  for (std::string_view used : names::UseUnits(v_))
    if (SameTextAscii(used, unit)) return false;
  const std::string example = v_.UseUnit.empty() ? std::string(unit) : v_.UseUnit + ", " + std::string(unit);
  Warn(PlaceIn(item, item.GetParent().data()),
       "親クラス \"{}\" は {} ユニットのクラスです。設定 UseUnit に {} を加えてください (UseUnit={})",
       {parent, unit, unit, example});
  return true;
}

// The names a class declares: its own methods, and each field's name and
// four accessors. Pascal allows each name once per class, letter case
// aside. Each field gets its most telling clash with a name declared before
// it: the same field name again, a field name that differs only in letter
// case, or any other.
void TChecker::CheckMembers(const TFielderList& fields) {
  const std::vector<TFielder>& list = fields.Fields();
  const std::vector<TName> methods =
      names::ClassMethods(v_, dynamic_cast<const TTyperIni*>(&fields) != nullptr);
  // The names of one class live as long as its check: they are taken from
  // one buffer that is released at once.
  std::pmr::monotonic_buffer_resource buffer;
  std::pmr::unordered_map<TName, Member, TNameHash, TNameEqual> first(&buffer);
  first.reserve(methods.size() + 5 * list.size());
  // Names met again that were not the first of their spelling: an exact
  // repeat of a field name is found among them, or as the first itself.
  std::pmr::unordered_set<std::string_view> metAgain(&buffer);
  for (std::size_t m = 0; m < methods.size(); ++m) first.try_emplace(methods[m], Member{kNone, m});
  for (std::size_t f = 0; f < list.size(); ++f) {
    const std::string_view name = list[f].GetName();
    const std::array<TName, 5> members = names::FieldMembers(v_, name);
    Member best{};
    Member bestOther{};
    int bestRank = 0;
    for (std::size_t kind = 0; kind < members.size(); ++kind) {
      const auto [it, added] = first.try_emplace(members[kind], Member{f, kind});
      const Member other = it->second;
      if (added || other.field == f) continue;
      const bool otherField = other.field != kNone && other.kind == 0;
      if (kind == 0 && ((otherField && list[other.field].GetName() == name) ||
                        !metAgain.insert(name).second)) {
        bestRank = 3;  // its other names are those of the field it repeats
        break;
      }
      const int rank = otherField && kind == 0 ? 2 : 1;
      if (rank > bestRank) {
        best = {f, kind};
        bestOther = other;
        bestRank = rank;
      }
    }
    if (bestRank == 3) {
      ReportClash(fields, list[f], {f, 0}, {f, 0}, 3);
      continue;
    }
    if (bestRank > 0) ReportClash(fields, list[f], best, bestOther, bestRank);
  }
}

void TChecker::ReportClash(const TFielderList& fields, const TFielder& field, Member own,
                           Member other, int rank) {
  const std::vector<TFielder>& list = fields.Fields();
  const auto text = [&](Member m) {
    if (m.field == kNone) return names::ClassMethods(v_, true)[m.kind].Text();
    return names::FieldMembers(v_, list[m.field].GetName())[m.kind].Text();
  };
  const TPlace at = field.Place();
  const std::string_view name = field.GetName();
  if (rank == 3)
    Warn(at, "フィールド \"{}\" はクラス \"{}\" にすでにあります", {name, fields.GetName()});
  else if (rank == 2)
    Warn(at, "フィールド \"{}\" と \"{}\" は大文字小文字だけが違います", {name, text(other)});
  else if (other.field == kNone)
    Warn(at, "フィールド \"{}\" から作る名前 \"{}\" がクラスのメソッド \"{}\" と重なります",
         {name, text(own), text(other)});
  else
    Warn(at, "フィールド \"{}\" から作る名前 \"{}\" がフィールド \"{}\" から作る名前と重なります",
         {name, text(own), list[other.field].GetName()});
}

void TChecker::CheckFieldName(const TFielder& field, bool stored) {
  const TPlace at = field.Place();
  const std::string_view rawName = field.GetName();
  // Blanks after a name are only blanks to Pascal.
  const std::string_view name = Trim(rawName);
  const std::string_view item = Trim(ItemName(rawName));
  if (!IsIdentifier(name))
    Warn(at, "フィールド名 \"{}\" は Pascal の識別子ではありません", {rawName});
  else if (IsReservedFieldName(name))
    Warn(at, "フィールド名 \"{}\" は Pascal の予約語です", {name});
  else if (!IsIdentifier(item) || SameTextAscii(item, "Self"))
    Warn(at, "フィールド名 \"{}\" から先頭の 1 文字を除いた \"{}\" は引数の名前に使えません",
         {name, item});
  else if (stored && SameTextAscii(name, names::kIniFileVariable))
    Warn(at, "フィールド名 \"{}\" は INI ファイルを読み書きする手続きの変数に隠されます",
         {names::kIniFileVariable});
}

// False when the type leaves nothing to say of the value.
bool TChecker::CheckFieldType(const TFielder& field, const TypeFacts& facts, bool stored) {
  const std::string_view rawType = field.GetType();
  const std::string_view type = Trim(rawType);
  const TPlace at = TypePlace(field);
  if (type.empty()) {
    Warn(at, "フィールド \"{}\" に型がありません", {Trim(field.GetName())});
    return false;
  }
  if (type.size() != rawType.size()) {
    // The type is compared and written as it stands: with blanks it is no
    // longer numeric or boolean, and with blanks before it the name of the
    // INI read method falls apart ("Read string(").
    const bool breaks = (stored && type.data() != rawType.data()) || facts.numeric ||
                        facts.boolean || facts.character || facts.classType;
    out_.Add(breaks ? TSeverity::kWarning : TSeverity::kNote, at,
             "型 \"{}\" の前後に空白があります", {rawType});
    return false;
  }
  if (facts.classType) {
    Warn(at, "型 \"{}\" はこのファイルのクラスです。初期値は文字列として書かれるので代入できません",
         {type});
    return false;
  }
  const TSettingValues& defaults = DefaultSettingValues();
  const bool runtimeIni = v_.UseUnit == defaults.UseUnit && RuntimeIniClass() &&
                          v_.cCheck == defaults.cCheck;
  if (stored && !facts.storable) {
    out_.Add(runtimeIni ? TSeverity::kWarning : TSeverity::kNote, at,
             "型 \"{}\" のフィールドは INI ファイルに読み書きできません ({} に {} がありません)",
             {type, v_.cTIniFileMine, names::IniReadMethod(type).Text()});
  } else if (!facts.known && notedTypes_.insert(type).second) {
    // Once for each type: the first field shows where it is used.
    Note(at, "型 \"{}\" は Tamsel の知らない型です。初期値は文字列として書かれます", {type});
  }
  return true;
}

// A brace comment after a number is a comment to Pascal too; it is judged
// without it.
void TChecker::CheckNumberValue(const TFielder& field, bool stored) {
  const std::string_view type = field.GetType();
  const std::string_view value = field.GetInitValue();
  const TPlace at = ValuePlace(field);
  std::string_view number = value;
  if (const std::size_t open = value.rfind('{');
      open != std::string_view::npos && Trim(value).ends_with('}') &&
      value.find('}', open) == value.find_last_not_of(" \t")) {
    Note(at, "初期値の後のコメント \"{}\" もユニットに書かれます", {Trim(value.substr(open))});
    number = value.substr(0, open);
  }
  switch (JudgeNumber(type, number)) {
    case TNumberText::kLiteral:
      // In "...,'Key',5.)" Pascal reads ".)" as "]".
      if (stored && value.ends_with('.'))
        Warn(at, "初期値 \"{}\" が \".\" で終わっています。INI ファイルを読む行で \".)\" が \"]\" と読まれるので \"{}0\" と書いてください",
             {value, value});
      break;
    case TNumberText::kExpression:
      Note(at, "初期値 \"{}\" は式としてそのまま書かれます。ユニットから見える定数でなければなりません",
           {value});
      break;
    case TNumberText::kOutOfRange:
      Warn(at, "初期値 {} は型 \"{}\" の範囲を超えています", {value, type});
      break;
    case TNumberText::kMalformed:
      if (Trim(number).empty())
        Warn(at, "型 \"{}\" の初期値がありません", {type});
      else
        Warn(at, "初期値 \"{}\" は型 \"{}\" の数値ではありません", {value, type});
      break;
  }
}

// A boolean value is read as Pascal reads an integer, and the generator
// stops where it cannot; every other value is written between apostrophes.
void TChecker::CheckStringValue(const TFielder& field) {
  const std::string_view type = field.GetType();
  const std::string_view value = field.GetInitValue();
  const TPlace at = ValuePlace(field);
  if (IsBooleanType(type)) {
    std::int32_t number = 0;
    if (!texts::ParseInt32(value, texts::kPascalInteger, number))
      out_.Add(TSeverity::kError, at, "boolean の初期値 \"{}\" が整数ではありません", {value});
    return;
  }
  // The characters of a value: its bytes, or in a UTF-8 file (one with a
  // byte-order mark, which the unit keeps) its UTF-8 characters.
  const auto characters = static_cast<std::size_t>(
      list_.HasByteOrderMark() ? std::count_if(value.begin(), value.end(),
                                               [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; })
                               : static_cast<std::ptrdiff_t>(value.size()));
  const auto apostrophes = static_cast<std::size_t>(std::count(value.begin(), value.end(), '\''));
  if (apostrophes % 2 != 0)
    Warn(at, "初期値 \"{}\" の ' の数が奇数です。文字列の中の ' は '' と二つ書きます", {value});
  else if (InQuotes(value))
    Warn(at, "初期値 \"{}\" が ' で囲まれています。値は ' の間に書かれるので、囲む ' は要りません", {value});
  else if (IsCharType(type) && characters - apostrophes / 2 != 1)
    Warn(at, "型 \"{}\" の初期値は 1 文字です: \"{}\"", {type, value});
  else if (SameTextAscii(type, "shortstring") && characters > 255)
    Warn(at, "shortstring の初期値が 255 文字を超えています");
  else if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back())))
    Note(at, "初期値 \"{}\" の前後の空白も文字列に入ります", {value});
}

// For each field of `fields` (grouped: the entries `same` joins stand side
// by side), the last field of its group in its nearest ancestor that has
// one; in file order, as the other findings are made. A group is put in
// class order, and each class of a chain is found in it by a binary search.
TChecker::TMet TChecker::MetInAncestors(const std::vector<TFieldAt>& fields,
                                        bool (*same)(const TFieldAt&, const TFieldAt&)) const {
  const auto before = [](const TFieldAt* f, std::size_t klass) { return f->klass < klass; };
  TMet met;
  std::vector<const TFieldAt*> group;
  for (auto first = fields.begin(); first != fields.end();) {
    group.clear();
    for (auto f = first; f != fields.end() && same(*f, *first); ++f) group.push_back(&*f);
    first += static_cast<std::ptrdiff_t>(group.size());
    std::sort(group.begin(), group.end(), InClassOrder);
    for (const TFieldAt* f : group) {
      for (std::size_t a = parents_[f->klass]; a != kNone; a = parents_[a]) {
        const auto end = std::lower_bound(group.begin(), group.end(), a + 1, before);
        if (end == group.begin() || (*(end - 1))->klass != a) continue;
        met.emplace_back(f, *(end - 1));
        break;
      }
    }
  }
  std::sort(met.begin(), met.end(), [](const auto& x, const auto& y) { return InClassOrder(x.first, y.first); });
  return met;
}

// Each field meets the field of its name (letter case aside) in the nearest
// ancestor that has one.
void TChecker::CheckInheritedFields() {
  for (const auto& [field, inherited] : MetInAncestors(list_.FieldsByName(), SameGroup))
    ReportInherited(*field, *inherited);
}

// Fields whose names differ only in the first character make the same
// accessors: in a descendant they hide the ancestor's instead of overriding
// them. The fields are grouped by item name as by field name above.
void TChecker::CheckHiddenAccessors() {
  // Where every field name starts with the same letter, as "F" usually,
  // no two names share an item name.
  const std::vector<TFieldAt>& fields = list_.FieldsByName();
  const auto initial = [](const TFieldAt& f) {
    return f.Name().empty() ? '\0' : texts::LowerAscii(f.Name().front());
  };
  if (std::all_of(fields.begin(), fields.end(),
                  [&](const TFieldAt& f) { return initial(f) == initial(fields.front()); }))
    return;
  std::vector<TFieldAt> byItem;
  const texts::CaseFreeHash hash;
  for (const TFieldAt& f : fields) byItem.push_back({hash(FieldItem(f)), f.klass, f.field});
  std::sort(byItem.begin(), byItem.end(), [](const TFieldAt& a, const TFieldAt& b) {
    return a.hash != b.hash ? a.hash < b.hash : texts::CompareCaseFree(FieldItem(a), FieldItem(b)) < 0;
  });
  for (const auto& [field, hidden] : MetInAncestors(byItem, SameItem)) {
    const std::string_view name = Trim(field->Name()), other = Trim(hidden->Name());
    if (!SameTextAscii(name, other) && !name.empty() && IsIdentifier(name))
      Warn(field->field->Place(),
           "フィールド \"{}\" のアクセサ \"{}\" などが祖先 \"{}\" のフィールド \"{}\" のものを隠します (override しません)",
           {name, names::Set(name).Text(), ClassKey(hidden->klass), other});
  }
}

void TChecker::ReportInherited(const TFieldAt& ref, const TFieldAt& inheritedRef) {
  const TFielder& field = *ref.field;
  const TFielder& inherited = *inheritedRef.field;
  const TPlace at = field.Place();
  const std::string_view ancestorName = ClassKey(inheritedRef.klass);
  if (field.GetName() != inherited.GetName())
    Warn(at, "フィールド \"{}\" は祖先 \"{}\" のフィールド \"{}\" と大文字小文字だけが違うので override しません",
         {field.GetName(), ancestorName, inherited.GetName()});
  else if (!field.GetRedefined() && field.IsAutomatic())
    Warn(at, "INI 制御クラスの自動フィールド \"{}\" が祖先 \"{}\" の同じ名前のフィールドを隠します",
         {field.GetName(), ancestorName});
  else if (!field.GetRedefined())
    // A field of the class itself is not redefined when its parent is
    // named otherwise than written.
    Warn(at, "フィールド \"{}\" は祖先 \"{}\" のフィールドを override しません。親クラス名の書き方 (大文字小文字や空白) が違います",
         {field.GetName(), ancestorName});
  else if (!SameType(Trim(field.GetType()), Trim(inherited.GetType())))
    Warn(at, "フィールド \"{}\" の型 \"{}\" が祖先 \"{}\" での型 \"{}\" と違います",
         {field.GetName(), field.GetType(), ancestorName, inherited.GetType()});
}

// The class of the INI-controller's chain whose parent the file does not
// define, when that parent is not a standard class; kNone when the chain
// stays in the file.
std::size_t TChecker::ControllerChainLeavesAt() const {
  std::size_t last = controller_;
  while (parents_[last] != kNone) last = parents_[last];
  const std::string_view parent = list_.Item(last).GetParentClass();
  return !parent.empty() && FindClass(parent) == kNone && !IsStandardRootClass(parent) ? last : kNone;
}

// The INI-controller's load procedure sets the stored fields through
// "Inherited" (or, those it declares itself, in its own copy), so every class
// before it with other fields must be its ancestor. When its chain leaves the
// file at an unknown parent, most likely a misspelt one, that line is at fault
// and the classes it cuts off are noted.
void TChecker::CheckController() {
  std::vector<bool> ancestor(controller_, false);
  for (std::size_t a = parents_[controller_]; a != kNone; a = parents_[a]) ancestor[a] = true;
  const std::size_t leaves = ControllerChainLeavesAt();
  bool stores = false, reported = false;
  for (std::size_t i = 0; i < controller_; ++i) {
    const TFielderList* fields = Fields(i);
    if (!fields) continue;
    stores = true;
    const bool own = std::all_of(fields->Fields().begin(), fields->Fields().end(),
                                 [](const TFielder& f) { return f.LoadsIntoControllerCopy(); });
    if (ancestor[i] || own) continue;
    if (leaves != kNone && !reported) {
      const TTyper& at = list_.Item(leaves);
      Warn(PlaceIn(at, at.GetParent().data()),
           "INI 制御クラス \"{}\" の系統は親クラス \"{}\" でこのファイルを出るので、前のクラスのフィールドを読み書きできません。親クラス名を確かめてください",
           {ClassKey(controller_), Trim(at.GetParent())});
      reported = true;
    }
    out_.Add(leaves != kNone ? TSeverity::kNote : TSeverity::kWarning, ClassPlace(list_.Item(i)),
             "クラス \"{}\" は INI 制御クラス \"{}\" の祖先ではないので、そのフィールドを INI ファイルに読み書きできません",
             {ClassKey(i), ClassKey(controller_)});
  }
  // The runtime unit's INI file class has CheckWrite... methods, and IniFiles'
  // own Write... ones (an empty cCheck); no others.
  if (stores && RuntimeIniClass() && !v_.cCheck.empty() &&
      v_.cCheck != DefaultSettingValues().cCheck)
    Warn(ClassPlace(list_.Item(controller_)),
         "INI ファイルのクラス \"{}\" に \"{}\" のメソッドはありません (設定 cCheck)",
         {v_.cTIniFileMine, names::IniWriteMethod(v_, "...").Text()});
}

}  // namespace

void ReportLoadFailure(const TTyperList& list, const TVocabulary& vocabulary, TDiagnostics& out) {
  const TLoadFailure& failure = list.LoadFailure();
  const std::string indent = std::to_string(vocabulary.Indent.size());
  const auto error = [&](std::string_view text, std::initializer_list<std::string_view> names) {
    out.Add(TSeverity::kError, failure.place, text, names);
  };
  switch (failure.fault) {
    case TLoadFault::kNone:
      return;
    case TLoadFault::kIndent:
      return error("字下げが空白 {} 個です。設定 Tab では {} 個です",
                   {std::to_string(failure.spaces), indent});
    case TLoadFault::kTabInIndent:
      return error("字下げにタブ文字があります。字下げは空白 {} 個です", {indent});
    case TLoadFault::kNoColon:
      return error("フィールド行に \":\" がありません", {});
    case TLoadFault::kNoSemicolon:
      return error("フィールド行に \";\" がありません", {});
    case TLoadFault::kFieldBeforeClass:
      return error("最初のクラス行より前にフィールド行があります", {});
  }
}

void CheckDefinition(const TTyperList& list, const TVocabulary& vocabulary,
                     std::string_view unitName, TDiagnostics& out) {
  TChecker(list, vocabulary, out).Run(unitName);
}

void ReportExtraArguments(const std::vector<std::string>& args, TDiagnostics& out) {
  for (std::size_t i = 1; i < args.size(); ++i)
    out.Add(TSeverity::kWarning, {}, "余分な引数 \"{}\" は無視します", {args[i]});
}
