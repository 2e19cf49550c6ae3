// Any bytes as a settings file: the reader must neither crash nor read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "util/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // As the program reads it: a byte-order mark first decides how the text is decoded.
  std::string text = zelvo::SettingsText(bytes, [](std::u16string_view wide) {
    std::string out;
    for (char16_t c : wide) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
  });
  zelvo::TIniFile ini(text);
  (void)ini.ReadString("General", "SKU", "");
  (void)ini.ReadString("general", "url", "x");
  (void)ini.ReadSection("General");
  return 0;
}
