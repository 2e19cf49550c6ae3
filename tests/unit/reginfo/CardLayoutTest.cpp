#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CardFakes.h"
#include "reginfo/CardLayout.h"
#include "util/Exceptions.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {

const std::string kAskAmericas = "Confirm: Do you live in North, Central, or South America?";
const std::string kSureYes =
    "ConfirmDefaultNo: You answered that you live in North, Central, or South America.  Are you sure?";
const std::string kSureNo =
    "ConfirmDefaultNo: You answered that you DO NOT live in North, Central,  or South America.  Are you sure?";

CardAnswers FullAnswers() {
  CardAnswers a;
  a.product = "Zelvo Paint";
  a.age = "34";
  a.sexIndex = 1;
  a.phone = "555-0142";
  a.email = "jane@example.com";
  a.purchased = "Corner Shop";
  a.storeType = "Hobby";
  a.datePurchased = "3/14/2024";
  a.computerType = "Desktop";
  a.os = "Windows 10";
  a.ram = "16384 MB";
  a.comments = "The new brushes are great and the layers panel is much faster now.\r\nThanks!";
  a.name = "Jane Q. Public";
  a.address1 = "12 Elm Street";
  a.address2 = "Apt 4";
  a.city = "Toronto";
  a.state = "ON";
  a.postalCode = "M5V 2T6";
  a.country = "Canada";
  return a;
}

// The page laid out on a 4800 x 6000 printable area with "X" 60 x 100 and a stamp box 300 wide.
TEST(CardPage, WorkedPageDrawsEveryCallInOrder) {
  FakePrinter printer(4800, 6000);
  printer.canvas.textWidths["Here"] = 200;  // "Place" and "Stamp" are 5 x 60 = 300 wide
  ScriptedQuestions questions({true, true});
  PrintCard(printer, questions, FullAnswers());

  const std::string dashes(79, '-');  // 80 dashes would reach the 4800 width
  const std::vector<std::string> expected = {
      "begin doc",
      "font Arial", "size 12", "style none", "extent X",
      // title and answers
      "size 20", "style underline", "text 120,0 Zelvo Product Registration", "size 12", "style none",
      "text 120,200 Product: Zelvo Paint",
      "text 120,300 Age: 34",
      "text 120,400 Sex: F",
      "text 120,500 Phone: 555-0142",
      "text 120,600 E-mail: jane@example.com",
      "text 120,700 Where purchased: Corner Shop",
      "text 120,800 Store Type: Hobby",
      "text 120,900 Date purchased: 3/14/2024",
      "text 120,1000 Computer type: Desktop",
      "text 120,1100 Operating system: Windows 10",
      "text 120,1200 RAM: 16384 MB",
      // comments: a 2400-wide column holds 40 characters
      "text 2400,200 Comments:",
      "text 2400,300 The new brushes are great and the ",
      "text 2400,400 layers panel is much faster now.",
      "text 2400,500 Thanks!",
      // fold marks
      "text 0,2000 " + dashes,
      "text 0,4200 " + dashes,
      "text 1620,1900 1. Fold away from you here",
      "text 1620,4300 2. Fold away from you here",
      "extent -- 3. Seal edges together --",
      "text 1560,5900 -- 3. Seal edges together --",
      // sender
      "text 120,2200 Jane Q. Public",
      "text 120,2300 12 Elm Street",
      "text 120,2400 Apt 4",
      "text 120,2500 Toronto, ON  M5V 2T6",
      "text 120,2600 Canada",
      // destination
      "text 1920,3000 Zelvo Corporation",
      "text 1920,3100 Customer Service Dept.",
      "text 1920,3200 2150 Lakeside Boulevard",
      "text 1920,3300 Madison, WI  53703",
      "text 1920,3400 USA",
      // stamp box
      "rect 4360,2200,4680,2520",
      "text 4370,2210 Place",
      "text 4370,2310 Stamp",
      "text 4420,2410 Here",
      "end doc",
  };
  EXPECT_EQ(printer.canvas.calls, expected);
  EXPECT_EQ(questions.asked, (std::vector<std::string>{kAskAmericas, kSureYes}));
}

