#include "check/Tamsel_Check.h"

#include <algorithm>
#include <array>
#include <functional>
#include <cstdint>
#include <iterator>
#include <set>
#include <string>
#include <unordered_map>

#include "check/Tamsel_Diagnostics.h"
#include "model/PascalWords.h"
#include "model/Tamsel_Fielder.h"
#include "model/Tamsel_FielderList.h"
#include "model/Tamsel_TyperIni.h"
#include "model/Tamsel_TyperList.h"
#include "text/Ascii.h"
#include "settings/Tamsel_ini.h"
#include "writer/Tamsel_WritePas.h"

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;

using texts::IsBlank;
using texts::SameTextAscii;
using texts::SameTextAsAny;
constexpr auto Trim = texts::TrimBlanks;

// Pascal compares identifiers without ASCII letter case; so do these hashes
// (FNV-1a of the lower-cased bytes), which may be continued piece by piece.
constexpr std::uint32_t kHashSeed = 2166136261u;
std::uint32_t CaseFreeHash(std::string_view text, std::uint32_t hash = kHashSeed) {
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    hash = (hash ^ byte) * 16777619u;
  }
  return hash;
}

// The units every generated unit depends on, directly or through the
// runtime unit; a unit of the same name makes a circular reference.
constexpr std::array<std::string_view, 19> kUsedUnits = {
    "system",    "objpas",   "sysutils", "classes", "inifiles", "contnrs", "math",
    "rtlconsts", "sysconst", "types",    "typinfo", "baseunix", "unix",    "unixtype",
    "unixutil",  "linux",    "syscall",  "errors",  "windows"};

// A field name Pascal refuses: a reserved word (but not the words refused
// only as parameter names), a visibility word, or Self; and Result, which
// the getter would read instead of the field.
bool IsReservedFieldName(std::string_view name) {
  static constexpr std::array<std::string_view, 3> kParameterOnly = {"out", "inline", "constref"};
  static constexpr std::array<std::string_view, 7> kClassWords = {
      "private", "protected", "public", "published", "strict", "self", "result"};
  if (name.size() > 14) return false;  // longer than any of these words
  return SameTextAsAny(name, kClassWords) ||
         (IsReservedWord(name) && !SameTextAsAny(name, kParameterOnly));
}


// Whether a unit of that name is among those the generated unit uses.
bool IsUsedUnit(std::string_view name) { return SameTextAsAny(name, kUsedUnits); }

// A name and the number it stands for, found by its case-free hash.
struct Key {
  std::uint32_t hash;
  std::uint32_t number;
  friend bool operator<(const Key& a, const Key& b) {
    return a.hash != b.hash ? a.hash < b.hash : a.number < b.number;
  }
};

// Two bits for each bucket of hashes: met once, met again. A name whose
// bucket was met only once shares its hash with no other name, so checks that
// compare names need to keep only the rest.
class TRepeatFilter {
 public:
  explicit TRepeatFilter(std::size_t names) {
    std::size_t buckets = 64;
    while (buckets < names * 4) buckets *= 2;
    words_.assign(buckets / 32, 0);
    mask_ = buckets - 1;
  }
  void Add(std::uint32_t hash) {
    // Both bits of a bucket share a word: one memory access per name.
    std::uint64_t& word = words_[(hash & mask_) / 32];
    const unsigned shift = 2 * (hash % 32);
    const std::uint64_t seen = (word >> shift) & 1;
    word |= (std::uint64_t{1} | (seen << 1)) << shift;
  }
  bool MayRepeat(std::uint32_t hash) const {
    return ((words_[(hash & mask_) / 32] >> (2 * (hash % 32))) & 2) != 0;
  }

 private:
  std::vector<std::uint64_t> words_;
  std::size_t mask_;
};

class TChecker {
 public:
  TChecker(const TTyperList& list, const TVocabulary& vocabulary, TDiagnostics& out)
      : list_(list), vocabulary_(vocabulary), out_(out) {}

  void Run(std::string_view unitName);

 private:
  std::string_view ClassKey(std::size_t index) const { return Trim(list_.Item(index).GetName()); }
  const TFielderList* Fields(std::size_t index) const {
    return dynamic_cast<const TFielderList*>(&list_.Item(index));
  }
  // The unit-level object variable of a class: "O" + its item name.
  std::string VariableOf(std::size_t index) const {
    const std::string_view item = Trim(ItemName(list_.Item(index).GetName()));
    std::string variable(1, 'O');
    return variable.append(item.data(), item.size());
  }
  // The first class of that name (letter case aside), or kNone.
  std::uint32_t FindClass(std::string_view name) const;
  // Where a field is reported: its line, or its class's line for the
  // automatic fields, whose names are not in the file.
  const char* PlaceOf(std::size_t index, const TFielder& field) const;
  void Warn(const char* at, std::string text) {
    out_.Add(TSeverity::kWarning, at, std::move(text));
  }
  void Note(const char* at, std::string text) { out_.Add(TSeverity::kNote, at, std::move(text)); }

