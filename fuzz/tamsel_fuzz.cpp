// libFuzzer target: settings text and definition text, in memory, through
// the whole generation. The input is the settings file's text, a NUL byte,
// then the definition file's text (no NUL: the whole input is a definition
// and the settings are the defaults).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/Tamsel.h"
#include "check/Tamsel_Check.h"
#include "check/Tamsel_Diagnostics.h"
#include "model/Tamsel_TyperList.h"
#include "settings/Tamsel_Common.h"
#include "settings/Tamsel_ini.h"
#include "writer/Tamsel_WritePas.h"

namespace {

constexpr std::size_t kMaxInput = 1 << 16;

// Keeps only the size and the last bytes of the unit: a large unit is not
// held in memory.
class TailSink : public TTextSink {
 public:
  void Put(std::string_view bytes) override {
    size_ += bytes.size();
    tail_.append(bytes);
    if (tail_.size() > 64) tail_.erase(0, tail_.size() - 64);
  }
  std::size_t Size() const { return size_; }
  const std::string& Tail() const { return tail_; }

 private:
  std::size_t size_ = 0;
  std::string tail_;
};

void Require(bool ok) {
  if (!ok) std::abort();
}

// Updating a key must make it read back as written and leave another key's
// value alone.
void CheckProfileUpdate(std::string_view settings) {
  std::string before, after;
  const bool had = ProfileLookup(settings, "Tamsel", "cSelf", before);
  const std::string updated = ProfileUpdate(settings, "Tamsel", "Tab", "7");
  std::string tab;
  Require(ProfileLookup(updated, "Tamsel", "Tab", tab) && tab == "7");
  Require(ProfileLookup(updated, "tamsel", "cself", after) == had);
  if (had) Require(after == before);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  const std::string_view settings = nul == std::string_view::npos ? std::string_view() : input.substr(0, nul);
  const std::string_view definition = nul == std::string_view::npos ? input : input.substr(nul + 1);

  CheckProfileUpdate(settings);

  TOption options;
  options.LoadProfile(TIniFileMine::FromText(settings), "Tamsel");
  if (options.Values().Tab > 64) return 0;  // the run refuses such settings
  const TVocabulary vocabulary = TVocabulary::FromSettings(options);
  TTyperList list(false, vocabulary);
  // Every finding with a place points into the definition text.
  TDiagnostics diagnostics;
  const bool loaded = list.LoadText(definition);
  if (loaded)
    CheckDefinition(list, vocabulary, "fuzz", diagnostics);
  else
    ReportLoadFailure(list, vocabulary, diagnostics);
  const auto lines = static_cast<std::size_t>(std::count(definition.begin(), definition.end(), '\n'));
  for (const TDiagnostic& item : diagnostics.Items())
    Require(item.place.line <= lines + 1 && (item.place.line == 0) == (item.place.column == 0));
  Require(loaded || diagnostics.Items().size() == 1);
  diagnostics.Format("fuzz.txt");
  if (!loaded) return 0;

  TailSink sink;
  TWritePas out(sink, vocabulary.Indent);
  try {
    WriteUnit(out, list, "fuzz", options.Values().UseUnit, nullptr);
  } catch (const std::runtime_error&) {
    return 0;  // a boolean initial value that is no integer
  }
  out.Flush();
  Require(sink.Tail().size() >= 6 && sink.Tail().substr(sink.Tail().size() - 6) == "end.\r\n");
  return 0;
}
