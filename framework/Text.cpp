#include "framework/Text.h"

#include <windows.h>

#include <climits>

namespace zelvo {

std::optional<std::string> WideToAnsi(std::wstring_view text) {
  if (text.empty()) return std::string();
  if (text.size() > static_cast<size_t>(INT_MAX)) return std::nullopt;
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::nullopt;
  std::string out(static_cast<size_t>(size), '\0');
  if (WideCharToMultiByte(CP_ACP, 0, text.data(), length, out.data(), size, nullptr, nullptr) != size) {
    return std::nullopt;
  }
  return out;
}

std::wstring AnsiToWide(std::string_view text) {
  if (text.empty() || text.size() > static_cast<size_t>(INT_MAX)) return {};
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (size <= 0) return {};
  std::wstring out(static_cast<size_t>(size), L'\0');
  if (MultiByteToWideChar(CP_ACP, 0, text.data(), length, out.data(), size) != size) return {};
  return out;
}

}  // namespace zelvo
