#include "model/Tamsel_TyperList.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "model/PascalWords.h"
#include "model/Tamsel_Fielder.h"
#include "model/Tamsel_FielderList.h"
#include "model/Tamsel_Names.h"
#include "model/Tamsel_TyperIni.h"
#include "platform/Platform.h"
#include "text/Ascii.h"
#include "writer/Tamsel_WritePas.h"

namespace {

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
  texts::TextReader reader(texts::SkipByteOrderMark(text, FHasByteOrderMark));
  failure_ = {};
  const std::size_t firstClass = FItems.size();
  // The classes of a text read before are parents too, as in one file.
  for (std::size_t i = 0; i < FItems.size(); ++i) lastByName_[FItems[i]->GetName()] = i;
  std::optional<TClassLine> pending;
  TFielderList* filling = nullptr;  // the class receiving field lines
  do {
    const std::string_view line = reader.ReadLine();
    if (line.empty()) continue;  // empty lines carry nothing
    if (line.front() != ' ') {
      if (pending) AddClassDef(*pending, false);
      pending = TClassLine{line, reader.LineNumber()};
      filling = nullptr;
      continue;
    }
    FieldLine field;
    std::size_t at = 0;
    const TLoadFault fault = SplitFieldLine(line, vocabulary_.Indent, field, at);
    if (fault != TLoadFault::kNone) {
      const std::size_t spaces = std::min(line.find_first_not_of(' '), line.size());
      failure_ = {fault, {reader.LineNumber(), at + 1}, spaces};
      break;
    }
    if (pending) {
      filling = &static_cast<TFielderList&>(AddClassDef(*pending, true));
      pending.reset();
    }
    if (!filling) {
      failure_ = {TLoadFault::kFieldBeforeClass, {reader.LineNumber(), 1}, 0};
      break;
    }
    // Whether it redefines a field is known once the whole text is read.
    filling->AddField(TFielder(field.name, field.type, field.value, false, FHasIni,
                               {reader.LineNumber(), vocabulary_.Indent.size() + 1}));
  } while (!reader.Eof());
  if (pending) AddClassDef(*pending, false);
  lastByName_ = decltype(lastByName_)();  // needed only while a text is read
  GroupFieldsByName();
  MarkRedefinedFields(firstClass);
  MarkControllerCopies();
  return failure_.fault == TLoadFault::kNone;
}

TTyper& TTyperList::AddClassDef(const TClassLine& line, bool withFields) {
  const TTyper split(line);
  const auto parent = split.GetParent().empty() ? lastByName_.end()
                                                : lastByName_.find(split.GetParent());
  const std::size_t parentIndex = parent == lastByName_.end() ? TTyper::kNoParent : parent->second;
  const TAncestorInitial ancestors = AncestorInitial(split, parentIndex);
  std::unique_ptr<TTyper> made;
  if (split.GetName() == vocabulary_.cTIniter) {
    FHasIni = true;
    auto ini = std::make_unique<TTyperIni>(line, parentIndex, ancestors);
    // The automatic fields: never redefined, never stored in the INI file.
    for (const std::string* field : {&vocabulary_.cFileName, &vocabulary_.cSection})
      ini->AddField(TFielder(*field, names::kIniNameType, {}, false, true, {line.number, 1}, true));
    made = std::move(ini);
  } else if (withFields) {
    made = std::make_unique<TFielderList>(line, parentIndex, ancestors);
  } else {
    made = std::make_unique<TTyper>(line, parentIndex, ancestors);
  }
  // Recorded after the parent is looked up, so a class is never its own.
  lastByName_[split.GetName()] = FItems.size();
  FItems.push_back(std::move(made));
  return *FItems.back();
}

// A class of the file with fields declares Initial; one without passes on
// what its own ancestors have. A parent the file does not define is another
// unit's, unless it is one of the standard classes without Initial.
TAncestorInitial TTyperList::AncestorInitial(const TTyper& item, std::size_t parentIndex) const {
  if (item.GetParent().empty()) return TAncestorInitial::kNone;
  if (parentIndex != TTyper::kNoParent) {
    const TTyper& parent = *FItems[parentIndex];
    return dynamic_cast<const TFielderList*>(&parent) ? TAncestorInitial::kInFile
                                                       : parent.AncestorInitial();
  }
  return IsStandardRootClass(item.GetParentClass()) ? TAncestorInitial::kNone : TAncestorInitial::kOutside;
}

std::string_view TFieldAt::Name() const { return field->GetName(); }

