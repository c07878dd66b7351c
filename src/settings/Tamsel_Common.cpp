#include "settings/Tamsel_Common.h"

#include <optional>

#include "platform/Platform.h"
#include "text/Ascii.h"
#include "text/TextFile.h"

namespace {

enum class LineKind { kOther, kSection, kKey };

// One line of profile text: where its bytes are and what it holds.
struct ProfileLine {
  std::size_t begin;  // first byte of the line
  std::size_t next;   // first byte after its line end
  bool hasLineEnd;
  bool blank;  // nothing but spaces and tabs
  LineKind kind;
  std::string_view name;   // section name, or key name as written (trimmed)
  std::string_view value;  // key value (trimmed, quotes still on)
};

// The line that starts at `pos`.
ProfileLine ReadProfileLine(std::string_view text, std::size_t pos) {
  const std::size_t lf = text.find('\n', pos);
  const bool hasEnd = lf != std::string_view::npos;
  std::string_view content = text.substr(pos, (hasEnd ? lf : text.size()) - pos);
  // CRs before the line end belong to it (a stray one too, as Windows reads it), never to the value.
  while (!content.empty() && content.back() == '\r') content.remove_suffix(1);
  const std::string_view body = texts::TrimBlanks(content);
  ProfileLine line{pos, hasEnd ? lf + 1 : text.size(), hasEnd, body.empty(), LineKind::kOther, {}, {}};
  const std::size_t eq = body.find('=');
  if (body.starts_with('[')) {
    line.kind = LineKind::kSection;
    line.name = texts::TrimBlanks(body.substr(1, body.find(']') - 1));
  } else if (!body.starts_with(';') && eq != std::string_view::npos) {
    line.kind = LineKind::kKey;
    line.name = texts::TrimBlanks(body.substr(0, eq));
    line.value = texts::TrimBlanks(body.substr(eq + 1));
  }
  return line;
}

// Where `key` stands in the first section named `section` (only the first of a name counts, as
// with Windows), and where a new key would go.
struct SectionScan {
  bool found = false;         // the section exists
  std::size_t end = 0;        // after its last non-blank line (its header when it holds nothing)
  bool endHasLineEnd = true;  // whether that line has its line end
  std::optional<ProfileLine> key;  // the key's first line in the section
};

SectionScan ScanSection(std::string_view text, std::string_view section, std::string_view key) {
  SectionScan scan;
  // A UTF-8 byte-order mark belongs to no line; it stays in front of the first.
  std::size_t pos = text.starts_with(texts::kUtf8ByteOrderMark) ? texts::kUtf8ByteOrderMark.size() : 0;
  while (pos < text.size() && !scan.found) {
    const ProfileLine line = ReadProfileLine(text, pos);
    pos = line.next;
    scan.found = line.kind == LineKind::kSection && texts::SameTextAscii(line.name, section);
    scan.end = line.next;
    scan.endHasLineEnd = line.hasLineEnd;
  }
  while (scan.found && pos < text.size()) {
    const ProfileLine line = ReadProfileLine(text, pos);
    if (line.kind == LineKind::kSection) break;
    pos = line.next;
    if (!line.blank) {
      scan.end = line.next;
      scan.endHasLineEnd = line.hasLineEnd;
    }
    if (!scan.key && line.kind == LineKind::kKey && texts::SameTextAscii(line.name, key)) scan.key = line;
  }
  return scan;
}

// A key's value as a read gives it: without one matching pair of quotes around it, and cut to
// the longest value a read returns.
std::string ValueOf(const ProfileLine& line) {
  std::string_view v = line.value;
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return std::string(v.substr(0, kProfileValueMax));
}

// Ends a last line that has no line end, before something is appended. A CR already there becomes
// part of the CR LF, so the line's text stays as it was read.
void EndLine(std::string& out) { out.append(out.back() == '\r' ? "\n" : "\r\n"); }

}  // namespace

bool ProfileLookup(std::string_view text, std::string_view section, std::string_view key,
                   std::string& value) {
  const SectionScan scan = ScanSection(text, section, key);
  if (scan.key) value = ValueOf(*scan.key);
  return scan.key.has_value();
}

std::string ProfileUpdate(std::string_view text, std::string_view section, std::string_view key,
                          std::string_view value) {
  const SectionScan scan = ScanSection(text, section, key);
  std::string out;
  out.reserve(text.size() + section.size() + key.size() + value.size() + 8);
  // An existing key gets its new value in place, keeping its spelling.
  if (scan.key) {
    out.append(text.substr(0, scan.key->begin));
    out.append(scan.key->name).append("=").append(value).append("\r\n");
    return out.append(text.substr(scan.key->next));
  }
  // A new key follows the section's last line that is not blank; a new section goes to the end
  // of the text.
  const std::size_t at = scan.found ? scan.end : text.size();
  out.append(text.substr(0, at));
  if (!scan.found) {
    if (!text.empty() && text.back() != '\n') EndLine(out);
    out.append("[").append(section).append("]\r\n");
  } else if (!scan.endHasLineEnd && out.back() != '\n') {
    EndLine(out);
  }
  out.append(key).append("=").append(value).append("\r\n");
  return out.append(text.substr(at));
}

TIniFileMine::TIniFileMine(std::string fileName) : fileName_(std::move(fileName)) {
  // A missing file holds nothing yet; one that cannot be read holds nothing we may overwrite.
  const platform::ReadResult read = platform::ReadRegularFile(fileName_, text_);
  if (read.outcome == platform::ReadStatus::kNotRegular)
    throw platform::FileError(fileName_, platform::FileFailure::kNotRegular, {});
  if (read.outcome == platform::ReadStatus::kFailed) readError_ = read.status.Text();
  if (text_.starts_with("\xFF\xFE") || text_.starts_with("\xFE\xFF"))
    throw platform::IoError(platform::ConsolePath(fileName_) +
                            platform::ConsoleText(" は UTF-16 で保存されています。Shift-JIS か UTF-8 で保存し直してください"));
}

TIniFileMine TIniFileMine::FromText(std::string_view text) {
  TIniFileMine ini;
  ini.text_.assign(text);
  return ini;
}

std::string TIniFileMine::ReadString(std::string_view section, std::string_view key,
                                     std::string_view def) const {
  std::string value;
  return ProfileLookup(text_, section, key, value) ? value : std::string(def);
}

std::int32_t TIniFileMine::ReadInteger(std::string_view section, std::string_view key,
                                       std::int32_t def) const {
  std::string text;
  std::int32_t value;
  return ProfileLookup(text_, section, key, text) && texts::ParseInt32(text, texts::kProfileInteger, value)
             ? value
             : def;
}

void TIniFileMine::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  text_ = ProfileUpdate(text_, section, key, value);
  changed_ = true;
}

void TIniFileMine::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFileMine::CheckWriteString(std::string_view section, std::string_view key,
                                    std::string_view value) {
  if (ReadString(section, key, std::string(value) + "1") != value) WriteString(section, key, value);
}

void TIniFileMine::CheckWriteInteger(std::string_view section, std::string_view key,
                                     std::int32_t value) {
  const auto def = static_cast<std::int32_t>(static_cast<std::uint32_t>(value) + 1u);
  if (ReadInteger(section, key, def) != value) WriteInteger(section, key, value);
}

void TIniFileMine::UpdateFile() {
  if (!changed_) return;
  if (!readError_.empty() || fileName_.empty())
    throw platform::FileError(fileName_, platform::FileFailure::kWrite, readError_);
  platform::ReplacementFile out(fileName_, platform::FileFailure::kWrite);
  out.Write(text_);
  out.Commit();
  changed_ = false;
}
