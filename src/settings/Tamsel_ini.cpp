#include "settings/Tamsel_ini.h"

#include <algorithm>
#include <array>
#include <vector>
#include <stdexcept>

#include "text/Ascii.h"
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

namespace {

// The keys of kSettings, in its order.
const std::array<std::string_view, kSettings.size()>& SettingKeys() {
  static const auto keys = [] {
    std::array<std::string_view, kSettings.size()> k;
    for (std::size_t i = 0; i < kSettings.size(); ++i) k[i] = kSettings[i].key;
    return k;
  }();
  return keys;
}

}  // namespace

void TOption::LoadProfile(const TIniFileMine& ini, std::string_view section) {
  const TSettingValues& defaults = DefaultSettingValues();
  const auto stored = ini.ReadKeys(section, SettingKeys());
  for (std::size_t i = 0; i < kSettings.size(); ++i) {
    const TSetting& s = kSettings[i];
    if (s.text) {
      FValues.*s.text = stored[i] ? *stored[i] : defaults.*s.text;
    } else if (!stored[i] || !texts::ParseInt32(*stored[i], texts::kProfileInteger, FValues.*s.number)) {
      FValues.*s.number = defaults.*s.number;
    }
  }
}

// What CheckWriteString and CheckWriteInteger do for each key, with one read
// and one write of the text.
void TOption::StoreProfile(TIniFileMine& ini, std::string_view section, bool missingOnly) const {
  const auto stored = ini.ReadKeys(section, SettingKeys());
  std::vector<ProfileEntry> writes;
  for (std::size_t i = 0; i < kSettings.size(); ++i) {
    const TSetting& s = kSettings[i];
    const std::string value = s.text ? FValues.*s.text : std::to_string(FValues.*s.number);
    bool same = stored[i].has_value();
    if (same && !missingOnly) {
      std::int32_t number = 0;
      same = s.text ? *stored[i] == value
                    : texts::ParseInt32(*stored[i], texts::kProfileInteger, number) &&
                          number == FValues.*s.number;
    }
    if (!same) writes.push_back({s.key, value});
  }
  ini.WriteKeys(section, writes);
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

// The file is read once and replaced at most once, and only when a stored
// value differs. When someone else changed it since it was read, their
// values stand: only keys that are now missing are added.
void TIniter::iniWrite() {
  TIniFileMine ini(FFileName);
  StoreProfile(ini, FSection, ini.Text() != loadedText_);
  ini.UpdateFile();
  loadedText_ = ini.TakeText();
}

TVocabulary::TVocabulary() : TVocabulary(DefaultSettingValues()) {}

TVocabulary::TVocabulary(const TSettingValues& values)
    : TSettingValues(values),
      Indent(values.Tab > 0 ? static_cast<std::size_t>(values.Tab) : 0, ' ') {}

TVocabulary TVocabulary::FromSettings(const TOption& settings) {
  return TVocabulary(settings.Values());
}
