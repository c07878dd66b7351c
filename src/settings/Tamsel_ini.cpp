#include "settings/Tamsel_ini.h"

#include <algorithm>
#include <stdexcept>

#include "platform/Paths.h"
#include "settings/Tamsel_Common.h"
#include "text/Ascii.h"

static_assert(std::ranges::all_of(kSettings, [](const TSetting& s) { return !s.text != !s.number; }),
              "every setting is either a string or an integer");

// A default that does not parse is a mistake in kSettings, not in the user's file.
const TSettingValues& DefaultSettingValues() {
  static const TSettingValues defaults = [] {
    TSettingValues v;
    for (const TSetting& s : kSettings) {
      if (s.text) v.*s.text = s.initial;
      else if (!texts::ParseInt32(s.initial, texts::kProfileInteger, v.*s.number))
        throw std::logic_error(std::string("bad default for setting ") + s.key);
    }
    return v;
  }();
  return defaults;
}

TOption::TOption() { InitialSelf(); }

void TOption::Initial() {
  InitialSelf();
  InitialSuper();
}

void TOption::InitialSelf() { FValues = DefaultSettingValues(); }

void TOption::LoadProfile(const TIniFileMine& ini, std::string_view section) {
  const TSettingValues& defaults = DefaultSettingValues();
  for (const TSetting& s : kSettings) {
    if (s.text) FValues.*s.text = ini.ReadString(section, s.key, defaults.*s.text);
    else FValues.*s.number = ini.ReadInteger(section, s.key, defaults.*s.number);
  }
}

void TOption::StoreProfile(TIniFileMine& ini, std::string_view section, bool missingOnly) const {
  for (const TSetting& s : kSettings) {
    std::string stored;
    if (missingOnly && ProfileLookup(ini.Text(), section, s.key, stored)) continue;
    if (s.text) ini.CheckWriteString(section, s.key, FValues.*s.text);
    else ini.CheckWriteInteger(section, s.key, FValues.*s.number);
  }
}

TIniter::TIniter(const std::string& exePath) : exePath_(exePath) {
  InitialSelf();
  iniRead();
}

void TIniter::Initial() {
  TOption::Initial();
  InitialSelf();
}

std::string TIniter::FileNameFor(const std::string& exePath) {
  return platform::ChangeFileExt(exePath, ".ini");
}

void TIniter::InitialSelf() {
  FFileName = FileNameFor(exePath_);
  FSection = platform::ChangeFileExt(platform::ExtractFileName(exePath_), "");
}

void TIniter::iniRead() {
  TIniFileMine ini(FFileName);
  LoadProfile(ini, FSection);
  loadedText_ = ini.TakeText();
}

// The file is read once and replaced at most once, and only when a stored value differs. When
// someone else changed it since it was read, their values stand: only missing keys are added.
void TIniter::iniWrite() {
  TIniFileMine ini(FFileName);
  StoreProfile(ini, FSection, ini.Text() != loadedText_);
  ini.UpdateFile();
  loadedText_ = ini.TakeText();
}

TVocabulary::TVocabulary() : TVocabulary(DefaultSettingValues()) {}

TVocabulary::TVocabulary(const TSettingValues& values)
    : TSettingValues(values), Indent(values.Tab > 0 ? static_cast<std::size_t>(values.Tab) : 0, ' ') {}

TVocabulary TVocabulary::FromSettings(const TOption& settings) {
  return TVocabulary(settings.Values());
}