// Odd page sides make "2H div 3" differ from "2 (H div 3)" and "2W div 5" from "2 (W div 5)".
TEST(CardPage, SecondPageSizeUsesTheFormulasNotTheWorkedNumbers) {
  RecordingCanvas canvas;
  canvas.charWidth = 25;
  canvas.lineHeight = 50;
  canvas.textWidths = {{"Place", 250}, {"Stamp", 320}, {"Here", 180}};
  const CardMetrics m = MeasureCard(canvas, 2553, 3302);
  EXPECT_EQ(m.cx, 25);
  EXPECT_EQ(m.cy, 50);
  CardLayout layout(canvas, m);
  CardAnswers a;
  a.sexIndex = 0;
  a.comments = "Hi";
  a.name = "Al";
  ScriptedQuestions q({false, true});
  layout.PrintAll(a, q);

  const std::string dashes(102, '-');  // 102 x 25 = 2550 < 2553, 103 dashes reach it
  const std::vector<std::string> expected = {
      "font Arial", "size 12", "style none", "extent X",
      "size 20", "style underline", "text 50,0 Zelvo Product Registration", "size 12", "style none",
      "text 50,100 Sex: M",
      "text 1276,100 Comments:",
      "text 1276,150 Hi",
      "text 0,1100 " + dashes,
      "text 0,2301 " + dashes,  // 6604 div 3 = 2201, + 2cy
      "text 951,1050 1. Fold away from you here",  // (2553 - 650) div 2
      "text 951,2351 2. Fold away from you here",
      "extent -- 3. Seal edges together --",
      "text 926,3252 -- 3. Seal edges together --",
      "text 50,1200 Al",
      "text 50,1250 ,   ",
      "text 1021,1600 Zelvo Europe, Ltd.",  // 5106 div 5
      "text 1021,1650 Unit 7, Mill Lane",
      "text 1021,1700 Brookfield Industrial Estate",
      "text 1021,1750 Thornbury, Gloucestershire  BS35 9ZZ",
      "text 1021,1800 United Kingdom",
      "rect 2163,1200,2503,1370",  // m = 320 (Stamp)
      "text 2208,1210 Place",      // 2173 + (320 - 250) div 2
      "text 2173,1260 Stamp",
      "text 2243,1310 Here",
  };
  EXPECT_EQ(canvas.calls, expected);
}

TEST(CardPage, EmptyAnswersPrintOnlyTheTitleInTheTopThirdAndABareCityLine) {
  RecordingCanvas canvas;
  CardLayout layout(canvas, MeasureCard(canvas, 4800, 6000));
  CardAnswers a;  // all empty, "Decline to state"
  ScriptedQuestions q({true, true});
  layout.PrintAll(a, q);

  std::vector<std::string> top;
  for (const std::string& c : canvas.calls) {
    if (c.rfind("text ", 0) != 0) continue;
    const int y = std::stoi(c.substr(c.find(',') + 1));
    if (y < 2000 - 100) top.push_back(c);
  }
  EXPECT_EQ(top, std::vector<std::string>{"text 120,0 Zelvo Product Registration"});
  const std::vector<std::string> texts = canvas.Texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Comments:"), 0);
  // The city line is the only sender line, so it stands on the first sender row.
  EXPECT_NE(std::find(canvas.calls.begin(), canvas.calls.end(), "text 120,2200 ,   "), canvas.calls.end());
  EXPECT_EQ(std::count_if(canvas.calls.begin(), canvas.calls.end(),
                          [](const std::string& c) { return c.rfind("text 120,", 0) == 0; }),
            2);  // the title and the city line
}

TEST(CardPage, SkippedAnswersLeaveNoGapAndSexFollowsTheSelectedItem) {
  struct Case {
    int32_t index;
    const char* line;
  } cases[] = {{0, "Sex: M"}, {1, "Sex: F"}, {2, nullptr}, {-1, nullptr}};
  for (const Case& c : cases) {
    RecordingCanvas canvas;
    CardLayout layout(canvas, MeasureCard(canvas, 4800, 6000));
    CardAnswers a;
    a.age = "40";
    a.sexIndex = c.index;
    a.ram = "512 MB";
    layout.PrintAnswers(a);
    std::vector<std::string> expected = {"text 120,200 Age: 40"};
    if (c.line) expected.push_back(std::string("text 120,300 ") + c.line);
    expected.push_back("text 120," + std::to_string(c.line ? 400 : 300) + " RAM: 512 MB");
    std::vector<std::string> answers(canvas.calls.begin() + 9, canvas.calls.end());
    EXPECT_EQ(answers, expected) << "item " << c.index;
  }
}

