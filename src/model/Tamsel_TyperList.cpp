#include "model/Tamsel_TyperList.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <new>
#include <stdexcept>
#include <utility>

#include "model/Tamsel_Emit.h"
#include "model/Tamsel_Fielder.h"
#include "model/Tamsel_FielderList.h"
#include "model/Tamsel_Typer.h"
#include "model/Tamsel_TyperIni.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"
#include "writer/Tamsel_WritePas.h"

namespace {

// A class line: the class name, then optionally "(", the parent name and a
// last character that is expected to be ")" but is dropped untested.
void SplitClassLine(std::string_view line, std::string_view& name, std::string_view& parent) {
  const std::size_t open = line.find('(');
  if (open == std::string_view::npos) {
    name = line;
    parent = {};
    return;
  }
  name = line.substr(0, open);
  // "TName(" has no room for a parent at all; it is empty, as for "TName()".
  parent = open + 2 <= line.size() ? line.substr(open + 1, line.size() - open - 2)
                                   : std::string_view();
}

// Where a field line splits, counted from the end of its indent: the name is
// the line up to `nameSize`, the value starts at `valueStart`.
struct FieldSplit {
  std::string_view rest;  // the line after the indent
  std::size_t nameSize;
  std::size_t valueStart;
};

// A field line: exactly the indent string, the field name, ":", the type,
// ";" and the initial value. Each delimiter is the first of its kind in the
// line. False for a malformed line: too few or too many leading spaces, or
// no ":" or no ";".
bool SplitFieldLine(std::string_view line, std::string_view indent, FieldSplit& split) {
  const std::size_t n = indent.size();
  if (line.substr(0, n) != indent) return false;
  // Together with the test above this refuses more than n leading spaces;
  // with an empty indent string every line starting with a space fails here.
  if (line.substr(1, n) == indent) return false;
  const std::size_t colon = line.find(':');
  const std::size_t semicolon = line.find(';');
  if (colon == std::string_view::npos || semicolon == std::string_view::npos) return false;
  // Both lie after the indent, which is all spaces.
  split.rest = line.substr(n);
  split.nameSize = colon - n;
  split.valueStart = semicolon + 1 - n;
  return true;
}

// Lines that start with a space: as many fields as the text can hold.
std::size_t CountFieldLines(std::string_view text) {
  if (text.empty()) return 0;
  std::size_t count = text.front() == ' ' ? 1 : 0;
  // Written without branches so that the compiler can vectorise it.
  const char* const p = text.data();
  for (std::size_t i = 1; i < text.size(); ++i)
    count += static_cast<std::size_t>((p[i - 1] == '\n') & (p[i] == ' '));
  return count;
}

}  // namespace

TTyperList::TTyperList(bool hasIni, const TVocabulary& vocabulary)
    : FHasIni(hasIni), vocabulary_(vocabulary) {}

TTyperList::~TTyperList() = default;

bool TTyperList::Load(const std::string& path) {
  platform::LargeString data;
  if (!platform::ReadWholeFile(path, data))
    throw platform::IoError(platform::ConsolePath(path) + platform::ConsoleText(" を読み込めません: ") +
                            platform::LastErrorText());
  return Parse(texts_.emplace_back(std::move(data)));
}

bool TTyperList::LoadText(std::string_view text) { return Parse(texts_.emplace_back(text)); }

