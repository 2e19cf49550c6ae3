#include "util/IniFile.h"

namespace zelvo {

std::string_view TrimText(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return text.substr(b, e - b);
}

bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string SettingsText(std::string_view bytes, const TWideToAnsi& toAnsi) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (bytes.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) return std::string(bytes.substr(3));
  if (bytes.size() < 2) return std::string(bytes);
  const bool little = byte(0) == 0xFF && byte(1) == 0xFE;
  const bool big = byte(0) == 0xFE && byte(1) == 0xFF;
  if (!little && !big) return std::string(bytes);
  std::u16string wide;
  wide.reserve((bytes.size() - 2) / 2);
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const unsigned lo = little ? byte(i) : byte(i + 1);
    const unsigned hi = little ? byte(i + 1) : byte(i);
    wide.push_back(static_cast<char16_t>(lo | (hi << 8)));
  }
  return toAnsi(wide);
}

TIniFile::TIniFile(std::string_view content) {
  Section* current = nullptr;
  size_t pos = 0;
  while (pos <= content.size()) {
    size_t end = content.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = content.size();
    std::string_view line = TrimText(content.substr(pos, end - pos));
    // CR LF, LF and CR each end a line.
    pos = end + 1;
    if (end < content.size() && content[end] == '\r' && pos < content.size() && content[pos] == '\n') ++pos;

    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      sections_.push_back(Section{std::string(TrimText(line.substr(1, line.size() - 2))), {}});
      current = &sections_.back();
      continue;
    }
    if (current == nullptr) continue;  // lines before the first section
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    current->values.emplace_back(std::string(TrimText(line.substr(0, eq))),
                                 std::string(TrimText(line.substr(eq + 1))));
  }
}

const TIniFile::Section* TIniFile::Find(std::string_view section) const {
  for (const Section& s : sections_) {
    if (SameTextAscii(s.name, section)) return &s;
  }
  return nullptr;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 const std::string& defaultValue) const {
  if (const Section* s = Find(section)) {
    for (const auto& [k, v] : s->values) {
      if (SameTextAscii(k, key)) return v;
    }
  }
  return defaultValue;
}

bool TIniFile::SectionExists(std::string_view section) const { return Find(section) != nullptr; }

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
  if (const Section* s = Find(section)) {
    for (const auto& kv : s->values) {
      if (SameTextAscii(kv.first, key)) return true;
    }
  }
  return false;
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  if (const Section* s = Find(section)) {
    for (const auto& kv : s->values) keys.push_back(kv.first);
  }
  return keys;
}

}  // namespace zelvo
