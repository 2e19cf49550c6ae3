#include "reginfo/CardLayout.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "util/Exceptions.h"
#include "util/Util.h"

namespace zelvo {

namespace {

int32_t ToDeviceUnits(int64_t value) {
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
    throw Exception("The registration card does not fit the printer's coordinate range.");
  }
  return static_cast<int32_t>(value);
}

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// Breaks one typed line (no CR or LF in it) into printed lines.
void BreakTypedLine(CardCanvas& canvas, std::string_view typed, int32_t maxWidth,
                    std::vector<std::string>& lines) {
  if (typed.empty()) {
    lines.emplace_back();  // a blank line the user typed stays on the card
    return;
  }
  size_t pos = 0;  // start of the text still to be placed
  while (pos < typed.size()) {
    std::string line;
    int32_t width = 0;
    while (pos < typed.size() && width <= maxWidth) {
      const char c = typed[pos++];
      if (c == ' ' && line.empty()) continue;  // no blanks at the start of a line
      line.push_back(c);
      width = canvas.TextWidth(line);
    }
    if (width > maxWidth) {
      // Too wide: give characters back until the line ends with a blank. The line is always a
      // contiguous piece of the typed text ending at pos, so giving back is stepping pos back.
      const size_t k = line.size();
      do {
        line.pop_back();
        --pos;
      } while (!line.empty() && line.back() != ' ');
      if (line.empty()) {
        // One word wider than the column: cut it after its longest fitting prefix. At least one
        // character is taken, so a single over-wide character cannot stall the breaking.
        const size_t take = std::max<size_t>(k - 1, 1);
        line.assign(typed.substr(pos, take));
        pos += take;
      }
    }
    lines.push_back(std::move(line));
  }
}

}  // namespace

std::vector<std::string> BreakCommentLines(CardCanvas& canvas, std::string_view text, int32_t maxWidth) {
  maxWidth = std::max<int32_t>(maxWidth, 0);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      BreakTypedLine(canvas, text.substr(start), maxWidth, lines);
      break;
    }
    BreakTypedLine(canvas, text.substr(start, end - start), maxWidth, lines);
    const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    start = end + (crlf ? 2 : 1);
  }
  return lines;
}

std::string DashRow(CardCanvas& canvas, int32_t pageWidth) {
  const int32_t dashWidth = canvas.TextWidth("-");
  if (dashWidth <= 0) throw Exception("The printer's font gives a dash no width; the card cannot be laid out.");
  // The row is the longest run of dashes narrower than the page: grow from empty until the width
  // reaches the page, then drop the last dash. Starting a little short of the estimate instead of
  // from empty gives the same row with a handful of measurements rather than one per dash.
  const size_t estimate = pageWidth > 0 ? static_cast<size_t>(pageWidth / dashWidth) : 0;
  std::string row(estimate >= 2 ? estimate - 2 : 0, '-');
  while (!row.empty() && canvas.TextWidth(row) >= pageWidth) row.pop_back();
  while (canvas.TextWidth(row) < pageWidth) {
    row.push_back('-');
    // Every dash adds at least one unit, so a longer row means the measurements are not growing.
    if (row.size() > static_cast<size_t>(pageWidth) + 1) {
      throw Exception("The printer's font measures a row of dashes inconsistently; the card cannot be laid out.");
    }
  }
  if (!row.empty()) row.pop_back();
  return row;
}

bool IsUnitedStates(const std::string& country) {
  const std::string key = RemoveSpaces(UpperAscii(country));
  return key == "USA" || key == "U.S.A." || key == "UNITEDSTATES";
}

const std::vector<std::string>& DestinationLines(bool americas) {
  static const std::vector<std::string> kAmericas = {
      "Zelvo Corporation", "Customer Service Dept.", "2150 Lakeside Boulevard", "Madison, WI  53703", "USA"};
  static const std::vector<std::string> kEurope = {
      "Zelvo Europe, Ltd.", "Unit 7, Mill Lane", "Brookfield Industrial Estate",
      "Thornbury, Gloucestershire  BS35 9ZZ", "United Kingdom"};
  return americas ? kAmericas : kEurope;
}

