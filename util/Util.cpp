#include "util/Util.h"

#include <cmath>
#include <stdexcept>

#include "util/Exceptions.h"

namespace zelvo {

std::string ProgramDir;

std::string DoubleAmpersands(std::string text) {
  // Walking backwards means an inserted "&" is never looked at again.
  for (size_t i = text.size(); i-- > 0;) {
    if (text[i] == '&') text.insert(i, 1, '&');
  }
  return text;
}

char AcceleratorChar(std::string_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return caption[i + 1];
    ++i;  // "&&": a plain ampersand
  }
  return 0;
}

std::string RemoveChar(std::string text, char ch) {
  // Positions are counted in 16 bits: only the first 65,535 characters are examined.
  size_t limit = text.size() < 65535 ? text.size() : 65535;
  for (size_t i = limit; i-- > 0;) {
    if (text[i] == ch) text.erase(i, 1);
  }
  return text;
}

std::string RemoveChars(std::string text, std::string_view set) {
  size_t limit = set.size() < 65535 ? set.size() : 65535;
  for (size_t i = 0; i < limit; ++i) text = RemoveChar(std::move(text), set[i]);
  return text;
}

std::string RemoveSpaces(std::string text) { return RemoveChar(std::move(text), ' '); }

int32_t MaxOf(std::span<const int32_t> values) {
  if (values.empty()) throw std::invalid_argument("MaxOf needs at least one value");
  // The count is carried in 16 bits: at most 65,536 values take part.
  size_t n = values.size() < 65536 ? values.size() : 65536;
  int32_t best = values[0];
  for (size_t i = 1; i < n; ++i) {
    if (values[i] > best) best = values[i];
  }
  return best;
}

int32_t MaxOf(std::initializer_list<int32_t> values) {
  return MaxOf(std::span<const int32_t>(values.begin(), values.size()));
}

int32_t RoundOff(long double x) {
  long double whole = std::trunc(x);
  long double frac = x - whole;
  long double r;
  if (frac == 0.5L) {
    r = whole + 1;
  } else if (frac == -0.5L) {
    r = whole - 1;
  } else {
    r = std::nearbyint(x);  // default rounding mode: to nearest
  }
  // The result is the low 32 bits of the 64-bit integer; values outside that range are clamped
  // before conversion so the conversion itself is defined.
  if (!(r > -9.2e18L && r < 9.2e18L)) r = 0;
  auto wide = static_cast<int64_t>(r);
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(wide)));
}

int LastPos(std::string_view sub, std::string_view text) {
  if (sub.empty() || text.empty()) return 0;
  size_t p = text.rfind(sub);
  return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

bool EndsWithChar(char ch, std::string_view text) {
  return LastPos(std::string_view(&ch, 1), text) == static_cast<int>(text.size());
}

std::string TrimBackslash(std::string text) {
  if (text.size() > 3 && text.back() == '\\') text.pop_back();
  return text;
}

static size_t LastSeparator(const std::string& path) { return path.find_last_of("\\:"); }

std::string ExtractFilePath(const std::string& path) {
  size_t p = LastSeparator(path);
  return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string ExtractFileName(const std::string& path) {
  size_t p = LastSeparator(path);
  return p == std::string::npos ? path : path.substr(p + 1);
}

std::string ChangeFileExt(const std::string& path, std::string_view ext) {
  size_t nameStart = LastSeparator(path);
  nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
  size_t dot = path.rfind('.');
  std::string result = (dot != std::string::npos && dot >= nameStart) ? path.substr(0, dot) : path;
  result.append(ext);
  return result;
}

std::string PathJoin(const std::string& fileName, const std::string& dir) {
  if (fileName.find_first_of("\\:") != std::string::npos) return fileName;
  if (EndsWithChar('\\', dir)) return dir + fileName;
  return dir + "\\" + fileName;
}

std::string FileInDir(const std::string& path, const std::string& dir) {
  return PathJoin(ExtractFileName(path), dir);
}

std::string ProgramDirFile(const std::string& path) { return FileInDir(path, ProgramDir); }

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string ReadWholeText(const TFillBuffer& fill, uint32_t maxLength) {
  // The classic path limit first: nearly every answer fits at once.
  uint32_t size = 260;
  for (;;) {
    if (size > maxLength) size = maxLength;
    std::string buffer(size, '\0');
    const uint32_t n = fill(buffer.data(), size);
    if (n < size) {
      buffer.resize(n);
      return buffer;
    }
    if (size >= maxLength) throw Exception("The text is longer than " + std::to_string(maxLength) + " characters");
    size = size > maxLength / 2 ? maxLength : size * 2;
  }
}

}  // namespace zelvo
