#include "controls/zcintl_core.h"

#include <algorithm>
#include <utility>

namespace zelvo {

namespace {

constexpr char kLowerA = 'a';

bool IsAsciiLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }
char AsciiLower(char c) { return IsAsciiUpper(c) ? static_cast<char>(c - 'A' + kLowerA) : c; }
char AsciiUpper(char c) { return IsAsciiLower(c) ? static_cast<char>(c - kLowerA + 'A') : c; }

// First position at or after `from` whose letter is `lower` in either case.
size_t FindLetter(std::string_view text, char lower, size_t from = 0) {
  for (size_t i = from; i < text.size(); ++i) {
    if (AsciiLower(text[i]) == lower) return i;
  }
  return std::string_view::npos;
}

// End (exclusive) of the run of the same letter, case ignored, that starts at `start`.
size_t RunEnd(std::string_view text, size_t start) {
  char letter = AsciiLower(text[start]);
  size_t end = start;
  while (end < text.size() && AsciiLower(text[end]) == letter) ++end;
  return end;
}

// Lifts up to three quoted literals out of the long date format into slots f, g, h.
void LiftLiterals(std::string& picture, std::array<std::string, 3>& slots) {
  static constexpr char kPlaceholders[3] = {'f', 'g', 'h'};
  for (size_t slot = 0; slot < 3; ++slot) {
    size_t open = picture.find('\'');
    if (open == std::string::npos) return;
    picture.erase(open, 1);
    size_t close = picture.find('\'', open);
    if (close == std::string::npos) return;
    size_t length = close - open;
    size_t kept = std::min(length, TZcIntlSup::kSlotRoom);
    slots[slot] = picture.substr(open, kept);
    // The literal and its closing quote give way to `kept` placeholder letters.
    picture.replace(open, length + 1, kept, kPlaceholders[slot]);
  }
}

// The run of `letter` that begins the first occurrence of `triple` becomes a run
// of `replacement`.
void ReplaceRunAfter(std::string& picture, std::string_view triple, char replacement) {
  size_t pos = picture.find(triple);
  if (pos == std::string::npos) return;
  char letter = triple[0];
  for (size_t i = pos; i < picture.size() && picture[i] == letter; ++i) picture[i] = replacement;
}

// Puts a space after every "," or "." that is not already followed by one (also at the end).
void SpaceAfterPunctuation(std::string& picture) {
  for (size_t i = 0; i < picture.size(); ++i) {
    if ((picture[i] == ',' || picture[i] == '.') &&
        (i + 1 == picture.size() || picture[i + 1] != ' ')) {
      picture.insert(i + 1, 1, ' ');
    }
  }
}

std::string CutTo(std::string text, size_t room) {
  if (text.size() > room) text.resize(room);
  return text;
}

}  // namespace

TZcDateOrder NormalizeDateOrder(int value) {
  switch (value) {
    case 1:
      return TZcDateOrder::DayMonthYear;
    case 2:
      return TZcDateOrder::YearMonthDay;
    default:
      return TZcDateOrder::MonthDayYear;
  }
}

TZcLocaleSettings ReadZcLocaleSettings(const IZcIntlSource& source) {
  TZcLocaleSettings s;
  std::string separator = source.ProfileString("sDate", "");
  s.dateSeparator = separator.empty() ? '/' : separator[0];
  std::optional<std::string> registryShort = source.RegistryShortDate();
  s.shortDateFormat = registryShort ? *registryShort : source.ProfileString("sShortDate", "MM/dd/yy");
  s.longDateFormat = source.ProfileString("sLongDate", "dddd, MMMM dd, yyyy");
  std::string order = source.ProfileString("iDate", "0");
  // An empty value has no first character; it reads as out of range, hence month-day-year.
  s.dateOrder = order.empty() ? -1 : static_cast<unsigned char>(order[0]) - '0';
  for (int m = 1; m <= 12; ++m) {
    s.longMonthNames[static_cast<size_t>(m - 1)] = source.MonthName(m, false);
    s.shortMonthNames[static_cast<size_t>(m - 1)] = source.MonthName(m, true);
  }
  for (int d = 0; d < 7; ++d) {
    s.longDayNames[static_cast<size_t>(d)] = source.DayName(d, false);
    s.shortDayNames[static_cast<size_t>(d)] = source.DayName(d, true);
  }
  return s;
}

