#include "model/Tamsel_TyperList.h"

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

struct FieldParts {
  std::string_view name;
  std::string_view type;
  std::string_view value;
};

// A field line: exactly the indent string, the field name, ":", the type,
// ";" and the initial value. Each delimiter is the first of its kind in the
// line. False for a malformed line: too few or too many leading spaces, or
// no ":" or no ";".
bool SplitFieldLine(std::string_view line, std::string_view indent, FieldParts& parts) {
  const std::size_t n = indent.size();
  if (line.substr(0, n) != indent) return false;
  // Together with the test above this refuses more than n leading spaces;
  // with an empty indent string every line starting with a space fails here.
  if (line.substr(1, n) == indent) return false;
  const std::size_t colon = line.find(':');
  const std::size_t semicolon = line.find(';');
  if (colon == std::string_view::npos || semicolon == std::string_view::npos) return false;
  parts.name = line.substr(n, colon - n);
  parts.type = semicolon > colon ? line.substr(colon + 1, semicolon - colon - 1)
                                 : std::string_view();
  parts.value = line.substr(semicolon + 1);
  return true;
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
  return LoadText(data);
}

// A class line is remembered as pending; its class definition is created at
// its first field line (then it holds fields), or else at the next class line
// or the end of the text (then it holds none).
bool TTyperList::LoadText(std::string_view text) {
  platform::TextReader reader(text);
  std::string line;
  std::string pendingName;
  std::string pendingParent;
  bool pending = false;
  TFielderList* filling = nullptr;  // the class receiving field lines
  bool result = true;
  do {
    reader.ReadLine(line);
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
    FieldParts parts;
    if (!SplitFieldLine(line, vocabulary_.Indent, parts)) {
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
    const bool redefined = FieldDefined(parts.name);
    AppendField(*filling,
                std::make_unique<TFielder>(std::string(parts.name), std::string(parts.type),
                                           std::string(parts.value), redefined, FHasIni));
  } while (!reader.Eof());
  if (pending) CreateClassDef(std::move(pendingName), std::move(pendingParent), false);
  return result;
}

void TTyperList::AddClassDef(std::string name, std::string parent, bool withFields) {
  CreateClassDef(std::move(name), std::move(parent), withFields);
}

TFielderList* TTyperList::CreateClassDef(std::string name, std::string parent, bool withFields) {
  if (name == vocabulary_.cTIniter) {
    FHasIni = true;
    auto owned = std::make_unique<TTyperIni>(std::move(name), std::move(parent));
    TTyperIni& ini = *owned;
    FItems.push_back(std::move(owned));
    AppendField(ini, std::make_unique<TFielder>(vocabulary_.cFileName, "string", "", false, true));
    AppendField(ini, std::make_unique<TFielder>(vocabulary_.cSection, "string", "", false, true));
    return &ini;
  }
  if (withFields) {
    auto owned = std::make_unique<TFielderList>(std::move(name), std::move(parent));
    TFielderList& list = *owned;
    FItems.push_back(std::move(owned));
    return &list;
  }
  FItems.push_back(std::make_unique<TTyper>(std::move(name), std::move(parent)));
  return nullptr;
}

void TTyperList::AppendField(TFielderList& owner, std::unique_ptr<TFielder> field) {
  fieldNames_.insert(owner.AddField(std::move(field)).GetName());
}

// Answers what asking HasField of every class definition would answer, from
// the index of the names added so far, so that loading stays linear.
bool TTyperList::FieldDefined(std::string_view name) const {
  return fieldNames_.find(name) != fieldNames_.end();
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
