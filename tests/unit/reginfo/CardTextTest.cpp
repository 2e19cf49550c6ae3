#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CardFakes.h"
#include "reginfo/CardLayout.h"
#include "util/Exceptions.h"

using namespace zelvo;
using namespace zelvo::test;
using Lines = std::vector<std::string>;

namespace {

// 60 units a character, so a 600-wide column holds 10 characters.
Lines Break(std::string_view text, int32_t maxWidth = 600) {
  RecordingCanvas canvas;
  canvas.SetFontSize(12);
  return BreakCommentLines(canvas, text, maxWidth);
}

TEST(CommentLines, LongLinesBreakAfterTheirLastFittingBlank) {
  EXPECT_EQ(Break("aaaa bbbb cccc"), (Lines{"aaaa bbbb ", "cccc"}));
  EXPECT_EQ(Break("aaaa bbbb      cc"), (Lines{"aaaa bbbb ", "cc"}));  // the next line drops its blanks
  EXPECT_EQ(Break("abcdefghij"), (Lines{"abcdefghij"}));               // exactly the column's width
  EXPECT_EQ(Break("abcdefghij klm"), (Lines{"abcdefghij", "klm"}));
}

TEST(CommentLines, AWordWiderThanTheColumnIsCutAfterItsLongestFittingPrefix) {
  EXPECT_EQ(Break("abcdefghijklmn"), (Lines{"abcdefghij", "klmn"}));
  EXPECT_EQ(Break("ab abcdefghijklmnopqrstuvwxyz"), (Lines{"ab ", "abcdefghij", "klmnopqrst", "uvwxyz"}));
}

TEST(CommentLines, ACharacterWiderThanTheColumnStillProgresses) {
  EXPECT_EQ(Break("ab", 50), (Lines{"a", "b"}));
  EXPECT_EQ(Break("a b", 0), (Lines{"a", "b"}));
  EXPECT_EQ(Break("xy", -5), (Lines{"x", "y"}));
}

TEST(CommentLines, TypedLineBreaksEndTheLine) {
  EXPECT_EQ(Break("one\r\ntwo"), (Lines{"one", "two"}));
  EXPECT_EQ(Break("one \r\ntwo"), (Lines{"one ", "two"}));
  EXPECT_EQ(Break("a\r\n\r\n\r\nb"), (Lines{"a", "", "", "b"}));
  EXPECT_EQ(Break("a\nb\rc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(Break("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(Break("\r\n"), (Lines{""}));
  EXPECT_EQ(Break("   "), (Lines{""}));
  EXPECT_EQ(Break(""), (Lines{}));
  // A long typed line still wraps, and its wrap does not swallow the typed break after it.
  EXPECT_EQ(Break("aaaa bbbb cccc\r\ndd"), (Lines{"aaaa bbbb ", "cccc", "dd"}));
}

TEST(CommentLines, WidthsComeFromTheCanvasCurrentFont) {
  RecordingCanvas canvas;
  canvas.SetFontSize(24);  // characters 120 wide
  EXPECT_EQ(BreakCommentLines(canvas, "aaaa bbbb", 600), (Lines{"aaaa ", "bbbb"}));
}

std::string Row(int32_t dashWidth, int32_t overhang, int32_t pageWidth) {
  RecordingCanvas canvas;
  canvas.SetFontSize(12);
  canvas.charWidths['-'] = dashWidth;
  canvas.overhang = overhang;
  return DashRow(canvas, pageWidth);
}

TEST(DashRow, IsTheLongestRunNarrowerThanThePage) {
  EXPECT_EQ(Row(35, 0, 4800).size(), 137u);  // 137 x 35 = 4795
  EXPECT_EQ(Row(40, 0, 4800).size(), 119u);  // 120 x 40 reaches 4800 exactly: one dash shorter
  EXPECT_EQ(Row(35, 7, 4800).size(), 136u);  // 137 x 35 + 7 = 4802
  EXPECT_EQ(Row(60, 0, 100).size(), 1u);
  EXPECT_EQ(Row(60, 0, 60).size(), 0u);
  EXPECT_EQ(Row(60, 0, 1).size(), 0u);
  EXPECT_EQ(Row(35, 0, 4800), std::string(137, '-'));
}

TEST(DashRow, ADashWithNoWidthIsAnErrorNotAHang) {
  EXPECT_THROW(Row(0, 0, 4800), Exception);
}

}  // namespace