TEST(CardPage, CountryLineIsLeftOutOnlyForTheUnitedStates) {
  for (const char* us : {"USA", "usa", "U. S. A.", "u.s.a.", "united states", " United  States "}) {
    EXPECT_TRUE(IsUnitedStates(us)) << us;
  }
  for (const char* other : {"United States of America", "US", "U.S.A", "Canada", "", "  "}) {
    EXPECT_FALSE(IsUnitedStates(other)) << other;
  }

  // Printed as typed, blanks and letter case kept.
  RecordingCanvas canvas;
  CardLayout layout(canvas, MeasureCard(canvas, 4800, 6000));
  CardAnswers a;
  a.name = "Al";
  a.country = "United States of America";
  layout.PrintSenderBlock(a);
  a.country = "u s a";
  layout.PrintSenderBlock(a);
  EXPECT_EQ(canvas.Texts(), (std::vector<std::string>{"Al", ",   ", "United States of America", "Al", ",   "}));
}

TEST(CardPage, CommentsHeadingAndLines) {
  struct Case {
    const char* comments;
    std::vector<std::string> printed;  // heading and lines, from y = 200 on
  } cases[] = {
      {"", {}},
      {"\r\n", {"Comments:", ""}},
      {"one\r\n\r\ntwo", {"Comments:", "one", "", "two"}},
  };
  for (const Case& c : cases) {
    RecordingCanvas canvas;
    CardLayout layout(canvas, MeasureCard(canvas, 4800, 6000));
    CardAnswers a;
    a.comments = c.comments;
    layout.PrintAnswers(a);
    std::vector<std::string> expected;
    for (size_t i = 0; i < c.printed.size(); ++i) {
      expected.push_back("text 2400," + std::to_string(200 + 100 * i) + " " + c.printed[i]);
    }
    std::vector<std::string> drawn(canvas.calls.begin() + 9, canvas.calls.end());
    EXPECT_EQ(drawn, expected) << "comments: " << c.comments;
  }
}

TEST(CardPage, LongCommentsRunOnDownTheColumn) {
  RecordingCanvas canvas;
  CardLayout layout(canvas, MeasureCard(canvas, 4800, 6000));
  CardAnswers a;
  for (int i = 0; i < 30; ++i) a.comments += "line\r\n";
  layout.PrintAnswers(a);
  EXPECT_EQ(canvas.calls.back(), "text 2400,3200 line");  // line 30 at 3cy + 29cy, past the fold
}

TEST(CardPage, AmericasQuestionsLoopUntilConfirmed) {
  RecordingCanvas canvas;
  CardLayout layout(canvas, MeasureCard(canvas, 4800, 6000));
  // Yes, not sure; No, not sure; No, sure: the European office.
  ScriptedQuestions q({true, false, false, false, false, true});
  layout.PrintDestinationBlock(q);
  EXPECT_EQ(q.asked, (std::vector<std::string>{kAskAmericas, kSureYes, kAskAmericas, kSureNo, kAskAmericas, kSureNo}));
  EXPECT_TRUE(q.Exhausted());
  EXPECT_EQ(canvas.Texts(), DestinationLines(false));
  EXPECT_EQ(canvas.calls[4], "text 1920,3000 Zelvo Europe, Ltd.");
  EXPECT_EQ(DestinationLines(false).back(), "United Kingdom");
  EXPECT_EQ(DestinationLines(true).front(), "Zelvo Corporation");
}

TEST(CardPage, StampBoxCoversWhatWasDrawnBeforeIt) {
  RecordingCanvas canvas;
  canvas.textWidths = {{"Place", 300}, {"Stamp", 280}, {"Here", 200}};
  CardLayout layout(canvas, MeasureCard(canvas, 4800, 6000));
  layout.PrintStampBox();
  const std::vector<std::string> expected = {
      "rect 4360,2200,4680,2520", "text 4370,2210 Place", "text 4380,2310 Stamp", "text 4420,2410 Here"};
  EXPECT_EQ(std::vector<std::string>(canvas.calls.begin() + 4, canvas.calls.end()), expected);
}

TEST(CardPage, UnusableMeasuresAreRefusedWithAClearMessage) {
  RecordingCanvas canvas;
  for (CardMetrics m : {CardMetrics{0, 6000, 60, 100}, CardMetrics{4800, -1, 60, 100},
                        CardMetrics{4800, 6000, 0, 100}, CardMetrics{4800, 6000, 60, 0},
                        CardMetrics{kMaxCardPageSide + 1, 6000, 60, 100}}) {
    try {
      CardLayout layout(canvas, m);
      ADD_FAILURE() << "accepted " << m.W << " x " << m.H << ", X " << m.cx << " x " << m.cy;
    } catch (const Exception& e) {
      EXPECT_NE(std::string(e.what()).find("cannot be printed"), std::string::npos) << e.what();
    }
  }
}

}  // namespace