CardMetrics MeasureCard(CardCanvas& canvas, int32_t pageWidth, int32_t pageHeight) {
  canvas.SetFontName(kCardFontName);
  canvas.SetFontSize(kCardBaseFontSize);
  canvas.SetFontStyle(kCardFontPlain);
  const CardTextSize x = canvas.TextExtent("X");
  return CardMetrics{pageWidth, pageHeight, x.cx, x.cy};
}

CardLayout::CardLayout(CardCanvas& canvas, const CardMetrics& metrics) : canvas_(canvas), metrics_(metrics) {
  if (metrics.W <= 0 || metrics.H <= 0 || metrics.W > kMaxCardPageSide || metrics.H > kMaxCardPageSide) {
    throw Exception("The printer reports a printable area of " + std::to_string(metrics.W) + " by " +
                    std::to_string(metrics.H) + " units; the registration card cannot be printed on it.");
  }
  if (metrics.cx <= 0 || metrics.cy <= 0 || metrics.cx > kMaxCardPageSide || metrics.cy > kMaxCardPageSide) {
    throw Exception("The printer's font measures " + std::to_string(metrics.cx) + " by " +
                    std::to_string(metrics.cy) + " units; the registration card cannot be printed with it.");
  }
}

void CardLayout::Put(int64_t x, int64_t y, const std::string& text) {
  canvas_.TextOutAt(ToDeviceUnits(x), ToDeviceUnits(y), text);
}

void CardLayout::PrintAll(const CardAnswers& answers, CardQuestions& questions) {
  PrintAnswers(answers);
  PrintFoldMarks();
  PrintSenderBlock(answers);
  PrintDestinationBlock(questions);
  PrintStampBox();
}

void CardLayout::PrintField(const std::string& label, const std::string& value) {
  if (value.empty()) return;
  Put(2 * int64_t{metrics_.cx}, int64_t{metrics_.cy} * (n_ + 1), label + ": " + value);
  ++n_;
}

void CardLayout::PrintCommentLine(const std::string& line) {
  Put(metrics_.W / 2, int64_t{metrics_.cy} * (int64_t{n_} + 2), line);
  if (n_ == std::numeric_limits<int32_t>::max()) throw Exception("The comments are too long to print.");
  ++n_;
}

void CardLayout::PrintAnswers(const CardAnswers& a) {
  const int64_t cx = metrics_.cx, cy = metrics_.cy;
  canvas_.SetFontSize(kCardTitleFontSize);
  canvas_.SetFontStyle(kCardFontUnderline);
  Put(2 * cx, 0, kCardTitle);
  canvas_.SetFontSize(kCardBaseFontSize);
  canvas_.SetFontStyle(kCardFontPlain);

  n_ = 1;
  PrintField("Product", a.product);
  PrintField("Age", a.age);
  PrintField("Sex", a.sexIndex == 0 ? "M" : a.sexIndex == 1 ? "F" : "");
  PrintField("Phone", a.phone);
  PrintField("E-mail", a.email);
  PrintField("Where purchased", a.purchased);
  PrintField("Store Type", a.storeType);
  PrintField("Date purchased", a.datePurchased);
  PrintField("Computer type", a.computerType);
  PrintField("Operating system", a.os);
  PrintField("RAM", a.ram);

  if (a.comments.empty()) return;
  const int32_t column = metrics_.W / 2;
  Put(column, 2 * cy, "Comments:");
  // Measured with the base font, which is current again since the title.
  const std::vector<std::string> lines = BreakCommentLines(canvas_, a.comments, column);
  n_ = 1;
  for (const std::string& line : lines) PrintCommentLine(line);
}

