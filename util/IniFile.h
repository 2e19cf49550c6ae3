// Reader for INI-form settings text. Parsing is portable; the caller supplies the file's bytes.
// Rules: lines are trimmed of blanks and control characters; empty lines and lines starting with
// ";" are skipped; "[name]" opens a section; lines before the first section are ignored; other
// lines split at their first "=" into a trimmed key and a trimmed value. Section and key names
// match without regard to letter case; the first occurrence wins.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelvo {

class TIniFile {
 public:
  // Largest settings text the program accepts; anything bigger is not a settings file.
  static constexpr size_t kMaxSize = 1024 * 1024;

  TIniFile() = default;
  explicit TIniFile(std::string_view content);

  std::string ReadString(std::string_view section, std::string_view key,
                         const std::string& defaultValue) const;
  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  // Keys of a section in file order (first section of that name).
  std::vector<std::string> ReadSection(std::string_view section) const;

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;
  };
  const Section* Find(std::string_view section) const;
  std::vector<Section> sections_;
};

// Turns UTF-16 text into text in the program's code page (the Windows layer converts with the
// system; characters the code page lacks become its default character).
using TWideToAnsi = std::function<std::string(std::u16string_view)>;

// The settings text of a file's bytes, as editors save it: a UTF-8 byte-order mark is dropped
// (the rest is read as it is); a UTF-16 file with its mark (little- or big-endian) is converted
// through `toAnsi`, a lone last byte ignored; anything else is already text in the code page.
std::string SettingsText(std::string_view bytes, const TWideToAnsi& toAnsi);

// Trims leading and trailing blanks and control characters (bytes up to 32).
std::string_view TrimText(std::string_view text);
bool SameTextAscii(std::string_view a, std::string_view b);

}  // namespace zelvo
