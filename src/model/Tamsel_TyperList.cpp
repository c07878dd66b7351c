#include "model/Tamsel_TyperList.h"

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <utility>

#include "model/Tamsel_Fielder.h"
#include "model/Tamsel_FielderList.h"
#include "model/Tamsel_Typer.h"
#include "model/Tamsel_TyperIni.h"
#include "text/Ascii.h"
#include "platform/Platform.h"
#include "text/TextFile.h"
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

// A class line the split takes otherwise than its writer may have meant: a
// "(" without a final ")", blanks at the end, or a ":" or ";" in it.
bool IsOddClassLine(std::string_view line) {
  const char last = line.back();
  return texts::IsBlank(last) ||
         (line.find('(') != std::string_view::npos && last != ')') ||
         line.find_first_of(":;") != std::string_view::npos;
}

struct FieldLine {
  std::string_view name;
  std::string_view type;
  std::string_view value;
};

// A field line: exactly the indent string, the field name, ":", the type,
// ";" and the initial value. Each delimiter is the first of its kind in the
// line; the type is empty when the ";" comes first. A malformed line gives
// the rule it breaks and the place in it: too few or too many leading spaces,
// a tab among them, or no ":" or no ";".
TLoadFault SplitFieldLine(std::string_view line, std::string_view indent, FieldLine& field,
                          std::size_t& at) {
  const std::size_t n = indent.size();
  // The test is the indent string and no more spaces after it; with an empty
  // indent string every line starting with a space fails.
  const std::size_t spaces = std::min(line.find_first_not_of(' '), line.size());
  if (spaces != n || n == 0) {
    at = spaces;
    return spaces < line.size() && line[spaces] == '\t' ? TLoadFault::kTabInIndent
                                                        : TLoadFault::kIndent;
  }
  const std::size_t colon = line.find(':');
  const std::size_t semicolon = line.find(';');
  if (colon == std::string_view::npos) {
    at = n;
    return TLoadFault::kNoColon;
  }
  if (semicolon == std::string_view::npos) {
    at = line.size();
    return TLoadFault::kNoSemicolon;
  }
  // Both lie after the indent, which is all spaces.
  field.name = line.substr(n, colon - n);
  field.type = semicolon > colon ? line.substr(colon + 1, semicolon - colon - 1)
                                 : std::string_view();
  field.value = line.substr(semicolon + 1);
  return TLoadFault::kNone;
}

// Lines that start with a space: as many fields as the text can hold.
std::size_t CountFieldLines(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t start = 0; start < text.size();) {
    if (text[start] == ' ') ++count;
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return count;
}

}  // namespace

TTyperList::TTyperList(bool hasIni, const TVocabulary& vocabulary)
    : FHasIni(hasIni), vocabulary_(vocabulary) {}

TTyperList::~TTyperList() = default;

bool TTyperList::Load(const std::string& path) {
  std::string text;
  if (const platform::ReadResult read = platform::ReadRegularFile(path, text); !read.Ok())
    throw platform::FileError(path, platform::FileFailure::kRead, read.status.Text());
  return Parse(texts_.emplace_back(std::move(text)));
}

bool TTyperList::LoadText(std::string_view text) { return Parse(texts_.emplace_back(text)); }

// A class line is remembered as pending; its class definition is created at
// its first field line (then it holds fields), or else at the next class line
// or the end of the text (then it holds none). The lines are read in place,
// so names and fields refer to the text.
bool TTyperList::Parse(std::string& text) {
  // A UTF-8 byte-order mark, as Windows editors write it, is no part of the
  // first line.
  const std::span<char> body = texts::SkipByteOrderMark(text, FHasByteOrderMark);
  body_ = {body.data(), body.size()};
  failure_ = {};
  oddClassLines_.clear();
  texts::TextReader reader(body);
  std::string_view pendingName;
  std::string_view pendingParent;
  bool pending = false;
  TFielderList* filling = nullptr;  // the class receiving field lines
  bool reserved = false;
  bool result = true;
  do {
    const std::string_view line = reader.ReadLine();
    if (line.empty()) continue;  // empty lines carry nothing
    if (line.front() != ' ') {
      if (pending) CreateClassDef(pendingName, pendingParent, false);
      SplitClassLine(line, pendingName, pendingParent);
      if (IsOddClassLine(line)) oddClassLines_.push_back(line);
      pending = true;
      filling = nullptr;
      continue;
    }
    FieldLine field;
    std::size_t at = 0;
    const TLoadFault fault = SplitFieldLine(line, vocabulary_.Indent, field, at);
    if (fault != TLoadFault::kNone) {
      failure_ = {fault, line.data() + at, std::min(line.find_first_not_of(' '), line.size())};
      result = false;
      break;
    }
    if (pending) {
      filling = CreateClassDef(pendingName, pendingParent, true);
      pending = false;
    }
    if (filling == nullptr) {  // a field line before any class line
      failure_ = {TLoadFault::kFieldBeforeClass, line.data(), 0};
      result = false;
      break;
    }
    // Room for the names of every line that may be a field, made once the
    // text has shown a field line that is accepted.
    if (!reserved) {
      fieldNames_.Reserve(fieldNames_.Size() + CountFieldLines(text) + 2);
      reserved = true;
    }
    AddDefinedField(*filling, field.name, field.type, field.value);
  } while (!reader.Eof());
  if (pending) CreateClassDef(pendingName, pendingParent, false);
  return result;
}