void CardLayout::PrintFoldMarks() {
  const int64_t W = metrics_.W, H = metrics_.H, cy = metrics_.cy;
  const std::string row = DashRow(canvas_, metrics_.W);
  Put(0, H / 3, row);
  Put(0, 2 * H / 3 + 2 * cy, row);

  const std::string fold1 = "1. Fold away from you here";
  Put((W - canvas_.TextWidth(fold1)) / 2, H / 3 - cy, fold1);
  const std::string fold2 = "2. Fold away from you here";
  Put((W - canvas_.TextWidth(fold2)) / 2, 2 * H / 3 + 3 * cy, fold2);

  const std::string seal = "-- 3. Seal edges together --";
  const CardTextSize size = canvas_.TextExtent(seal);
  Put((W - size.cx) / 2, H - size.cy, seal);
}

void CardLayout::PrintSenderLine(const std::string& text) {
  if (text.empty()) return;
  Put(2 * int64_t{metrics_.cx}, metrics_.H / 3 + int64_t{metrics_.cy} * (n_ + 1), text);
  ++n_;
}

void CardLayout::PrintSenderBlock(const CardAnswers& a) {
  n_ = 1;
  PrintSenderLine(a.name);
  PrintSenderLine(a.address1);
  PrintSenderLine(a.address2);
  PrintSenderLine(a.city + ", " + a.state + "  " + a.postalCode);
  if (!IsUnitedStates(a.country)) PrintSenderLine(a.country);
}

void CardLayout::PrintDestinationLine(const std::string& text) {
  if (text.empty()) return;
  Put(2 * int64_t{metrics_.W} / 5, metrics_.H / 3 + int64_t{metrics_.cy} * (n_ + 9), text);
  ++n_;
}

void CardLayout::PrintDestinationBlock(CardQuestions& questions) {
  bool americas = false;
  for (;;) {
    americas = questions.Confirm(kAmericasQuestion);
    if (questions.ConfirmDefaultNo(americas ? kAmericasConfirmYes : kAmericasConfirmNo)) break;
  }
  n_ = 1;
  for (const std::string& line : DestinationLines(americas)) PrintDestinationLine(line);
}

void CardLayout::PrintStampWord(const std::string& word, int32_t m) {
  const int64_t W = metrics_.W, cx = metrics_.cx;
  const int64_t width = canvas_.TextWidth(word);
  Put(W - 2 * cx - 10 - m + (m - width) / 2, metrics_.H / 3 + 10 + int64_t{metrics_.cy} * (n_ + 1), word);
  ++n_;
}

void CardLayout::PrintStampBox() {
  const int64_t W = metrics_.W, H = metrics_.H, cx = metrics_.cx, cy = metrics_.cy;
  const int32_t m = MaxOf({canvas_.TextWidth("Place"), canvas_.TextWidth("Stamp"), canvas_.TextWidth("Here")});
  canvas_.Rectangle(ToDeviceUnits(W - 2 * cx - 20 - m), ToDeviceUnits(H / 3 + 2 * cy),
                    ToDeviceUnits(W - 2 * cx), ToDeviceUnits(H / 3 + 5 * cy + 20));
  n_ = 1;
  PrintStampWord("Place", m);
  PrintStampWord("Stamp", m);
  PrintStampWord("Here", m);
}

void PrintCard(CardPrinter& printer, CardQuestions& questions, const CardAnswers& answers) {
  printer.BeginDoc();  // nothing to undo if this fails
  try {
    CardCanvas& canvas = printer.Canvas();
    const CardMetrics metrics = MeasureCard(canvas, printer.PageWidth(), printer.PageHeight());
    CardLayout layout(canvas, metrics);
    layout.PrintAll(answers, questions);
    printer.EndDoc();
  } catch (...) {
    // No partial card: discard the document. The failure the user sees is the original one, so a
    // second failure while aborting is not allowed to replace it.
    try {
      printer.Abort();
    } catch (...) {
    }
    throw;
  }
}

}  // namespace zelvo