std::string UpperCaseAnsi1252(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    auto u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z') {
      u = static_cast<unsigned char>(u - 0x20);
    } else if (u >= 0xE0 && u <= 0xFE && u != 0xF7) {
      u = static_cast<unsigned char>(u - 0x20);
    } else if (u == 0x9A || u == 0x9C || u == 0x9E) {
      u = static_cast<unsigned char>(u - 0x10);
    } else if (u == 0xFF) {
      u = 0x9F;
    }
    c = static_cast<char>(u);
  }
  return out;
}

TZcIntlSup::TZcIntlSup(TZcLocaleSettings settings) : settings_(std::move(settings)) {
  if (settings_.dateSeparator == '\0') settings_.dateSeparator = '/';
  for (auto& name : settings_.longMonthNames) name = CutTo(std::move(name), kNameRoom);
  for (auto& name : settings_.shortMonthNames) name = CutTo(std::move(name), kNameRoom);
  for (auto& name : settings_.longDayNames) name = CutTo(std::move(name), kNameRoom);
  for (auto& name : settings_.shortDayNames) name = CutTo(std::move(name), kNameRoom);

  // Formats longer than the pictures' room are cut before they are converted, and the converted
  // pictures are cut again (the long one can grow by the spaces added after punctuation).
  shortPicture_ = CutTo(settings_.shortDateFormat, kShortPictureRoom);
  longPicture_ = CutTo(settings_.longDateFormat, kLongPictureRoom);
  if (settings_.dateSeparator != '/') {
    std::replace(shortPicture_.begin(), shortPicture_.end(), settings_.dateSeparator, '/');
  }
  LiftLiterals(longPicture_, slots_);
  ReplaceRunAfter(longPicture_, "ddd", 'w');
  ReplaceRunAfter(shortPicture_, "MMM", 'n');
  ReplaceRunAfter(longPicture_, "MMM", 'n');
  SpaceAfterPunctuation(longPicture_);
  shortPicture_ = CutTo(std::move(shortPicture_), kShortPictureRoom);
  longPicture_ = CutTo(std::move(longPicture_), kLongPictureRoom);
}

void AdjustPictureLetter(std::string& picture, char lowerLetter, size_t minWidth, bool changeCase) {
  char upperLetter = AsciiUpper(lowerLetter);
  size_t pos = picture.find(lowerLetter);
  if (pos == std::string::npos) pos = picture.find(upperLetter);
  if (pos == std::string::npos) return;
  char found = picture[pos];
  size_t n = RunEnd(picture, pos) - pos;
  if (n < minWidth) picture.insert(pos, minWidth - n, found);
  if (!changeCase) return;
  if (n == 1 && found == lowerLetter) {
    std::replace(picture.begin(), picture.end(), lowerLetter, upperLetter);
  } else if (n == 2 && found == upperLetter) {
    std::replace(picture.begin(), picture.end(), upperLetter, lowerLetter);
  }
}

std::string TZcIntlSup::InternationalDate(bool forceCentury) const {
  std::string picture = shortPicture_;
  AdjustPictureLetter(picture, 'd', 2, true);
  AdjustPictureLetter(picture, 'm', 2, true);
  AdjustPictureLetter(picture, 'y', forceCentury ? 4 : 2, false);
  return picture;
}

const std::string& TZcIntlSup::MonthName(int month, bool abbreviated) const {
  const auto& names = abbreviated ? settings_.shortMonthNames : settings_.longMonthNames;
  return names.at(static_cast<size_t>(month - 1));
}