// The lines are read in place, so the fields can point into the text.
//
// A class line is remembered as pending; its class definition is created at
// its first field line (then it holds fields), or else at the next class line
// or the end of the text (then it holds none).
//
// A field line is added a few field lines late: its name's slot in the index
// is fetched into the cache at once and looked up only after the lines before
// have been added, so that the wait for memory overlaps with other work. Every
// field is still added, and looked up, in the order of the lines.
bool TTyperList::Parse(platform::LargeString& text) {
  platform::TextReader reader(text);
  std::string pendingName;
  std::string pendingParent;
  bool pending = false;
  TFielderList* filling = nullptr;  // the class receiving field lines
  WaitingFields waiting;
  bool reserved = false;  // room made for the text's fields
  bool result = true;
  do {
    const std::string_view line = reader.ReadLine();
    if (line.empty()) continue;  // empty lines carry nothing
    if (line.front() != ' ') {
      AddAllWaiting(waiting);
      if (pending) CreateClassDef(std::move(pendingName), std::move(pendingParent), false);
      std::string_view name;
      std::string_view parent;
      SplitClassLine(line, name, parent);
      pendingName.assign(name);
      pendingParent.assign(parent);
      pending = true;
      filling = nullptr;
      continue;
    }
    FieldSplit split;
    if (!SplitFieldLine(line, vocabulary_.Indent, split)) {
      result = false;
      break;
    }
    if (pending) {
      filling = CreateClassDef(std::move(pendingName), std::move(pendingParent), true);
      pending = false;
    }
    if (filling == nullptr) {  // a field line before any class line
      result = false;
      break;
    }
    if (!reserved) {
      ReserveFields(text);
      reserved = true;
    }
    const std::uint32_t hash = FieldNameIndex::Hash(split.rest.substr(0, split.nameSize));
    fieldNames_.Prefetch(hash);
    if (waiting.count == kLookahead) AddFirstWaiting(waiting);
    waiting.fields[(waiting.first + waiting.count++) % kLookahead] = {
        filling, split.rest, split.nameSize, split.valueStart, hash};
  } while (!reader.Eof());
  AddAllWaiting(waiting);
  if (pending) CreateClassDef(std::move(pendingName), std::move(pendingParent), false);
  return result;
}

void TTyperList::AddFirstWaiting(WaitingFields& waiting) {
  const WaitingField& field = waiting.fields[waiting.first];
  AppendField(*field.owner, field.line, field.nameSize, field.valueStart, false, field.hash);
  waiting.first = (waiting.first + 1) % kLookahead;
  --waiting.count;
}

void TTyperList::AddAllWaiting(WaitingFields& waiting) {
  while (waiting.count > 0) AddFirstWaiting(waiting);
}

// Called at the first field line that is accepted and has a class, so a text
// refused at its first field line costs nothing. The store and the name index
// are sized for every line that may be a field. The store's room is only
// reserved; AppendField makes it present a stretch at a time just ahead of
// the fields. The index is made present at once when it is no larger than
// the text itself, which holds for real field lines; a text of countless
// short malformed lines gets no more memory than it uses, rounded up to a
// large page. Reserving is a hint; without the room the store and the index
// grow as they go.
void TTyperList::ReserveFields(std::string_view text) {
  try {
    fields_.reserve(fields_.size() + CountFieldLines(text) + 2);
    fieldNames_.Reserve(fields_.capacity(), text.size());
  } catch (const std::bad_alloc&) {
  }
}

// Fresh memory costs a trap per page at its first touch, which one call for a
// stretch of pages avoids.
void TTyperList::PrefaultFieldStore() {
  constexpr std::size_t kStretch = 8192;  // fields, 192 KB
  const std::size_t size = fields_.size();
  const std::size_t end = std::min(fields_.capacity(), size + kStretch);
  platform::Prefault(fields_.data() + size, (end - size) * sizeof(TFielder));
  prefaultedFields_ = std::max(end, size + 1);
}

void TTyperList::AddClassDef(std::string name, std::string parent, bool withFields) {
  CreateClassDef(std::move(name), std::move(parent), withFields);
}