  void CheckUnitName(std::string_view unitName);
  void CheckSettings();
  bool HidesUsedName(std::string_view name) const;
  // What the checks ask of a type text, worked out once for each text: a
  // definition uses a handful of types in many fields.
  struct TypeFacts {
    bool numeric, boolean, character, storable, classType;
    bool known;  // a numeric, boolean, string or character type
  };
  const TypeFacts& FactsOf(std::string_view type) {
    const auto [it, added] = typeFacts_.try_emplace(type);
    if (added)
      it->second = {IsNumericType(type),
                    IsBooleanType(type),
                    IsCharType(type),
                    IsStorableType(type),
                    !type.empty() && FindClass(type) != kNone,
                    IsStorableType(type) || IsCharType(type)};
    return it->second;
  }
  // The characters of a value: its bytes, or in a UTF-8 file (one with a
  // byte-order mark, which the unit keeps) its UTF-8 characters.
  std::size_t CharacterCount(std::string_view value) const {
    if (!list_.HasByteOrderMark()) return value.size();
    return static_cast<std::size_t>(std::count_if(value.begin(), value.end(), [](char c) {
      return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
  }
  void CheckOddClassLines();
  void CheckClasses();
  void CheckMembers(std::size_t index, const TFielderList& fields);
  void CheckField(std::size_t index, const TFielder& field, bool stored);
  void CheckInheritedFields();
  void CheckController(std::size_t controller);

  const TTyperList& list_;
  const TVocabulary& vocabulary_;
  TDiagnostics& out_;
  std::vector<Key> classKeys_;
  // Each class's parent as Pascal finds it: the first class of the parent's
  // name defined before it, or kNone.
  std::vector<std::uint32_t> parents_;
  // Reused by CheckMembers for every class.
  std::string memberText_;
  struct Member {
    std::uint32_t hash;
    std::uint32_t place;  // owner * 8 + kind
    std::uint32_t Owner() const { return place / 8; }  // 0: the class, else field + 1
    std::uint32_t Kind() const { return place % 8; }   // which of the owner's names
  };
  std::vector<Member> members_;
  std::set<std::string> notedTypes_;  // the unknown types noted so far
  std::unordered_map<std::string_view, TypeFacts> typeFacts_;
  std::size_t controller_ = 0;        // the first INI-controller class, or Count()
};

// The first number whose name (letter case aside) is `name`, or kNone.
template <typename NameOf>
std::uint32_t FirstOf(const std::vector<Key>& keys, std::string_view name, NameOf nameOf) {
  const std::uint32_t hash = CaseFreeHash(name);
  for (auto it = std::lower_bound(keys.begin(), keys.end(), Key{hash, 0});
       it != keys.end() && it->hash == hash; ++it)
    if (SameTextAscii(nameOf(it->number), name)) return it->number;
  return kNone;
}

std::uint32_t TChecker::FindClass(std::string_view name) const {
  return FirstOf(classKeys_, name, [&](std::uint32_t i) { return ClassKey(i); });
}

const char* TChecker::PlaceOf(std::size_t index, const TFielder& field) const {
  const std::string_view text = list_.DefinitionText();
  const char* at = field.GetName().data();
  const std::less_equal<const char*> notAfter;
  if (at && notAfter(text.data(), at) && notAfter(at, text.data() + text.size())) return at;
  return list_.Item(index).GetName().data();
}

void TChecker::Run(std::string_view unitName) {
  classKeys_.reserve(list_.Count());
  for (std::size_t i = 0; i < list_.Count(); ++i)
    classKeys_.push_back({CaseFreeHash(ClassKey(i)), static_cast<std::uint32_t>(i)});
  std::sort(classKeys_.begin(), classKeys_.end());
  controller_ = list_.Count();
  for (std::size_t i = list_.Count(); i-- > 0;)
    if (dynamic_cast<const TTyperIni*>(&list_.Item(i))) controller_ = i;
  // The types the fields use, which class names must not hide.
  for (std::size_t i = 0; i < list_.Count(); ++i)
    if (const TFielderList* fields = Fields(i))
      for (const TFielder& field : fields->Fields()) FactsOf(Trim(field.GetType()));

  if (list_.Count() == 0) Warn(nullptr, out_.Text("定義にクラスが一つもありません"));
  CheckUnitName(unitName);
  CheckSettings();
  CheckOddClassLines();
  CheckClasses();
  const bool hasController = controller_ < list_.Count();
  for (std::size_t i = 0; i < list_.Count(); ++i) {
    const TFielderList* fields = Fields(i);
    if (!fields) continue;
    CheckMembers(i, *fields);
    for (const TFielder& field : fields->Fields())
      CheckField(i, field, hasController && i < controller_ && !field.GetSkipIni());
  }
  CheckInheritedFields();
  if (hasController) CheckController(controller_);
}

bool TChecker::HidesUsedName(std::string_view name) const {
  static constexpr std::array<std::string_view, 4> kControllerNames = {
      "ExpandFileName", "ChangeFileExt", "ExtractFileName", "ParamStr"};
  static constexpr std::array<std::string_view, 2> kBooleans = {"True", "False"};
  // The known types the fields use, and True and False if one is boolean.
  for (const auto& [type, facts] : typeFacts_)
    if ((facts.known && SameTextAscii(name, type)) ||
        (facts.boolean && SameTextAsAny(name, kBooleans)))
      return true;
  // The runtime unit's INI file class; one the settings name may well be
  // declared here, on purpose.
  const bool runtimeClass = vocabulary_.cTIniFileMine == DefaultSettingValues().cTIniFileMine;
  return controller_ < list_.Count() &&
         (SameTextAsAny(name, kControllerNames) ||
          (runtimeClass && SameTextAscii(name, vocabulary_.cTIniFileMine)));
}

void TChecker::CheckUnitName(std::string_view unitName) {
  const bool valid = IsQualifiedName(unitName);
  if (!valid) {
    Warn(nullptr,
         out_.Text("定義ファイル名から作るユニット名 \"{}\" は Pascal のユニット名になりません",
                   {unitName}));
    return;
  }
  const bool used = IsUsedUnit(unitName) || SameTextAscii(unitName, vocabulary_.UseUnit);
  if (used)
    Warn(nullptr,
         out_.Text("ユニット名 \"{}\" は生成するユニットが使うユニットと同じ名前です", {unitName}));
  else if (HidesUsedName(unitName))
    Warn(nullptr, out_.Text("ユニット名 \"{}\" が、生成するユニットの使う同じ名前を隠します",
                            {unitName}));
}

// The names the settings give every class: with unusable settings every
// class would fail the same way, so they are reported once.
void TChecker::CheckSettings() {
  const TVocabulary& v = vocabulary_;
  const bool controller = controller_ < list_.Count();
  std::vector<std::string> names = {v.cInitial + v.cSelf,
                                    v.cInitial + v.cSuper,
                                    v.cInitial,
                                    "Set" + v.cAll + v.cSelf,
                                    "Create",
                                    "Destroy"};
  if (controller) {
    names.push_back(v.cIniRead);
    names.push_back(v.cIniWrite);
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    bool twice = false;
    for (std::size_t j = 0; j < i; ++j) twice = twice || SameTextAscii(names[j], name);
    if (!IsIdentifier(name) || IsReservedWord(name))
      Warn(nullptr,
           out_.Text("設定から作るメソッド名 \"{}\" は Pascal の識別子になりません", {name}));
    else if (twice)
      Warn(nullptr, out_.Text("設定から作るメソッド名 \"{}\" が二度使われます", {name}));
  }
  // "SetSelf" + item beside "Set" + item: an empty cSelf makes them one.
  if (v.cSelf.empty() || !IsIdentifier("Set" + v.cSelf))
    Warn(nullptr,
         out_.Text("設定 cSelf \"{}\" からは SetSelf と Set を区別するメソッド名が作れません",
                   {v.cSelf}));

  // UseUnit joins SysUtils and IniFiles in the uses clause.
  const bool rtlUnit = IsUsedUnit(v.UseUnit);
  if (!v.UseUnit.empty() && !IsQualifiedName(v.UseUnit))
    Warn(nullptr, out_.Text("設定 UseUnit \"{}\" はユニット名ではありません", {v.UseUnit}));
  else if (SameTextAscii(v.UseUnit, "SysUtils") ||
           SameTextAscii(v.UseUnit, "IniFiles"))
    Warn(nullptr, out_.Text("設定 UseUnit \"{}\" のユニットは uses にすでにあります", {v.UseUnit}));
  // The INI-controller's code needs the INI file class: the runtime unit's,
  // one of IniFiles, or one of this file or of UseUnit.
  static constexpr std::array<std::string_view, 3> kIniFilesClasses = {"TIniFile", "TMemIniFile",
                                                                       "TCustomIniFile"};
  const TSettingValues& defaults = DefaultSettingValues();
  const bool runtimeClass = v.cTIniFileMine == defaults.cTIniFileMine;
  const bool declared =
      (runtimeClass && v.UseUnit == defaults.UseUnit) || FindClass(v.cTIniFileMine) != kNone ||
      SameTextAsAny(v.cTIniFileMine, kIniFilesClasses);
  if (controller && !declared) {
    const bool noUnit = v.UseUnit.empty() || rtlUnit || (!runtimeClass && v.UseUnit == defaults.UseUnit);
    out_.Add(noUnit ? TSeverity::kWarning : TSeverity::kNote,
             list_.Item(controller_).GetName().data(),
             out_.Text("INI ファイルのクラス \"{}\" (設定 cTIniFileMine) を宣言するユニットがありません (UseUnit \"{}\")",
                       {v.cTIniFileMine, v.UseUnit}));
  }
}

void TChecker::CheckOddClassLines() {
  for (const std::string_view line : list_.OddClassLines()) {
    if (line.find_first_of(":;") != std::string_view::npos) {
      Warn(line.data(),
           out_.Text(
               "クラス行に \":\" か \";\" があります。字下げのないフィールド行ではありませんか"));
    } else if (line.find('(') != std::string_view::npos) {
      Warn(line.data() + line.size(), out_.Text("クラス行が \")\" で終わっていません"));
    } else {
      const bool controller = Trim(line) == vocabulary_.cTIniter;
      Note(line.data() + line.size(),
           controller
               ? out_.Text("クラス名の後に空白があるので \"{}\" は INI 制御クラスになりません",
                           {Trim(line)})
               : out_.Text("クラス名の後に空白があります"));
    }
  }
}

void TChecker::CheckClasses() {
  const std::size_t count = list_.Count();
  parents_.assign(count, kNone);
  // Whether a class has an Initial to override: it or an ancestor holds
  // fields (kYes), no class of its chain does (kNo), or the chain leaves the
  // file at a class another unit declares (kOutside).
  enum class Initial : unsigned char { kYes, kNo, kOutside };
  std::vector<Initial> initial(count, Initial::kNo);
  std::vector<Key> variableKeys;
  variableKeys.reserve(count);
  for (std::size_t i = 0; i < count; ++i)
    variableKeys.push_back({CaseFreeHash(VariableOf(i)), static_cast<std::uint32_t>(i)});
  std::sort(variableKeys.begin(), variableKeys.end());
  std::string variable;
  for (std::size_t i = 0; i < count; ++i) {
    const TTyper& item = list_.Item(i);
    const char* const at = item.GetName().data();
    const std::string_view name = ClassKey(i);
    const bool oddLine = name.find_first_of(":;") != std::string_view::npos;
    if (!oddLine && !IsIdentifier(name))
      Warn(at, out_.Text("クラス名 \"{}\" は Pascal の識別子ではありません", {name}));
    else if (IsReservedWord(name))
      Warn(at, out_.Text("クラス名 \"{}\" は Pascal の予約語です", {name}));
    else if (HidesUsedName(name))
      Warn(at, out_.Text("クラス名 \"{}\" が、生成するユニットの使う同じ名前を隠します", {name}));

    const std::uint32_t first = FindClass(name);
    if (first != i && !name.empty()) {
      const bool controllers = item.GetName() == vocabulary_.cTIniter &&
                               list_.Item(first).GetName() == vocabulary_.cTIniter;
      Warn(at, controllers ? out_.Text("INI 制御クラス \"{}\" が二つあります", {name})
                           : out_.Text("クラス \"{}\" はすでに定義されています", {name}));
    }

    // The object variable: equal to a class name, or to the variable of
    // another class, it is a duplicate identifier.
    variable = VariableOf(i);
    if (!oddLine && IsIdentifier(variable) && first == i) {
      const std::uint32_t same = FindClass(variable);
      const std::uint32_t other =
          FirstOf(variableKeys, variable, [&](std::uint32_t k) { return VariableOf(k); });
      if (same != kNone)
        Warn(at, out_.Text("クラス \"{}\" のオブジェクト変数 \"{}\" がクラス \"{}\" と同じ名前です",
                           {name, variable, ClassKey(same)}));
      else if (other < i)
        Warn(at, out_.Text(
                     "クラス \"{}\" のオブジェクト変数 \"{}\" がクラス \"{}\" のものと同じ名前です",
                     {name, variable, ClassKey(other)}));
      else if (HidesUsedName(variable))
        Warn(at, out_.Text("クラス \"{}\" のオブジェクト変数 \"{}\" が、生成するユニットの使う同じ名前を隠します",
                           {name, variable}));
    }

    const bool withFields = Fields(i) != nullptr;
    initial[i] = withFields ? Initial::kYes : Initial::kNo;
    const std::string_view parentText = item.GetParent();
    if (parentText.empty()) continue;
    // The parent may be followed by interfaces: "TBase, IThing".
    const std::size_t comma = parentText.find(',');
    const std::string_view parent = Trim(parentText.substr(0, comma));
    const char* const parentAt = parentText.data();
    if (comma != std::string_view::npos)
      Note(parentText.data() + comma,
           out_.Text("インターフェースのメソッドは生成されません。親クラスが実装していなければコンパイルできません"));
    if (!IsQualifiedName(parent)) {
      Warn(parentAt, out_.Text("親クラス名 \"{}\" は Pascal の識別子ではありません", {parent}));
      initial[i] = Initial::kYes;  // reported once is enough
      continue;
    }
    const std::uint32_t found = FindClass(parent);
    Initial inherited = Initial::kYes;
    if (found == kNone) {
      // TObject has no Initial; another unit may declare the parent, and a
      // virtual Initial in it.
      inherited = SameTextAscii(parent, "TObject") ? Initial::kNo : Initial::kOutside;
      if (!withFields && inherited == Initial::kOutside)
        Note(parentAt,
             out_.Text("親クラス \"{}\" はこのファイルにありません。使うユニットにあるはずです",
                       {parent}));
    } else if (found >= i) {
      Warn(parentAt, found == i
                         ? out_.Text("クラス \"{}\" が自分自身を親にしています", {name})
                         : out_.Text("親クラス \"{}\" はこの行より後で定義されています", {parent}));
    } else {
      parents_[i] = found;
      inherited = initial[found];
    }
    if (withFields && inherited == Initial::kNo)
      Warn(parentAt, out_.Text("親クラス \"{}\" の系統に \"{}\" がない (フィールドを持つクラスがない) ので override できません",
                               {parent, vocabulary_.cInitial}));
    else if (withFields && inherited == Initial::kOutside)
      Note(parentAt, out_.Text("親クラス \"{}\" の系統はこのファイルの外に続きます。そこで \"{}\" を virtual で宣言していなければ override できません",
                               {parent, vocabulary_.cInitial}));
    if (!withFields) initial[i] = inherited;
  }
}

// The names a class declares: its fields, the four accessors of each, and
// its own methods. Pascal allows each name once per class.
void TChecker::CheckMembers(std::size_t index, const TFielderList& fields) {
  const TVocabulary& v = vocabulary_;
  const std::vector<TFielder>& list = fields.Fields();
  const bool controller = dynamic_cast<const TTyperIni*>(&fields) != nullptr;
  // Member `kind` of `owner`, in up to three pieces: of the class itself
  // (owner 0) its methods, of field owner - 1 its name (kind 0) and its
  // accessors (kinds 1 to 4).
  using Pieces = std::array<std::string_view, 3>;
  const auto pieces = [&](std::uint32_t owner, std::uint32_t kind) -> Pieces {
    if (owner == 0) {
      switch (kind) {
        case 0: return {v.cInitial, v.cSelf, {}};
        case 1: return {v.cInitial, v.cSuper, {}};
        case 2: return {v.cInitial, {}, {}};
        case 3: return {"Set", v.cAll, v.cSelf};
        case 4: return {"Create", {}, {}};
        case 5: return {"Destroy", {}, {}};
        case 6: return {v.cIniRead, {}, {}};
        default: return {v.cIniWrite, {}, {}};
      }
    }
    const std::string_view field = list[owner - 1].GetName();
    const std::string_view item = ItemName(field);
    switch (kind) {
      case 0: return {field, {}, {}};
      case 1: return {"Set", v.cSelf, item};
      case 2: return {"Set", item, {}};
      case 3: return {"Get", v.cSelf, item};
      default: return {"Get", item, {}};
    }
  };
  const auto hashOf = [&](std::uint32_t owner, std::uint32_t kind) {
    std::uint32_t hash = kHashSeed;
    for (std::string_view piece : pieces(owner, kind)) hash = CaseFreeHash(piece, hash);
    return hash;
  };
  const auto name = [&](std::uint32_t owner, std::uint32_t kind, std::string& text) {
    text.clear();
    for (std::string_view piece : pieces(owner, kind)) text += piece;
  };
  // The hashes of a field's accessors continue those of their prefixes.
  const std::array<std::uint32_t, 4> prefixes = {
      CaseFreeHash(v.cSelf, CaseFreeHash("Set")), CaseFreeHash("Set"),
      CaseFreeHash(v.cSelf, CaseFreeHash("Get")), CaseFreeHash("Get")};
  const auto forEachHash = [&](auto visit) {
    for (std::uint32_t kind = 0; kind < (controller ? 8u : 6u); ++kind) visit(0, kind, hashOf(0, kind));
    for (std::uint32_t owner = 1; owner <= list.size(); ++owner) {
      visit(owner, 0, CaseFreeHash(list[owner - 1].GetName()));
      const std::string_view item = ItemName(list[owner - 1].GetName());
      for (std::uint32_t kind = 1; kind < 5; ++kind)
        visit(owner, kind, CaseFreeHash(item, prefixes[kind - 1]));
    }
  };
  // Only names whose hash is met twice can clash: they alone are kept and
  // sorted, so that a large class costs little more than its hashes.
  TRepeatFilter filter(list.size() * 5 + 8);
  forEachHash([&](std::uint32_t, std::uint32_t, std::uint32_t hash) { filter.Add(hash); });
  // A field that repeats the exact name of a field seen shortly before is
  // reported against it at once and adds nothing to the sort: its names are
  // that field's names. So a class that repeats one line a million times
  // stays cheap.
  std::vector<std::uint32_t> repeats;  // owner, then the field it repeats
  struct Recent {
    std::uint32_t hash = 0;
    std::uint32_t owner = 0;
  };
  std::array<Recent, 1024> recent{};
  std::uint32_t skipped = 0;
  members_.clear();
  forEachHash([&](std::uint32_t owner, std::uint32_t kind, std::uint32_t hash) {
    if (owner != 0 && kind == 0) {
      Recent& slot = recent[hash % recent.size()];
      if (slot.owner != 0 && slot.hash == hash &&
          list[slot.owner - 1].GetName() == list[owner - 1].GetName()) {
        if (repeats.size() < 2 * TDiagnostics::kMaxShown)
          repeats.insert(repeats.end(), {owner, slot.owner});
        else
          out_.Omit();  // found, but beyond what is shown
        skipped = owner;
        return;
      }
      slot = {hash, owner};
    }
    if (owner != skipped && filter.MayRepeat(hash)) members_.push_back({hash, owner * 8 + kind});
  });
  std::sort(members_.begin(), members_.end(), [](const Member& a, const Member& b) {
    return a.hash != b.hash ? a.hash < b.hash : a.place < b.place;
  });
  // For each field, the most telling clash: with a field of the same name,
  // of a name that differs in letter case, or of one of the names made
  // from it.
  struct Clash {
    std::uint32_t owner;
    std::uint32_t otherOwner;
    std::uint8_t rank;
    std::uint8_t ownKind;
    std::uint8_t otherKind;
  };
  std::vector<Clash> clashes;
  // The best rank found so far for each field: a clash is kept only when it
  // is more telling, and no more are kept than could be shown.
  std::vector<std::uint8_t> best(list.size() + 1, 0);
  // Within a run of equal hashes each name is compared with the first
  // member of each different name only, so a name repeated many times costs
  // no more than once per repetition.
  std::vector<std::size_t> firsts;
  std::string firstText;
  for (std::size_t start = 0, end = 0; start < members_.size(); start = end) {
    for (end = start + 1; end < members_.size() && members_[end].hash == members_[start].hash;)
      ++end;
    if (end - start == 1) continue;  // most runs: a name met once
    firsts.clear();
    for (std::size_t b = start; b < end; ++b) {
      const Member& later = members_[b];
      name(later.Owner(), later.Kind(), memberText_);
      std::size_t f = 0;
      for (; f < firsts.size(); ++f) {
        name(members_[firsts[f]].Owner(), members_[firsts[f]].Kind(), firstText);
        if (SameTextAscii(firstText, memberText_)) break;
      }
      if (f == firsts.size()) {
        firsts.push_back(b);
        continue;
      }
      const Member& earlier = members_[firsts[f]];
      if (later.Owner() == earlier.Owner()) continue;
      const bool fieldNames = earlier.Owner() != 0 && earlier.Kind() == 0 && later.Kind() == 0;
      const std::uint8_t rank = fieldNames ? (firstText == memberText_ ? 3 : 2) : 1;
      if (rank <= best[later.Owner()]) continue;
      if (best[later.Owner()] == 0 && clashes.size() >= TDiagnostics::kMaxShown) {
        out_.Omit();  // found, but beyond what is shown
        best[later.Owner()] = 3;
        continue;
      }
      best[later.Owner()] = rank;
      clashes.push_back({later.Owner(), earlier.Owner(), rank,
                         static_cast<std::uint8_t>(later.Kind()),
                         static_cast<std::uint8_t>(earlier.Kind())});
    }
  }
  for (std::size_t r = 0; r < repeats.size(); r += 2) {
    const std::uint32_t owner = repeats[r];
    if (best[owner] == 0 && clashes.size() >= TDiagnostics::kMaxShown) {
      out_.Omit();
      continue;
    }
    best[owner] = 3;
    clashes.push_back({owner, repeats[r + 1], 3, 0, 0});
  }
  // The most telling clash of each field comes first.
  std::sort(clashes.begin(), clashes.end(), [](const Clash& a, const Clash& b) {
    return a.owner != b.owner ? a.owner < b.owner : a.rank > b.rank;
  });
  std::string other;
  for (std::size_t c = 0; c < clashes.size(); ++c) {
    if (c > 0 && clashes[c].owner == clashes[c - 1].owner) continue;
    const Clash& clash = clashes[c];
    const std::uint32_t owner = clash.owner;
    const TFielder& field = list[owner - 1];
    const char* at = PlaceOf(index, field);
    const std::string_view fieldName = field.GetName();
    name(owner, clash.ownKind, memberText_);
    name(clash.otherOwner, clash.otherKind, other);
    if (clash.rank == 3)
      Warn(at, out_.Text("フィールド \"{}\" はクラス \"{}\" にすでにあります",
                         {fieldName, fields.GetName()}));
    else if (clash.rank == 2)
      Warn(at, out_.Text("フィールド \"{}\" と \"{}\" は大文字小文字だけが違います",
                         {fieldName, other}));
    else if (clash.otherOwner == 0)
      Warn(at,
           out_.Text("フィールド \"{}\" から作る名前 \"{}\" がクラスのメソッド \"{}\" と重なります",
                     {fieldName, memberText_, other}));
    else
      Warn(at,
           out_.Text(
               "フィールド \"{}\" から作る名前 \"{}\" がフィールド \"{}\" から作る名前と重なります",
               {fieldName, memberText_, list[clash.otherOwner - 1].GetName()}));
  }
}

void TChecker::CheckField(std::size_t index, const TFielder& field, bool stored) {
  const char* const at = PlaceOf(index, field);
  const std::string_view rawName = field.GetName();
  // Blanks after a name are only blanks to Pascal.
  const std::string_view name = Trim(rawName);
  const std::string_view item = Trim(ItemName(rawName));
  if (!IsIdentifier(name))
    Warn(at, out_.Text("フィールド名 \"{}\" は Pascal の識別子ではありません", {rawName}));
  else if (IsReservedFieldName(name))
    Warn(at, out_.Text("フィールド名 \"{}\" は Pascal の予約語です", {name}));
  else if (!IsIdentifier(item) || SameTextAscii(item, "Self"))
    Warn(at, out_.Text(
                 "フィールド名 \"{}\" から先頭の 1 文字を除いた \"{}\" は引数の名前に使えません",
                 {name, item}));
  else if (stored && SameTextAscii(name, "IniFile"))
    Warn(at, out_.Text("フィールド名 \"IniFile\" は INI ファイルを読み書きする手続きの変数に隠されます"));

  const std::string_view rawType = field.GetType();
  const std::string_view type = Trim(rawType);
  // Just after the ":"; the automatic fields are reported at their class.
  const char* const typeAt = at == rawName.data() ? rawName.data() + rawName.size() + 1 : at;
  const TypeFacts& facts = FactsOf(type);
  const bool numeric = facts.numeric;
  const bool boolean = facts.boolean;
  const bool classType = facts.classType;
  if (type.empty()) {
    Warn(typeAt, out_.Text("フィールド \"{}\" に型がありません", {name}));
    return;
  }
  if (type.size() != rawType.size()) {
    // The type is compared and written as it stands: with blanks it is no
    // longer numeric or boolean, nor the name of an INI read method.
    const bool breaks = stored || numeric || boolean || facts.character || classType;
    out_.Add(breaks ? TSeverity::kWarning : TSeverity::kNote, typeAt,
             out_.Text("型 \"{}\" の前後に空白があります", {rawType}));
    return;
  }
  if (classType) {
    Warn(typeAt,
         out_.Text(
             "型 \"{}\" はこのファイルのクラスです。初期値は文字列として書かれるので代入できません",
             {type}));
    return;
  }
  const TSettingValues& defaults = DefaultSettingValues();
  const bool runtimeIni = vocabulary_.UseUnit == defaults.UseUnit &&
                          vocabulary_.cTIniFileMine == defaults.cTIniFileMine &&
                          vocabulary_.cCheck == defaults.cCheck;
  if (stored && !facts.storable) {
    out_.Add(
        runtimeIni ? TSeverity::kWarning : TSeverity::kNote, typeAt,
        out_.Text(
            "型 \"{}\" のフィールドは INI ファイルに読み書きできません ({} に Read{} がありません)",
            {type, vocabulary_.cTIniFileMine, type}));
  } else if (!facts.known && notedTypes_.insert(texts::LowerAscii(type)).second) {
    // Once for each type: the first field shows where it is used.
    Note(typeAt,
         out_.Text("型 \"{}\" は Tamsel の知らない型です。初期値は文字列として書かれます", {type}));
  }

  const std::string_view value = field.GetInitValue();
  const char* const valueAt = at == rawName.data() ? value.data() : at;
  if (numeric) {
    switch (JudgeNumber(type, value)) {
      case TNumberText::kLiteral:
        break;
      case TNumberText::kExpression:
        Note(valueAt, out_.Text("初期値 \"{}\" は式としてそのまま書かれます。ユニットから見える定数でなければなりません",
                                {value}));
        break;
      case TNumberText::kOutOfRange:
        Warn(valueAt, out_.Text("初期値 {} は型 \"{}\" の範囲を超えています", {value, type}));
        break;
      case TNumberText::kMalformed:
        Warn(valueAt,
             Trim(value).empty()
                 ? out_.Text("型 \"{}\" の初期値がありません", {type})
                 : out_.Text("初期値 \"{}\" は型 \"{}\" の数値ではありません", {value, type}));
        break;
    }
    return;
  }
  if (boolean) {
    // The generator reads it as Pascal reads an integer, and stops where it
    // cannot.
    std::int32_t number = 0;
    if (!texts::ParseInt32(value, texts::kPascalInteger, number))
      out_.Add(TSeverity::kError, valueAt,
               out_.Text("boolean の初期値 \"{}\" が整数ではありません", {value}));
    return;
  }
  // Every other value is written between apostrophes.
  const auto apostrophes = static_cast<std::size_t>(std::count(value.begin(), value.end(), '\''));
  if (apostrophes % 2 != 0) {
    Warn(valueAt,
         out_.Text("初期値 \"{}\" の ' の数が奇数です。文字列の中の ' は '' と二つ書きます",
                   {value}));
  } else if (facts.character && CharacterCount(value) - apostrophes / 2 != 1) {
    Warn(valueAt, out_.Text("型 \"{}\" の初期値は 1 文字です: \"{}\"", {type, value}));
  } else if (SameTextAscii(type, "shortstring") && CharacterCount(value) > 255) {
    Warn(valueAt, out_.Text("shortstring の初期値が 255 文字を超えています"));
  } else if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()))) {
    Note(valueAt, out_.Text("初期値 \"{}\" の前後の空白も文字列に入ります", {value}));
  }
}

