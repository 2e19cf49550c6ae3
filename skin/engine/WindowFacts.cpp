#include "skin/engine/WindowFacts.h"

#include <algorithm>
#include <cctype>

namespace zelvo {

std::string WindowClassName(HWND window) {
  char buf[101] = {};
  const int n = GetClassNameA(window, buf, sizeof buf);
  return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

std::string LowerClassName(std::string_view name) {
  std::string s(name);
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string WindowText(HWND window, int limit) {
  std::string text(static_cast<size_t>(limit) + 1, '\0');
  const int n = GetWindowTextA(window, text.data(), limit + 1);
  text.resize(static_cast<size_t>(std::max(0, n)));
  return text;
}

}  // namespace zelvo
