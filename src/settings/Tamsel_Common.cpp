#include "settings/Tamsel_Common.h"

#include <vector>

#include "platform/Ascii.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

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

std::vector<ProfileLine> SplitProfile(std::string_view text) {
  std::vector<ProfileLine> lines;
  std::size_t pos = 0;
  // A UTF-8 byte-order mark belongs to no line; it stays in front of the first.
  if (text.starts_with(platform::kUtf8ByteOrderMark)) pos = platform::kUtf8ByteOrderMark.size();
  std::size_t first = pos;
  while (pos < text.size()) {
    std::size_t lf = text.find('\n', pos);
    bool hasEnd = lf != std::string_view::npos;
    std::size_t contentEnd = hasEnd ? lf : text.size();
    std::string_view content = text.substr(pos, contentEnd - pos);
    // CRs before the line end belong to it (a stray one too, as Windows reads
    // it), never to the value.
    while (!content.empty() && content.back() == '\r') content.remove_suffix(1);
    std::string_view body = Trim(content);
    ProfileLine line{pos == first ? 0 : pos, hasEnd ? lf + 1 : text.size(), hasEnd, body.empty(),
                     LineKind::kOther, {}, {}};
    if (!body.empty() && body.front() == '[') {
      std::size_t close = body.find(']');
      line.kind = LineKind::kSection;
      line.name = Trim(body.substr(1, close == std::string_view::npos ? body.size() - 1 : close - 1));
    } else if (!body.empty() && body.front() != ';') {
      std::size_t eq = body.find('=');
      if (eq != std::string_view::npos) {
        line.kind = LineKind::kKey;
        line.name = Trim(body.substr(0, eq));
        line.value = Trim(body.substr(eq + 1));
      }
    }
    lines.push_back(line);
    pos = line.next;
  }
  return lines;
}

// Index of the key line `key` in the first section named `section`, or -1.
// `lastOfSection` receives the last non-blank line of that section (its
// header when it holds nothing), or -1 when there is no such section. Like
// Windows, only the first section of a name is used.
long FindKey(const std::vector<ProfileLine>& lines, std::string_view section, std::string_view key,
             long* lastOfSection) {
  long last = -1;
  std::size_t i = 0;
  while (i < lines.size() && !(lines[i].kind == LineKind::kSection && platform::SameTextAscii(lines[i].name, section)))
    ++i;
  if (i < lines.size()) last = static_cast<long>(i++);
  long found = -1;
  for (; last >= 0 && i < lines.size() && lines[i].kind != LineKind::kSection; ++i) {
    if (!lines[i].blank) last = static_cast<long>(i);
    if (found < 0 && lines[i].kind == LineKind::kKey && platform::SameTextAscii(lines[i].name, key))
      found = static_cast<long>(i);
  }
  if (lastOfSection) *lastOfSection = last;
  return found;
}

}  // namespace

bool ProfileLookup(std::string_view text, std::string_view section, std::string_view key,
                   std::string& value) {
  std::vector<ProfileLine> lines = SplitProfile(text);
  long at = FindKey(lines, section, key, nullptr);
  if (at < 0) return false;
  std::string_view v = lines[static_cast<std::size_t>(at)].value;
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  if (v.size() > kProfileValueMax) v = v.substr(0, kProfileValueMax);
  value.assign(v);
  return true;
}

namespace {

// Ends a last line that has no line end, before something is appended. A CR
// already there becomes part of the CR LF, so the line's text stays as it
// was read.
void EndLine(std::string& out) { out.append(out.back() == '\r' ? "\n" : "\r\n"); }

}  // namespace

std::string ProfileUpdate(std::string_view text, std::string_view section, std::string_view key,
                          std::string_view value) {
  std::vector<ProfileLine> lines = SplitProfile(text);
  long last = -1;
  long at = FindKey(lines, section, key, &last);
  std::string out;
  out.reserve(text.size() + section.size() + key.size() + value.size() + 8);
  if (at >= 0) {
    const ProfileLine& line = lines[static_cast<std::size_t>(at)];
    // The key keeps its spelling; the line gets the new value.
    out.append(text.substr(0, line.begin));
    out.append(line.name).append("=").append(value).append("\r\n");
    out.append(text.substr(line.next));
    return out;
  }
  if (last >= 0) {
    const ProfileLine& line = lines[static_cast<std::size_t>(last)];
    out.append(text.substr(0, line.next));
    if (!line.hasLineEnd) EndLine(out);
    out.append(key).append("=").append(value).append("\r\n");
    out.append(text.substr(line.next));
    return out;
  }
  out.append(text);
  if (!text.empty() && text.back() != '\n') EndLine(out);
  out.append("[").append(section).append("]\r\n");
  out.append(key).append("=").append(value).append("\r\n");
  return out;
}

TIniFileMine::TIniFileMine(std::string fileName) : fileName_(std::move(fileName)) {
  // A missing file holds nothing; one that exists but cannot be read holds
  // nothing we may overwrite.
  readable_ = platform::ReadWholeFile(fileName_, text_) || !platform::PathExists(fileName_);
  if (!readable_) text_.clear();
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
  return ProfileLookup(text_, section, key, text) && platform::ParseInt32(text, platform::kProfileInteger, value) ? value : def;
}

void TIniFileMine::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
  text_ = ProfileUpdate(text_, section, key, value);
  changed_ = true;
}

void TIniFileMine::WriteInteger(std::string_view section, std::string_view key,
                                std::int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFileMine::CheckWriteString(std::string_view section, std::string_view key,
                                    std::string_view value) {
  std::string def(value);
  def.push_back('1');
  if (ReadString(section, key, def) != value) WriteString(section, key, value);
}

void TIniFileMine::CheckWriteInteger(std::string_view section, std::string_view key,
                                     std::int32_t value) {
  auto def = static_cast<std::int32_t>(static_cast<std::uint32_t>(value) + 1u);
  if (ReadInteger(section, key, def) != value) WriteInteger(section, key, value);
}

void TIniFileMine::UpdateFile() {
  if (!changed_) return;
  const auto cannotWrite = [this] {
    return platform::FileError(fileName_, platform::FileFailure::kWrite, {});
  };
  if (!readable_ || fileName_.empty()) throw cannotWrite();
  try {
    platform::ReplacementFile out(fileName_);
    out.Write(text_);
    out.Commit();
  } catch (const platform::IoError&) {
    throw cannotWrite();
  }
  changed_ = false;
}