// A field meets the fields of the same name along its class's parent chain.
// The fields are sorted by their names' case-free hashes and then by class,
// so for each ancestor a binary search finds whether it has the name.
void TChecker::CheckInheritedFields() {
  struct Entry {
    std::uint32_t hash;
    std::uint32_t klass;
    const TFielder* field;
  };
  // Only the fields of classes with a parent, or that are a parent, can
  // meet; of them, only names that may be used twice.
  std::vector<bool> onChain(list_.Count(), false);
  for (std::size_t i = 0; i < list_.Count(); ++i)
    if (parents_[i] != kNone) onChain[i] = onChain[parents_[i]] = true;
  const auto forEachField = [&](auto visit) {
    for (std::size_t i = 0; i < list_.Count(); ++i)
      if (const TFielderList* fields = Fields(i); fields && onChain[i])
        for (const TFielder& field : fields->Fields())
          visit(static_cast<std::uint32_t>(i), field, CaseFreeHash(field.GetName()));
  };
  std::size_t count = 0;
  forEachField([&](std::uint32_t, const TFielder&, std::uint32_t) { ++count; });
  TRepeatFilter filter(count);
  forEachField([&](std::uint32_t, const TFielder&, std::uint32_t hash) { filter.Add(hash); });
  std::vector<Entry> entries;
  forEachField([&](std::uint32_t klass, const TFielder& field, std::uint32_t hash) {
    if (filter.MayRepeat(hash)) entries.push_back({hash, klass, &field});
  });
  // A class's fields keep their order: they lie in one vector.
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return a.hash != b.hash ? a.hash < b.hash
                            : (a.klass != b.klass ? a.klass < b.klass : a.field < b.field);
  });
  const auto byClass = [](std::uint32_t klass, const Entry& e) { return klass < e.klass; };
  auto group = entries.begin();
  for (auto e = entries.begin(); e != entries.end(); ++e) {
    if (e->hash != group->hash) group = e;
    // The nearest ancestor, among the classes before this one with the
    // same hash, that has a field of the same name (letter case aside).
    const Entry* found = nullptr;
    for (std::uint32_t ancestor = parents_[e->klass]; ancestor != kNone && !found;) {
      auto it = std::upper_bound(group, e, ancestor, byClass);
      if (it == group) break;
      const std::uint32_t candidate = std::prev(it)->klass;
      if (candidate == ancestor) {
        for (; it != group && std::prev(it)->klass == candidate && !found; --it)
          if (SameTextAscii(std::prev(it)->field->GetName(), e->field->GetName()))
            found = &*std::prev(it);
        ancestor = parents_[ancestor];
      }
      // Parents come before their classes: up the chain to the candidate.
      while (ancestor != kNone && ancestor > candidate) ancestor = parents_[ancestor];
    }
    if (!found) continue;
    const TFielder& field = *e->field;
    const TFielder& inherited = *found->field;
    const char* const at = PlaceOf(e->klass, field);
    const std::string_view ancestorName = ClassKey(found->klass);
    if (field.GetName() != inherited.GetName()) {
      Warn(at, out_.Text("フィールド \"{}\" は祖先 \"{}\" のフィールド \"{}\" "
                         "と大文字小文字だけが違うので override しません",
                         {field.GetName(), ancestorName, inherited.GetName()}));
    } else if (!field.GetRedefined()) {
      // The automatic fields are never redefined; a field of the class
      // itself is not, when its parent is named otherwise than written.
      Warn(at, at != field.GetName().data()
                   ? out_.Text("INI 制御クラスの自動フィールド \"{}\" が祖先 \"{}\" の同じ名前のフィールドを隠します",
                               {field.GetName(), ancestorName})
                   : out_.Text("フィールド \"{}\" は祖先 \"{}\" のフィールドを override しません。親クラス名の書き方 (大文字小文字や空白) が違います",
                               {field.GetName(), ancestorName}));
    } else if (!SameType(Trim(field.GetType()), Trim(inherited.GetType()))) {
      Warn(at, out_.Text("フィールド \"{}\" の型 \"{}\" が祖先 \"{}\" での型 \"{}\" と違います",
                         {field.GetName(), field.GetType(), ancestorName, inherited.GetType()}));
    }
  }
}

