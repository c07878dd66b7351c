#include "app/Tamsel.h"

#include <cstdio>
#include <exception>
#include <optional>
#include <stdexcept>

#include "app/HelpScreens.h"
#include "app/Switches.h"
#include "check/Tamsel_Check.h"
#include "check/Tamsel_Diagnostics.h"
#include "model/Tamsel_Names.h"
#include "model/Tamsel_TyperList.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "settings/Tamsel_Common.h"
#include "settings/Tamsel_ini.h"
#include "text/TextFile.h"
#include "writer/Tamsel_WritePas.h"

namespace {

const char* const kPasMessage = "拡張子\".pas\"のファイルは指定できません";
const char* const kMissingMessage = "指定のファイルがありません。";
const char* const kMalformedMessage = "不思議な対象データがある。";

// Standard output that cannot be written fails the run.
void CheckOutput(platform::Status status) {
  if (!status.Ok()) throw platform::IoError("standard output: " + status.Text());
}

void Print(std::string_view bytes) { CheckOutput(platform::WriteStandardOutput(bytes)); }
void PrintMessage(std::string_view utf8) { Print(platform::ConsoleText(utf8) + '\n'); }

// Standard error, after what standard output holds; a failure to write there cannot change what
// the run does.
void PrintError(std::string_view text) {
  std::fflush(stdout);
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

// The message that refuses a definition file before anything is read, or nullptr. On a file
// system that ignores case, or through a link, the unit's path may name one of the run's inputs;
// none may ever be overwritten.
const char* Refusal(const std::string& definition, const std::string& unitPath,
                    const std::string& constantsPath, const std::string& exePath) {
  if (platform::ExtractFileExt(definition) == ".pas") return kPasMessage;
  if (platform::KindOf(definition) != platform::PathKind::kRegular) return kMissingMessage;
  for (const std::string& input : {definition, constantsPath, TIniter::FileNameFor(exePath), exePath})
    if (platform::SameFile(input, unitPath)) return kPasMessage;
  return nullptr;
}

// A `Tab` wider than kMaxTab would make every generated line absurdly long (and a huge one exhausts
// memory); such a settings file is refused.
void CheckSettings(const TIniter& settings) {
  constexpr std::int32_t kMaxTab = 64;
  const std::int32_t tab = settings.Values().Tab;
  if (tab > kMaxTab)
    throw std::runtime_error(platform::ConsolePath(settings.GetFileName()) +
                             platform::ConsoleText(": キー Tab の値 " + std::to_string(tab) + " は " +
                                                   std::to_string(kMaxTab) + " を超えています"));
}

// The constants file's text, when there is a regular file of that name.
std::optional<std::string> ReadConstants(const std::string& path) {
  if (platform::KindOf(path) != platform::PathKind::kRegular) return std::nullopt;
  std::string constants;
  if (const platform::ReadResult read = platform::ReadRegularFile(path, constants); !read.Ok())
    throw platform::FileError(path, platform::FileFailure::kRead, read.status.Text());
  return constants;
}

// Copies the constants file line by line; the end test follows the copy, so an empty file still gives
// one empty line. A UTF-8 byte-order mark at its start is dropped: the unit has its own, or none.
void WriteConstants(TWritePas& out, std::string constants) {
  bool hadMark = false;
  texts::TextReader reader(texts::SkipByteOrderMark(constants, hadMark));
  do {
    out.WriteLn(0, reader.ReadLine());
  } while (!reader.Eof());
}

int Run(const std::vector<std::string>& args, const std::string& exePath) {
  if (int code = ClassifySwitches(args)) {
    Print(HelpScreen(code, exePath));
    return kExitOk;
  }
  const std::string& definition = args.front();
  const std::string unitPath = platform::ChangeFileExt(definition, ".pas");
  const std::string constantsPath = platform::ChangeFileExt(definition, ".const");
  if (const char* message = Refusal(definition, unitPath, constantsPath, exePath)) {
    PrintMessage(message);
    return kExitRefused;
  }
  TIniter settings(exePath);
  CheckSettings(settings);
  const TVocabulary vocabulary = TVocabulary::FromSettings(settings);

  // The unit is written beside its final name and replaces it only when the whole run has
  // succeeded, so a failure leaves an existing unit as it was.
  platform::ReplacementFile unitFile(unitPath);
  TFileSink sink(unitFile);
  TWritePas out(sink, vocabulary.Indent);
  TTyperList list(false, vocabulary);
  const bool loaded = list.Load(definition);
  const std::string unitName =
      platform::FileNameText(platform::ChangeFileExt(platform::ExtractFileName(definition), ""));
  TDiagnostics diagnostics;
  ReportExtraArguments(args, diagnostics);
  if (loaded) {
    CheckDefinition(list, vocabulary, unitName, diagnostics);
  } else {
    ReportLoadFailure(list, vocabulary, diagnostics);
    PrintMessage(kMalformedMessage);
  }
  if (!diagnostics.Empty()) PrintError(diagnostics.Format(platform::ConsolePath(definition)));
  if (loaded) {
    const std::optional<std::string> constants = ReadConstants(constantsPath);
    WriteUnit(out, list, unitName, settings.Values().UseUnit, constants ? &*constants : nullptr);
    out.Flush();
  }
  settings.Destroy();
  if (!loaded) return kExitRefused;
  unitFile.Commit();
  return kExitOk;
}

}  // namespace

void WriteUnit(TWritePas& out, const TTyperList& list, std::string_view unitName,
               std::string_view useUnit, const std::string* constants) {
  if (list.HasByteOrderMark()) out.Write(0, texts::kUtf8ByteOrderMark);
  out.WriteLn(0, "unit ", unitName, ";");
  out.WriteLn(0, "interface");
  out.WriteLn(0, "uses");
  out.WriteLn(1, names::kUsesUnits[0], ",");
  if (!useUnit.empty()) out.WriteLn(1, useUnit, ",");
  out.WriteLn(1, names::kUsesUnits[1], ";");
  out.WriteLn(0, "type");
  list.WriteTypeSection(out);
  if (constants) {
    out.WriteLn(0, "");
    WriteConstants(out, *constants);
  }
  out.WriteLn(0, "");
  out.WriteLn(0, "implementation");
  list.WriteImplementation(out);
  list.WriteIniRead(out);
  list.WriteIniWrite(out);
  out.WriteLn(0, "end.");
}

int RunMain(const std::vector<std::string>& args, const std::string& exePath) {
  try {
    const int code = Run(args, exePath);
    CheckOutput(platform::FlushStandardOutput());
    return code;
  } catch (const std::exception& e) {
    PrintError(std::string(e.what()) + '\n');
    return kExitFailure;
  }
}
