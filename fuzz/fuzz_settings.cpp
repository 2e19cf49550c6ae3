// Any bytes as a settings file: the reader must neither crash nor read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "util/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  zelvo::TIniFile ini(text);
  (void)ini.ReadString("General", "SKU", "");
  (void)ini.ReadString("general", "url", "x");
  (void)ini.ReadSection("General");
  return 0;
}