// The INI-controller's load procedure sets the stored fields through
// "Inherited", so every class before it that has fields must be its ancestor.
void TChecker::CheckController(std::size_t controller) {
  std::vector<bool> ancestor(controller, false);
  for (std::uint32_t a = parents_[controller]; a != kNone; a = parents_[a]) ancestor[a] = true;
  bool stores = false;
  for (std::size_t i = 0; i < controller; ++i) {
    if (!Fields(i)) continue;
    stores = true;
    if (!ancestor[i])
      Warn(list_.Item(i).GetName().data(),
           out_.Text("クラス \"{}\" は INI 制御クラス \"{}\" の祖先ではないので、そのフィールドを "
                     "INI ファイルに読み書きできません",
                     {ClassKey(i), ClassKey(controller)}));
  }
  // The runtime unit's INI file class has CheckWrite... methods, and IniFiles'
  // own Write... ones (an empty cCheck); no others.
  const TSettingValues& defaults = DefaultSettingValues();
  if (stores && vocabulary_.cTIniFileMine == defaults.cTIniFileMine &&
      !vocabulary_.cCheck.empty() && vocabulary_.cCheck != defaults.cCheck)
    Warn(list_.Item(controller).GetName().data(),
         out_.Text("INI ファイルのクラス \"{}\" に \"{}Write...\" のメソッドはありません (設定 cCheck)",
                   {vocabulary_.cTIniFileMine, vocabulary_.cCheck}));
}

}  // namespace

