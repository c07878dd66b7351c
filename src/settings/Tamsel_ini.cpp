#include "settings/Tamsel_ini.h"

#include "platform/Paths.h"
#include "settings/Tamsel_Common.h"

const TOption::StringSetting TOption::kStringSettings[12] = {
    {"UseUnit", &TOption::FUseUnit, "Tamsel_common"},
    {"cTIniter", &TOption::FcTIniter, "TIniter"},
    {"cCheck", &TOption::FcCheck, "Check"},
    {"cAll", &TOption::FcAll, "All"},
    {"cSelf", &TOption::FcSelf, "Self"},
    {"cFileName", &TOption::FcFileName, "FFileName"},
    {"cSection", &TOption::FcSection, "FSection"},
    {"cIniRead", &TOption::FcIniRead, "iniRead"},
    {"cIniWrite", &TOption::FcIniWrite, "iniWrite"},
    {"cInitial", &TOption::FcInitial, "Initial"},
    {"cTIniFileMine", &TOption::FcTIniFileMine, "TIniFileMine"},
    {"cSuper", &TOption::FcSuper, "Super"},
};

TOption::TOption() : FTab(kTabInitial) { InitialSelf(); }

void TOption::Initial() {
  InitialSelf();
  InitialSuper();
}

void TOption::InitialSelf() {
  FTab = kTabInitial;
  for (const StringSetting& s : kStringSettings) this->*s.field = s.initial;
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

void TOption::LoadProfile(std::string_view text, std::string_view section) {
  std::string value;
  std::int32_t tab = kTabInitial;
  if (!ProfileLookup(text, section, kTabKey, value) || !ParseProfileInt(value, tab)) tab = kTabInitial;
  SetSelfTab(tab);
  for (const StringSetting& s : kStringSettings)
    this->*s.field = ProfileLookup(text, section, s.key, value) ? value : std::string(s.initial);
}

// The file is read once; every key then comes from its text, as reading key
// by key would give.
void TIniter::iniRead() { LoadProfile(ReadProfileText(FFileName), FSection); }

// Writes what writing only the changed keys one by one would, from one read
// of the file and with at most one replacement of it.
void TIniter::iniWrite() {
  const std::string original = ReadProfileText(FFileName);
  std::string text = original;
  std::string stored;
  std::int32_t storedTab;
  if (!ProfileLookup(text, FSection, kTabKey, stored) || !ParseProfileInt(stored, storedTab) ||
      storedTab != FTab)
    text = ProfileUpdate(text, FSection, kTabKey, std::to_string(FTab));
  for (const StringSetting& s : kStringSettings) {
    const std::string& value = this->*s.field;
    if (!ProfileLookup(text, FSection, s.key, stored) || stored != value)
      text = ProfileUpdate(text, FSection, s.key, value);
  }
  if (text != original) WriteProfileText(FFileName, text);
}

TVocabulary TVocabulary::FromSettings(const TOption& settings) {
  TVocabulary v;
  v.Indent.assign(settings.GetTab() > 0 ? static_cast<std::size_t>(settings.GetTab()) : 0, ' ');
  v.cTIniter = settings.GetcTIniter();
  v.cCheck = settings.GetcCheck();
  v.cAll = settings.GetcAll();
  v.cSelf = settings.GetcSelf();
  v.cFileName = settings.GetcFileName();
  v.cSection = settings.GetcSection();
  v.cIniRead = settings.GetcIniRead();
  v.cIniWrite = settings.GetcIniWrite();
  v.cInitial = settings.GetcInitial();
  v.cTIniFileMine = settings.GetcTIniFileMine();
  v.cSuper = settings.GetcSuper();
  return v;
}
