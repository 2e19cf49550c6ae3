#include "framework/Menus_core.h"

#include <array>
#include <cctype>
#include <utility>

namespace zelvo {

namespace {

// Names of the keys that are neither letters, digits nor function keys.
constexpr std::array<std::pair<uint8_t, const char*>, 15> kKeyNames{{
    {0x08, "BkSp"}, {0x09, "Tab"}, {0x0D, "Enter"}, {0x1B, "Esc"}, {0x20, "Space"},
    {0x21, "PgUp"}, {0x22, "PgDn"}, {0x23, "End"}, {0x24, "Home"}, {0x25, "Left"},
    {0x26, "Up"}, {0x27, "Right"}, {0x28, "Down"}, {0x2D, "Ins"}, {0x2E, "Del"},
}};

std::string KeyName(uint8_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  if (key >= 0x70 && key <= 0x87) return "F" + std::to_string(key - 0x70 + 1);  // F1 to F24
  for (const auto& [code, name] : kKeyNames) {
    if (code == key) return name;
  }
  return {};
}

}  // namespace

std::string ShortCutToText(TShortCut shortCut) {
  std::string key = KeyName(static_cast<uint8_t>(shortCut & 0xFF));
  if (key.empty()) return {};
  std::string text;
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scAlt) text += "Alt+";
  return text + key;
}

char AcceleratorChar(std::string_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
  }
  return 0;
}

}  // namespace zelvo