TFielderList* TTyperList::CreateClassDef(std::string name, std::string parent, bool withFields) {
  if (name == vocabulary_.cTIniter) {
    FHasIni = true;
    auto owned = std::make_unique<TTyperIni>(std::move(name), std::move(parent), fields_);
    TTyperIni& ini = *owned;
    FItems.push_back(std::move(owned));
    // Each automatic field gets a line of its own, "name:string;"; its name is
    // cut by length, so a name holding ":" or ";" stays whole.
    for (const std::string* field : {&vocabulary_.cFileName, &vocabulary_.cSection}) {
      const platform::LargeString& line = texts_.emplace_back(*field + ":string;");
      AppendField(ini, line, field->size(), line.size(), true,
                  FieldNameIndex::Hash(std::string_view(line).substr(0, field->size())));
    }
    return &ini;
  }
  if (withFields) {
    auto owned = std::make_unique<TFielderList>(std::move(name), std::move(parent), fields_);
    TFielderList& list = *owned;
    FItems.push_back(std::move(owned));
    return &list;
  }
  FItems.push_back(std::make_unique<TTyper>(std::move(name), std::move(parent)));
  return nullptr;
}

void TTyperList::AppendField(TFielderList& owner, std::string_view line, std::size_t nameSize,
                             std::size_t valueStart, bool automatic, std::uint32_t hash) {
  // The name is looked up before the field is made, which needs to know
  // whether it is redefined, and recorded once the field stands in the store.
  const FieldNameIndex::Probe name = fieldNames_.Prepare(line.substr(0, nameSize), hash, fields_);
  if (fields_.size() >= prefaultedFields_) PrefaultFieldStore();
  owner.AddField(
      TFielder(line, nameSize, valueStart, name.found && !automatic, automatic || FHasIni));
  if (!name.found) fieldNames_.Record(name, fields_.size() - 1);
}

bool TTyperList::FieldDefined(std::string_view name) const {
  return fieldNames_.Contains(name, fields_);
}

namespace {

// At most this share of the slots is used. With the hash kept in each slot,
// the longer probe runs this allows cost less than the memory more slots
// would take.
constexpr std::size_t kLoadNumerator = 3;
constexpr std::size_t kLoadDenominator = 4;

std::size_t SlotsFor(std::size_t names) {
  return std::max<std::size_t>(16, names / kLoadNumerator * kLoadDenominator + kLoadDenominator);
}

}  // namespace

