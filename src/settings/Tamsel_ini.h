// The generator's own settings: their table (key, kind, default, in file order), the settings
// class (TOption), the object that loads and stores them beside the executable (TIniter), and the
// run-wide vocabulary derived from them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class TIniFileMine;

/// The values of the thirteen settings.
struct TSettingValues {
  std::int32_t Tab = 0;
  std::string UseUnit, cTIniter, cCheck, cAll, cSelf, cFileName, cSection, cIniRead, cIniWrite,
      cInitial, cTIniFileMine, cSuper;
};

/// One setting: its INI key (the item name of its field), its default as the file would hold it,
/// and its value's place: `text` for a string setting, `number` for an integer one.
struct TSetting {
  const char* key;
  const char* initial;
  std::string TSettingValues::*text;
  std::int32_t TSettingValues::*number;
};

/// The thirteen settings, in the settings file's order.
inline constexpr std::array<TSetting, 13> kSettings{{
    {"Tab", "2", nullptr, &TSettingValues::Tab},
    {"UseUnit", "Tamsel_common", &TSettingValues::UseUnit, nullptr},
    {"cTIniter", "TIniter", &TSettingValues::cTIniter, nullptr},
    {"cCheck", "Check", &TSettingValues::cCheck, nullptr},
    {"cAll", "All", &TSettingValues::cAll, nullptr},
    {"cSelf", "Self", &TSettingValues::cSelf, nullptr},
    {"cFileName", "FFileName", &TSettingValues::cFileName, nullptr},
    {"cSection", "FSection", &TSettingValues::cSection, nullptr},
    {"cIniRead", "iniRead", &TSettingValues::cIniRead, nullptr},
    {"cIniWrite", "iniWrite", &TSettingValues::cIniWrite, nullptr},
    {"cInitial", "Initial", &TSettingValues::cInitial, nullptr},
    {"cTIniFileMine", "TIniFileMine", &TSettingValues::cTIniFileMine, nullptr},
    {"cSuper", "Super", &TSettingValues::cSuper, nullptr},
}};

/// The defaults of kSettings as values (the integer ones parsed).
const TSettingValues& DefaultSettingValues();

class TOption {
 public:
  TOption();
  virtual ~TOption() = default;

  /// Gives every setting its default value.
  virtual void Initial();
  void InitialSelf();
  void InitialSuper() {}

  const TSettingValues& Values() const { return FValues; }

  /// Sets every setting from `section`; a missing or unusable value gives the default.
  void LoadProfile(const TIniFileMine& ini, std::string_view section);
  /// Writes every setting whose stored value differs; with `missingOnly`, only those not stored.
  void StoreProfile(TIniFileMine& ini, std::string_view section, bool missingOnly = false) const;

 protected:
  TSettingValues FValues;
};

/// The settings as stored in `<executable>.ini`, section `<executable base name>`; creating it
/// loads the file.
class TIniter : public TOption {
 public:
  /// Derives the settings file and section from the executable's full path, then reads the file.
  explicit TIniter(const std::string& exePath);

  void Initial() override;
  void InitialSelf();

  /// The settings file of the executable at `exePath`.
  static std::string FileNameFor(const std::string& exePath);

  /// Loads every setting; throws platform::IoError for a file that may not be read.
  void iniRead();
  /// Stores every setting that differs, or, when someone else changed the file since it was read,
  /// only those now missing; throws platform::IoError when the file cannot be written.
  void iniWrite();
  /// Ends the object's use: stores the settings. Called by the run's tear-down rather than by the
  /// destructor, so that a failed store can be reported; a run that fails earlier skips it.
  void Destroy() { iniWrite(); }

  const std::string& GetFileName() const { return FFileName; }
  const std::string& GetSection() const { return FSection; }

 private:
  std::string exePath_;
  std::string loadedText_;  // the settings file as iniRead (or the last iniWrite) found it
  std::string FFileName;
  std::string FSection;
};

/// The run-wide values read by the loader and every emitter: the settings and their indent string.
struct TVocabulary : TSettingValues {
  std::string Indent;  ///< `Tab` spaces; empty for a width of 0 or less

  TVocabulary();  ///< the defaults
  /// Copies the settings and derives the indent string from `Tab`.
  static TVocabulary FromSettings(const TOption& settings);

 private:
  explicit TVocabulary(const TSettingValues& values);
};