void ReportLoadFailure(const TTyperList& list, const TVocabulary& vocabulary, TDiagnostics& out) {
  const TLoadFailure& failure = list.LoadFailure();
  std::string text;
  switch (failure.fault) {
    case TLoadFault::kNone:
      return;
    case TLoadFault::kIndent:
      text = out.Text("字下げが空白 {} 個です。設定 Tab では {} 個です",
                      {std::to_string(failure.spaces), std::to_string(vocabulary.Indent.size())});
      break;
    case TLoadFault::kTabInIndent:
      text = out.Text("字下げにタブ文字があります。字下げは空白 {} 個です",
                      {std::to_string(vocabulary.Indent.size())});
      break;
    case TLoadFault::kNoColon:
      text = out.Text("フィールド行に \":\" がありません");
      break;
    case TLoadFault::kNoSemicolon:
      text = out.Text("フィールド行に \";\" がありません");
      break;
    case TLoadFault::kFieldBeforeClass:
      text = out.Text("最初のクラス行より前にフィールド行があります");
      break;
  }
  out.Add(TSeverity::kError, failure.at, std::move(text));
}

void CheckDefinition(const TTyperList& list, const TVocabulary& vocabulary,
                     std::string_view unitName, TDiagnostics& out) {
  TChecker(list, vocabulary, out).Run(unitName);
}

void ReportExtraArguments(const std::vector<std::string>& args, TDiagnostics& out) {
  for (std::size_t i = 1; i < args.size(); ++i)
    out.Add(TSeverity::kWarning, nullptr, out.Text("余分な引数 \"{}\" は無視します", {args[i]}));
}