// Both halves of the 64-bit hash folded into the 32 bits that are kept.
std::uint32_t TTyperList::FieldNameIndex::Hash(std::string_view name) {
  const std::uint64_t hash = std::hash<std::string_view>()(name);
  return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

// The hash scaled to the table size, so its top bits choose the slot.
std::size_t TTyperList::FieldNameIndex::FirstSlot(std::uint32_t hash) const {
  return static_cast<std::size_t>((std::uint64_t{hash} * size_) >> 32);
}

TTyperList::FieldNameIndex::Probe TTyperList::FieldNameIndex::Find(
    std::string_view name, std::uint32_t hash, const TFielderStore& fields) const {
  const std::size_t size = size_;
  for (std::size_t slot = FirstSlot(hash);; slot = slot + 1 == size ? 0 : slot + 1) {
    const Slot& at = slots_[slot];
    if (at.number == 0) return {slot, hash, false};
    if (at.hash == hash && fields[at.number - 1].GetName() == name) return {slot, hash, true};
  }
}

bool TTyperList::FieldNameIndex::Contains(std::string_view name,
                                          const TFielderStore& fields) const {
  return size_ != 0 && Find(name, Hash(name), fields).found;
}

void TTyperList::FieldNameIndex::Reserve(std::size_t names, std::size_t touchBudget) {
  const std::size_t slots = SlotsFor(names);
  if (slots > size_) Rehash(slots, slots <= touchBudget / sizeof(Slot));
}

void TTyperList::FieldNameIndex::Prefetch(std::uint32_t hash) const {
#if defined(__GNUC__)
  if (size_ != 0) __builtin_prefetch(&slots_[FirstSlot(hash)]);
#else
  (void)hash;
#endif
}

TTyperList::FieldNameIndex::Probe TTyperList::FieldNameIndex::Prepare(
    std::string_view name, std::uint32_t hash, const TFielderStore& fields) {
  if (fields.size() >= std::numeric_limits<std::uint32_t>::max())
    throw std::length_error(platform::ConsoleText("フィールドが多すぎます"));
  // A table that has to grow is at least half full, and will be written all
  // over.
  if (SlotsFor(count_ + 1) > size_) Rehash(2 * SlotsFor(count_ + 1), true);
  return Find(name, hash, fields);
}

void TTyperList::FieldNameIndex::Record(const Probe& probe, std::size_t number) {
  slots_[probe.slot] = {static_cast<std::uint32_t>(number + 1), probe.hash};
  ++count_;
}

// Every name in the table is different, so a slot only needs a free place:
// no name is compared.
void TTyperList::FieldNameIndex::Rehash(std::size_t slots, bool prefault) {
  if (slots > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error(platform::ConsoleText("フィールドが多すぎます"));
  if (slots > std::numeric_limits<std::size_t>::max() / sizeof(Slot)) throw std::bad_alloc();
  const std::size_t bytes = slots * sizeof(Slot);
  std::unique_ptr<Slot[], platform::LargeFree> fresh(
      static_cast<Slot*>(platform::AllocateLarge(bytes)), platform::LargeFree{bytes});
  if (prefault) platform::Prefault(fresh.get(), bytes);
  fresh.swap(slots_);  // after the swap: the old table in fresh, the new empty one in slots_
  const std::size_t oldSize = size_;
  size_ = slots;
  for (std::size_t i = 0; i < oldSize; ++i) {
    const Slot& moving = fresh[i];
    if (moving.number == 0) continue;
    std::size_t slot = FirstSlot(moving.hash);
    while (slots_[slot].number != 0) slot = slot + 1 == slots ? 0 : slot + 1;
    slots_[slot] = moving;
  }
}

void TTyperList::WriteTypeSection(TWritePas& out) const {
  for (const auto& item : FItems) {
    item->WriteClassHead(out);
    out.WriteLn(2, "private");
    item->WriteFieldDecls(out, vocabulary_);
    out.WriteLn(2, "protected");
    out.WriteLn(2, "published");
    out.WriteLn(2, "public");
    item->WriteMethodDecls(out, vocabulary_);
    item->WriteIniMethodDecls(out, vocabulary_);
    out.WriteLn(1, "end;");
  }
  out.WriteLn(0, "var");
  for (const auto& item : FItems) item->WriteObjectVar(out);
}

void TTyperList::WriteImplementation(TWritePas& out) const {
  for (const auto& item : FItems) {
    item->WriteMethodBodies(out, vocabulary_);
    item->WriteIniMethodBodies(out, vocabulary_);
  }
}

void TTyperList::WriteIniProcedure(TWritePas& out, IniHook head, IniHook lines) const {
  if (!FHasIni) return;
  for (const auto& item : FItems) ((*item).*head)(out, vocabulary_);
  out.WriteLn(0, "var");
  emit::WriteLine(out, 1, "IniFile:", vocabulary_.cTIniFileMine, ";");
  out.WriteLn(0, "begin");
  emit::WriteLine(out, 1, "IniFile := ", vocabulary_.cTIniFileMine, ".Create(",
                  vocabulary_.cFileName, ");");
  out.WriteLn(0, "");
  for (const auto& item : FItems) ((*item).*lines)(out, vocabulary_);
  out.WriteLn(0, "");
  out.WriteLn(1, "IniFile.Free;");
  out.WriteLn(0, "end;");
}

void TTyperList::WriteIniRead(TWritePas& out) const {
  WriteIniProcedure(out, &TTyper::WriteIniReadHead, &TTyper::WriteIniReadLines);
}

void TTyperList::WriteIniWrite(TWritePas& out) const {
  WriteIniProcedure(out, &TTyper::WriteIniWriteHead, &TTyper::WriteIniWriteLines);
}
