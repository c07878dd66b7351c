#include "settings/Tamsel_ini.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "platform/Paths.h"
#include "settings/Tamsel_Common.h"
#include "text/Ascii.h"

static_assert(std::ranges::all_of(kSettings, [](const TSetting& s) { return !s.text != !s.number; }),
              "every setting is either a string or an integer");

namespace {

// The keys of kSettings, in its order.
constexpr auto kSettingKeys = [] {
  std::array<std::string_view, kSettings.size()> keys;
  for (std::size_t i = 0; i < kSettings.size(); ++i) keys[i] = kSettings[i].key;
  return keys;
}();

// A stored integer setting, when there is one and it is an integer.
bool StoredNumber(const std::optional<std::string>& stored, std::int32_t& value) {
  return stored && texts::ParseInt32(*stored, texts::kProfileInteger, value);
}

}  // namespace

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
  const auto stored = ini.ReadKeys(section, kSettingKeys);
  for (std::size_t i = 0; i < kSettings.size(); ++i) {
    const TSetting& s = kSettings[i];
    const TSettingValues& defaults = DefaultSettingValues();
    if (s.text) FValues.*s.text = stored[i].value_or(defaults.*s.text);
    else if (!StoredNumber(stored[i], FValues.*s.number)) FValues.*s.number = defaults.*s.number;
  }
}

// What CheckWriteString and CheckWriteInteger do for each key, with one read and one write of the
// text.
void TOption::StoreProfile(TIniFileMine& ini, std::string_view section, bool missingOnly) const {
  const auto stored = ini.ReadKeys(section, kSettingKeys);
  std::vector<ProfileEntry> writes;
  for (std::size_t i = 0; i < kSettings.size(); ++i) {
    const TSetting& s = kSettings[i];
    std::int32_t number = 0;
    const bool same = stored[i] && (missingOnly || (s.text ? *stored[i] == FValues.*s.text
                                                           : StoredNumber(stored[i], number) &&
                                                                 number == FValues.*s.number));
    if (!same) writes.push_back({s.key, s.text ? FValues.*s.text : std::to_string(FValues.*s.number)});
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
