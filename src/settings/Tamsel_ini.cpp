#include "settings/Tamsel_ini.h"

#include <algorithm>
#include <stdexcept>

#include "platform/Ascii.h"
#include "platform/Paths.h"
#include "settings/Tamsel_Common.h"

static_assert(std::ranges::all_of(kSettings,
                                  [](const TSetting& s) {
                                    return (s.text == nullptr) != (s.number == nullptr);
                                  }),
              "every setting is either a string or an integer");

// A default that does not parse is a mistake in kSettings, not in the user's file.
const TSettingValues& DefaultSettingValues() {
  static const TSettingValues defaults = [] {
    TSettingValues v;
    for (const TSetting& s : kSettings) {
      if (s.text) v.*s.text = s.initial;
      else if (!platform::ParseInt32(s.initial, platform::kProfileInteger, v.*s.number))
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
    if (s.number) FValues.*s.number = ini.ReadInteger(section, s.key, defaults.*s.number);
    else FValues.*s.text = ini.ReadString(section, s.key, defaults.*s.text);
  }
}

void TOption::StoreProfile(TIniFileMine& ini, std::string_view section) const {
  for (const TSetting& s : kSettings) {
    if (s.number) ini.CheckWriteInteger(section, s.key, FValues.*s.number);
    else ini.CheckWriteString(section, s.key, FValues.*s.text);
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

void TIniter::InitialSelf() {
  FFileName = platform::ChangeFileExt(exePath_, ".ini");
  FSection = platform::ChangeFileExt(platform::ExtractFileName(exePath_), "");
}

void TIniter::iniRead() { LoadProfile(TIniFileMine(FFileName), FSection); }

// The file is read once and replaced at most once, and only when a stored
// value differs.
void TIniter::iniWrite() {
  TIniFileMine ini(FFileName);
  StoreProfile(ini, FSection);
  ini.UpdateFile();
}

TVocabulary::TVocabulary() : TVocabulary(DefaultSettingValues()) {}

TVocabulary::TVocabulary(const TSettingValues& values)
    : TSettingValues(values),
      Indent(values.Tab > 0 ? static_cast<std::size_t>(values.Tab) : 0, ' ') {}

TVocabulary TVocabulary::FromSettings(const TOption& settings) {
  return TVocabulary(settings.Values());
}