void TTyperList::AddClassDef(std::string_view name, std::string_view parent, bool withFields) {
  CreateClassDef(name, parent, withFields);
}

namespace {

// Appends `item` to `items` and returns it.
template <typename Kind>
Kind* Append(std::vector<std::unique_ptr<TTyper>>& items, std::unique_ptr<Kind> item) {
  Kind* const added = item.get();
  items.push_back(std::move(item));
  return added;
}

}  // namespace

TFielderList* TTyperList::CreateClassDef(std::string_view name, std::string_view parent,
                                         bool withFields) {
  if (FItems.size() >= kSingle) throw std::length_error("too many classes");
  if (!parents_.empty()) RecordParent(name, parent);
  if (name == vocabulary_.cTIniter) {
    FHasIni = true;
    auto ini = std::make_unique<TTyperIni>(name, parent);
    TTyperIni* const added = Append(FItems, std::move(ini));
    // The automatic fields: never redefined, never stored in the INI file.
    for (const std::string& field :
         {std::cref(vocabulary_.cFileName), std::cref(vocabulary_.cSection)}) {
      added->AddField(TFielder(field, "string", {}, false, true));
      RecordField(fieldNames_.Entry(field, kNone));
    }
    return added;
  }
  if (withFields) return Append(FItems, std::make_unique<TFielderList>(name, parent));
  Append(FItems, std::make_unique<TTyper>(name, parent));
  return nullptr;
}

void TTyperList::RecordParent(std::string_view name, std::string_view parent) {
  const auto index = static_cast<std::uint32_t>(parents_.size());
  // The parent is looked up before the class's own name is recorded, so a
  // class is never its own ancestor.
  const std::uint32_t* const parentIndex = parent.empty() ? nullptr : classNames_.Find(parent);
  parents_.push_back(parentIndex ? *parentIndex : kNone);
  classNames_.Entry(name, index) = index;
}

// Most definitions never reuse a field name, and need no parents: they are
// only worked out at the first name that is reused, for every class so far
// in the order they came, and from then on for each new class.
void TTyperList::ResolveParents() {
  if (!parents_.empty()) return;
  parents_.reserve(FItems.size());
  for (const auto& item : FItems) RecordParent(item->GetName(), item->GetParent());
}

void TTyperList::RecordField(std::uint32_t& newest) {
  const auto klass = static_cast<std::uint32_t>(FItems.size() - 1);
  if (newest == kNone) {
    newest = kSingle | klass;
    return;
  }
  const bool single = (newest & kSingle) != 0;
  const std::uint32_t last = single ? newest & ~kSingle : definers_[newest].klass;
  if (last == klass) return;  // the class has one already
  if (single) {
    definers_.push_back({last, kNone});
    newest = static_cast<std::uint32_t>(definers_.size() - 1);
  }
  definers_.push_back({klass, newest});
  newest = static_cast<std::uint32_t>(definers_.size() - 1);
}

// The classes that have a field of the name come newest first, and so do the
// classes of the chain: one walk down both finds the classes they share.
template <typename Visit>
void TTyperList::VisitChainDefiners(std::size_t index, std::uint32_t newest, Visit visit) const {
  auto ancestor = static_cast<std::uint32_t>(index);
  for (std::uint32_t entry = newest; entry != kNone;) {
    std::uint32_t definer;
    if (entry & kSingle) {
      definer = entry & ~kSingle;
      entry = kNone;
    } else {
      definer = definers_[entry].klass;
      entry = definers_[entry].older;
    }
    while (ancestor != kNone && ancestor > definer) ancestor = parents_[ancestor];
    if (ancestor == kNone) return;
    if (ancestor == definer && visit(definer)) return;
  }
}

bool TTyperList::ChainDefines(std::size_t index, std::string_view name) {
  const std::uint32_t* const newest = fieldNames_.Find(name);
  if (!newest) return false;
  ResolveParents();
  bool found = false;
  VisitChainDefiners(index, *newest, [&](std::uint32_t) { return found = true; });
  return found;
}

void TTyperList::AddDefinedField(TFielderList& owner, std::string_view name,
                                 std::string_view type, std::string_view value) {
  const std::size_t index = FItems.size() - 1;
  std::uint32_t& newest = fieldNames_.Entry(name, kNone);
  if (newest != kNone) ResolveParents();
  bool redefined = false;
  VisitChainDefiners(index, newest, [&](std::uint32_t) { return redefined = true; });
  owner.AddField(TFielder(name, type, value, redefined, FHasIni));
  // The INI-controller class redefining a field it stores: the stored field
  // is loaded into the controller's own copy, which its getter returns and
  // its store writes.
  if (redefined && dynamic_cast<TTyperIni*>(&owner)) {
    VisitChainDefiners(index, newest, [&](std::uint32_t definer) {
      if (definer != index)
        static_cast<TFielderList&>(*FItems[definer]).LoadIntoControllerCopy(name);
      return false;
    });
  }
  RecordField(newest);
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
  out.WriteLn(1, "IniFile:", vocabulary_.cTIniFileMine, ";");
  out.WriteLn(0, "begin");
  out.WriteLn(1, "IniFile := ", vocabulary_.cTIniFileMine, ".Create(", vocabulary_.cFileName, ");");
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