bool SameGroup(const TFieldAt& a, const TFieldAt& b) {
  return a.hash == b.hash && texts::SameTextAscii(a.Name(), b.Name());
}

void TTyperList::GroupFieldsByName() {
  byName_.clear();
  const texts::CaseFreeHash hash;
  for (std::size_t i = 0; i < FItems.size(); ++i)
    if (auto* holder = dynamic_cast<TFielderList*>(FItems[i].get()))
      for (TFielder& field : holder->Fields()) byName_.push_back({hash(field.GetName()), i, &field});
  // Fields equal but for letter case stand together, those of one spelling
  // together within them; their hashes decide nearly every comparison.
  std::stable_sort(byName_.begin(), byName_.end(), [](const TFieldAt& a, const TFieldAt& b) {
    if (a.hash != b.hash) return a.hash < b.hash;
    const int order = texts::CompareCaseFree(a.Name(), b.Name());
    return order != 0 ? order < 0 : a.Name() < b.Name();
  });
}

// The earlier fields of one spelling come in class order, so the classes of
// a field's chain are each found among them by a binary search.
void TTyperList::MarkRedefinedFields(std::size_t firstClass) {
  for (auto first = byName_.begin(); first != byName_.end();) {
    auto field = first + 1;
    for (; field != byName_.end() && field->hash == first->hash && field->Name() == first->Name();
         ++field)
      if (field->klass >= firstClass && !field->field->IsAutomatic()) MarkIfRedefined(first, field);
    first = field;
  }
}

// A field whose class, or a class on its chain, has an earlier field of its
// name is redefined.
void TTyperList::MarkIfRedefined(std::vector<TFieldAt>::iterator first,
                                 std::vector<TFieldAt>::iterator field) {
  const auto before = [](const TFieldAt& f, std::size_t klass) { return f.klass < klass; };
  for (std::size_t a = field->klass; a != TTyper::kNoParent; a = FItems[a]->ParentIndex()) {
    auto definer = std::lower_bound(first, field, a, before);
    if (definer == field || definer->klass != a) continue;
    field->field->MarkRedefined();
    return;
  }
}

// A stored field whose name (letter case aside) an INI-controller class
// declares too is loaded into the controller's own copy, the one its getter
// returns and its store procedure writes: through Inherited the value would
// reach an ancestor's setter, or none when only an unrelated class has the
// name. The automatic fields do not count.
void TTyperList::MarkControllerCopies() {
  const texts::CaseFreeHash hash;
  for (const auto& item : FItems) {
    const auto* controller = dynamic_cast<const TTyperIni*>(item.get());
    if (!controller) continue;
    for (const TFielder& own : controller->Fields()) {
      if (own.IsAutomatic()) continue;
      // The fields of its name stand together in byName_, in its order.
      const std::size_t h = hash(own.GetName());
      auto f = std::lower_bound(byName_.begin(), byName_.end(), own.GetName(),
                                [&](const TFieldAt& e, std::string_view name) {
                                  return e.hash != h ? e.hash < h
                                                     : texts::CompareCaseFree(e.Name(), name) < 0;
                                });
      for (; f != byName_.end() && f->hash == h && texts::SameTextAscii(f->Name(), own.GetName()); ++f)
        if (!f->field->GetSkipIni()) f->field->LoadIntoControllerCopy();
    }
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
  const std::string_view iniFile = names::kIniFileVariable;
  for (const auto& item : FItems) ((*item).*head)(out, vocabulary_);
  out.WriteLn(0, "var");
  out.WriteLn(1, iniFile, ":", vocabulary_.cTIniFileMine, ";");
  out.WriteLn(0, "begin");
  out.WriteLn(1, iniFile, " := ", vocabulary_.cTIniFileMine, ".", names::kCreate, "(",
              vocabulary_.cFileName, ");");
  out.WriteLn(0, "");
  for (const auto& item : FItems) ((*item).*lines)(out, vocabulary_);
  out.WriteLn(0, "");
  out.WriteLn(1, iniFile, ".", names::kFree, ";");
  out.WriteLn(0, "end;");
}

void TTyperList::WriteIniRead(TWritePas& out) const {
  WriteIniProcedure(out, &TTyper::WriteIniReadHead, &TTyper::WriteIniReadLines);
}

void TTyperList::WriteIniWrite(TWritePas& out) const {
  WriteIniProcedure(out, &TTyper::WriteIniWriteHead, &TTyper::WriteIniWriteLines);
}