const std::string& TZcIntlSup::DayName(int weekday, bool abbreviated) const {
  const auto& names = abbreviated ? settings_.shortDayNames : settings_.longDayNames;
  return names.at(static_cast<size_t>(weekday));
}

std::string TZcIntlSup::UpperCase(std::string_view text) const {
  return settings_.upperCase ? settings_.upperCase(text) : UpperCaseAnsi1252(text);
}

char TZcIntlSup::UpperChar(char ch) const {
  std::string one = UpperCase(std::string_view(&ch, 1));
  return one.size() == 1 ? one[0] : ch;
}

namespace {

// The first run of a letter (either case) in the picture as given: [start, end), or start npos.
struct Run {
  size_t start = std::string_view::npos;
  size_t end = std::string_view::npos;
};
Run FindRun(std::string_view picture, char letter) {
  Run r;
  r.start = FindLetter(picture, letter);
  if (r.start != std::string_view::npos) r.end = RunEnd(picture, r.start);
  return r;
}

// Fills a number run, from its last character backwards, with the value right-aligned; where the
// picture's letter is lower case, leading spaces become zeros.
void FillNumber(std::string& out, std::string_view picture, Run run, int value) {
  if (run.start == std::string_view::npos) return;
  std::string digits = std::to_string(value);
  size_t used = 0;
  for (size_t p = run.end; p-- > run.start; ++used) {
    char c = used < digits.size() ? digits[digits.size() - 1 - used] : ' ';
    if (c == ' ' && IsAsciiLower(picture[p])) c = '0';
    out[p] = c;
  }
}

}  // namespace

std::string TZcIntlSup::FormatDate(std::string_view picture, TStDate julian) const {
  std::string out(picture);
  bool valid = julian >= kMinDate && julian <= kMaxDate;
  if (!valid) {
    for (char& c : out) {
      char l = AsciiLower(c);
      if (l == 'm' || l == 'n' || l == 'd' || l == 'y' || l == 'w') c = ' ';
    }
  } else {
    int day, month, year;
    StDateToDMY(julian, day, month, year);
    // Every run is found in the picture as given: a name already written into the result may
    // hold picture letters (the month "Chwefror" has a "w") and must not be taken for a slot.
    const Run monthRun = FindRun(picture, 'm'), dayRun = FindRun(picture, 'd'), yearRun = FindRun(picture, 'y');
    const Run monthName = FindRun(picture, 'n'), dayName = FindRun(picture, 'w');
    FillNumber(out, picture, monthRun, month);
    FillNumber(out, picture, dayRun, day);
    FillNumber(out, picture, yearRun, year);
    auto fillName = [&](Run run, const std::string& name) {
      if (run.start == std::string_view::npos) return;
      for (size_t p = run.start; p < run.end; ++p) {
        size_t k = p - run.start;
        char c = k < name.size() ? name[k] : ' ';
        out[p] = IsAsciiUpper(picture[p]) ? UpperChar(c) : c;
      }
    };
    fillName(monthName, MonthName(month, false));
    fillName(dayName, DayName(DayOfWeek(julian), false));
  }
  std::replace(out.begin(), out.end(), '/', settings_.dateSeparator);
  // Literal slots: every run of a placeholder letter found in the picture itself (a name written
  // into the copy may hold the same letters and must stay).
  static constexpr char kPlaceholders[3] = {'f', 'g', 'h'};
  for (size_t s = 0; s < 3; ++s) {
    size_t pos = 0;
    while ((pos = FindLetter(picture, kPlaceholders[s], pos)) != std::string_view::npos) {
      size_t end = RunEnd(picture, pos);
      for (size_t p = pos; p < end; ++p) {
        size_t k = p - pos;
        out[p] = k < slots_[s].size() ? slots_[s][k] : ' ';
      }
      pos = end;
    }
  }
  return out;
}

}  // namespace zelvo
