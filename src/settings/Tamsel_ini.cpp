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

void TOption::LoadProfile(const TIniFileMine& ini, std::string_view section) {
  SetSelfTab(ini.ReadInteger(section, kTabKey, kTabInitial));
  for (const StringSetting& s : kStringSettings)
    this->*s.field = ini.ReadString(section, s.key, s.initial);
}

void TIniter::iniRead() { LoadProfile(TIniFileMine(FFileName), FSection); }

// The file is read once and replaced at most once, and only when a stored
// value differs.
void TIniter::iniWrite() {
  TIniFileMine ini(FFileName);
  ini.CheckWriteInteger(FSection, kTabKey, FTab);
  for (const StringSetting& s : kStringSettings) ini.CheckWriteString(FSection, s.key, this->*s.field);
  ini.UpdateFile();
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
