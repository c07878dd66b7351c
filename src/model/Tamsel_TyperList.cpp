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
  std::string data;
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
bool TTyperList::Parse(std::string& text) {
  platform::TextReader reader(text);
  std::string pendingName;
  std::string pendingParent;
  bool pending = false;
  TFielderList* filling = nullptr;  // the class receiving field lines
  bool result = true;
  do {
    const std::string_view line = reader.ReadLine();
    if (line.empty()) continue;  // empty lines carry nothing
    if (line.front() != ' ') {
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
    if (fields_.capacity() == fields_.size()) ReserveFields(text);
    if (pending) {
      filling = CreateClassDef(std::move(pendingName), std::move(pendingParent), true);
      pending = false;
    }
    if (filling == nullptr) {  // a field line before any class line
      result = false;
      break;
    }
    AppendField(*filling, split.rest, split.nameSize, split.valueStart, false);
  } while (!reader.Eof());
  if (pending) CreateClassDef(std::move(pendingName), std::move(pendingParent), false);
  return result;
}

// Called at the first accepted field line, so a text refused at its first
// line costs nothing. The room is only reserved, not touched: what the lines
// do not fill is never paid for. Reserving is a hint; without the room the
// store grows as it goes.
void TTyperList::ReserveFields(std::string_view text) {
  try {
    fields_.reserve(fields_.size() + CountFieldLines(text) + 2);
  } catch (const std::bad_alloc&) {
  }
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
      const std::string& line = texts_.emplace_back(*field + ":string;");
      AppendField(ini, line, field->size(), line.size(), true);
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
                             std::size_t valueStart, bool automatic) {
  // The name is looked up before the field is made, which needs to know
  // whether it is redefined, and recorded once the field stands in the store.
  const FieldNameIndex::Probe name = fieldNames_.Prepare(line.substr(0, nameSize), fields_);
  owner.AddField(
      TFielder(line, nameSize, valueStart, name.found && !automatic, automatic || FHasIni));
  if (!name.found) fieldNames_.Record(name, fields_.size() - 1);
}

bool TTyperList::FieldDefined(std::string_view name) const {
  return fieldNames_.Contains(name, fields_);
}

namespace {

// At most this share of the slots is used. With a tag per slot, the longer
// probe runs this allows cost less than the memory more slots would take.
constexpr std::size_t kLoadNumerator = 3;
constexpr std::size_t kLoadDenominator = 4;

std::size_t SlotsFor(std::size_t names) {
  return std::max<std::size_t>(16, names / kLoadNumerator * kLoadDenominator + kLoadDenominator);
}

}  // namespace

std::uint64_t TTyperList::FieldNameIndex::Hash(std::string_view name) {
  return std::hash<std::string_view>()(name);
}

// The slot comes from the hash's low half scaled to the table size, the tag
// from its top byte.
std::size_t TTyperList::FieldNameIndex::FirstSlot(std::uint64_t hash) const {
  return static_cast<std::size_t>(((hash & 0xFFFFFFFFu) * numbers_.size()) >> 32);
}

TTyperList::FieldNameIndex::Probe TTyperList::FieldNameIndex::Find(
    std::string_view name, std::uint64_t hash, const std::vector<TFielder>& fields) const {
  const auto tag = static_cast<std::uint8_t>(1 + (hash >> 56) % 255);
  const std::size_t slots = numbers_.size();
  for (std::size_t slot = FirstSlot(hash);; slot = slot + 1 == slots ? 0 : slot + 1) {
    if (tags_[slot] == 0) return {slot, tag, false};
    if (tags_[slot] == tag && fields[numbers_[slot] - 1].GetName() == name)
      return {slot, tag, true};
  }
}

bool TTyperList::FieldNameIndex::Contains(std::string_view name,
                                          const std::vector<TFielder>& fields) const {
  return !numbers_.empty() && Find(name, Hash(name), fields).found;
}

TTyperList::FieldNameIndex::Probe TTyperList::FieldNameIndex::Prepare(
    std::string_view name, const std::vector<TFielder>& fields) {
  if (fields.size() >= std::numeric_limits<std::uint32_t>::max())
    throw std::length_error(platform::ConsoleText("フィールドが多すぎます"));
  if (SlotsFor(count_ + 1) > numbers_.size()) Rehash(2 * SlotsFor(count_ + 1), fields);
  return Find(name, Hash(name), fields);
}

void TTyperList::FieldNameIndex::Record(const Probe& probe, std::size_t number) {
  tags_[probe.slot] = probe.tag;
  numbers_[probe.slot] = static_cast<std::uint32_t>(number + 1);
  ++count_;
}

void TTyperList::FieldNameIndex::Rehash(std::size_t slots,
                                        const std::vector<TFielder>& fields) {
  if (slots > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error(platform::ConsoleText("フィールドが多すぎます"));
  std::vector<std::uint32_t> oldNumbers(slots, 0);
  std::vector<std::uint8_t> oldTags(slots, 0);
  oldNumbers.swap(numbers_);  // after the swap: the old table, and the new empty one in numbers_/tags_
  oldTags.swap(tags_);
  for (std::size_t i = 0; i < oldNumbers.size(); ++i) {
    if (oldTags[i] == 0) continue;
    const std::string_view name = fields[oldNumbers[i] - 1].GetName();
    const Probe probe = Find(name, Hash(name), fields);
    tags_[probe.slot] = probe.tag;
    numbers_[probe.slot] = oldNumbers[i];
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
