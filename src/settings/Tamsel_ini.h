// The generator's own settings (TOption), the object that loads and stores
// them beside the executable (TIniter), and the run-wide vocabulary derived
// from them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TIniFileMine;

class TOption {
 public:
  TOption();
  virtual ~TOption() = default;

  /// Gives every setting its default value.
  virtual void Initial();
  void InitialSelf();
  void InitialSuper() {}

  std::int32_t GetTab() const { return FTab; }
  const std::string& GetUseUnit() const { return FUseUnit; }
  const std::string& GetcTIniter() const { return FcTIniter; }
  const std::string& GetcCheck() const { return FcCheck; }
  const std::string& GetcAll() const { return FcAll; }
  const std::string& GetcSelf() const { return FcSelf; }
  const std::string& GetcFileName() const { return FcFileName; }
  const std::string& GetcSection() const { return FcSection; }
  const std::string& GetcIniRead() const { return FcIniRead; }
  const std::string& GetcIniWrite() const { return FcIniWrite; }
  const std::string& GetcInitial() const { return FcInitial; }
  const std::string& GetcTIniFileMine() const { return FcTIniFileMine; }
  const std::string& GetcSuper() const { return FcSuper; }

  void SetSelfTab(std::int32_t value) { FTab = value; }

  /// Sets every setting from section `section` of the settings file; a
  /// missing or unusable value gives the setting's default.
  void LoadProfile(const TIniFileMine& ini, std::string_view section);

  /// One string setting: its key, where it lives and its default.
  struct StringSetting {
    const char* key;
    std::string TOption::*field;
    const char* initial;
  };
  /// The string settings in file order (they follow `Tab`).
  static const StringSetting kStringSettings[12];
  static constexpr const char* kTabKey = "Tab";
  static constexpr std::int32_t kTabInitial = 2;

 protected:
  std::int32_t FTab;
  std::string FUseUnit;
  std::string FcTIniter;
  std::string FcCheck;
  std::string FcAll;
  std::string FcSelf;
  std::string FcFileName;
  std::string FcSection;
  std::string FcIniRead;
  std::string FcIniWrite;
  std::string FcInitial;
  std::string FcTIniFileMine;
  std::string FcSuper;
};

/// The settings as stored in `<executable>.ini`, section `<executable base
/// name>`. Creating it loads the file; iniWrite stores what differs.
class TIniter : public TOption {
 public:
  /// `exePath` is the executable's full path; the settings file and section
  /// are derived from it, then the file is read.
  explicit TIniter(const std::string& exePath);

  void Initial() override;
  void InitialSelf();

  /// Loads every setting; missing keys keep their defaults.
  void iniRead();
  /// Stores every setting whose stored value differs; throws
  /// platform::IoError when the file cannot be written.
  void iniWrite();
  /// Ends the object's use: stores the settings once more (nothing is
  /// written when they are unchanged). Called by the run's tear-down rather
  /// than from the C++ destructor, so that a failed store can be reported;
  /// a run that fails earlier ends without it.
  void Destroy() { iniWrite(); }

  const std::string& GetFileName() const { return FFileName; }
  const std::string& GetSection() const { return FSection; }

 private:
  std::string exePath_;
  std::string FFileName;
  std::string FSection;
};

/// The run-wide values read by the loader and every emitter.
struct TVocabulary {
  std::string Indent = "  ";  ///< `Tab` spaces; empty for a width of 0 or less
  std::string cTIniter = "TIniter";
  std::string cCheck = "Check";
  std::string cAll = "All";
  std::string cSelf = "Self";
  std::string cFileName = "FFileName";
  std::string cSection = "FSection";
  std::string cIniRead = "iniRead";
  std::string cIniWrite = "iniWrite";
  std::string cInitial = "Initial";
  std::string cTIniFileMine = "TIniFileMine";
  std::string cSuper = "Super";

  /// Copies the indent width and the eleven names from the settings.
  static TVocabulary FromSettings(const TOption& settings);
};
