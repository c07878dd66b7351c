#include "app/Tamsel.h"

#include <cstdio>
#include <exception>
#include <stdexcept>

#include "app/HelpScreens.h"
#include "app/Switches.h"
#include "check/Tamsel_Check.h"
#include "check/Tamsel_Diagnostics.h"
#include "model/Tamsel_TyperList.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "text/TextFile.h"
#include "settings/Tamsel_Common.h"
#include "settings/Tamsel_ini.h"
#include "writer/Tamsel_WritePas.h"

namespace {

constexpr int kMaxTab = 64;

// Standard output that cannot be written fails the run.
void CheckOutput(platform::Status status) {
  if (!status.Ok()) throw platform::IoError("standard output: " + status.Text());
}

void Print(std::string_view bytes) { CheckOutput(platform::WriteStandardOutput(bytes)); }

// Diagnostics go to standard error, where a failure to write them cannot
// change what the run does.
void PrintDiagnostics(const TDiagnostics& diagnostics, const std::string& definition) {
  if (diagnostics.Empty()) return;
  const std::string lines = diagnostics.Format(platform::ConsolePath(definition));
  std::fflush(stdout);
  std::fwrite(lines.data(), 1, lines.size(), stderr);
  std::fflush(stderr);
}

void PrintMessage(std::string_view utf8) {
  Print(platform::ConsoleText(utf8));
  Print("\n");
}

const char* const kPasMessage = "拡張子\".pas\"のファイルは指定できません";
const char* const kMissingMessage = "指定のファイルがありません。";
const char* const kMalformedMessage = "不思議な対象データがある。";

// Copies the constants file line by line. The end test follows the copy, so
// an empty file still gives one empty line. A UTF-8 byte-order mark at its
// start is dropped: the unit has its own, or none.
void WriteConstants(TWritePas& out, std::string constants) {
  bool hadMark = false;
  texts::TextReader reader(texts::SkipByteOrderMark(constants, hadMark));
  do {
    out.WriteLn(0, reader.ReadLine());
  } while (!reader.Eof());
}

// A `Tab` wider than this would make every generated line absurdly long (and
// a huge one exhausts memory); such a settings file is refused.
void CheckSettings(const TIniter& settings) {
  if (settings.Values().Tab > kMaxTab)
    throw std::runtime_error(platform::ConsolePath(settings.GetFileName()) + platform::ConsoleText(
        ": キー Tab の値 " + std::to_string(settings.Values().Tab) + " は 64 を超えています"));
}

// The message that refuses the definition file argument, or nullptr. On a file system that ignores
// case, or through a link, the unit's path may name one of the run's inputs; none is overwritten.
const char* Refusal(const std::string& definition, const std::string& exePath) {
  const std::string unitPath = platform::ChangeFileExt(definition, ".pas");
  if (platform::ExtractFileExt(definition) == ".pas") return kPasMessage;
  if (platform::KindOf(definition) != platform::PathKind::kRegular) return kMissingMessage;
  const std::string constantsPath = platform::ChangeFileExt(definition, ".const");
  for (const std::string& input : {definition, constantsPath, TIniter::FileNameFor(exePath), exePath})
    if (platform::SameFile(input, unitPath)) return kPasMessage;
  return nullptr;
}

}  // namespace

void WriteUnit(TWritePas& out, const TTyperList& list, std::string_view unitName,
               std::string_view useUnit, const std::string* constants) {
  if (list.HasByteOrderMark()) out.Write(0, texts::kUtf8ByteOrderMark);
  out.WriteLn(0, "unit ", unitName, ";");
  out.WriteLn(0, "interface");
  out.WriteLn(0, "uses");
  out.WriteLn(1, "SysUtils,");
  if (!useUnit.empty()) out.WriteLn(1, useUnit, ",");
  out.WriteLn(1, "IniFiles;");
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

int Run(const std::vector<std::string>& args, const std::string& exePath) {
  if (int code = ClassifySwitches(args)) {
    Print(HelpScreen(code, exePath));
    return kExitOk;
  }
  const std::string& definition = args.front();
  if (const char* refusal = Refusal(definition, exePath)) {
    PrintMessage(refusal);
    return kExitRefused;
  }
  const std::string unitPath = platform::ChangeFileExt(definition, ".pas");
  const std::string constantsPath = platform::ChangeFileExt(definition, ".const");

  TIniter settings(exePath);
  CheckSettings(settings);
  const TVocabulary vocabulary = TVocabulary::FromSettings(settings);

  // The unit is written beside its final name and replaces it only when the
  // whole run has succeeded, so a failure leaves an existing unit as it was.
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
  PrintDiagnostics(diagnostics, definition);
  if (loaded) {
    std::string constants;
    const bool hasConstants = platform::KindOf(constantsPath) == platform::PathKind::kRegular;
    const platform::ReadResult read =
        hasConstants ? platform::ReadRegularFile(constantsPath, constants) : platform::ReadResult{};
    if (!read.Ok())
      throw platform::FileError(constantsPath, platform::FileFailure::kRead, read.status.Text());
    WriteUnit(out, list, unitName, settings.Values().UseUnit,
              hasConstants ? &constants : nullptr);
    out.Flush();
  }
  settings.Destroy();
  if (!loaded) return kExitRefused;
  unitFile.Commit();
  return kExitOk;
}

int RunMain(const std::vector<std::string>& args, const std::string& exePath) {
  try {
    int code = Run(args, exePath);
    CheckOutput(platform::FlushStandardOutput());
    return code;
  } catch (const std::exception& e) {
    std::fflush(stdout);
    std::string report = e.what();
    report.push_back('\n');
    std::fwrite(report.data(), 1, report.size(), stderr);
    std::fflush(stderr);
    return kExitFailure;
  }
}
