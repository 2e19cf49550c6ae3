#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "CardFakes.h"
#include "reginfo/CardLayout.h"
#include "util/Exceptions.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {

CardAnswers SomeAnswers() {
  CardAnswers a;
  a.product = "Zelvo Paint";
  a.name = "Jane";
  return a;
}

std::string FailureOf(FakePrinter& printer, CardQuestions& questions) {
  try {
    PrintCard(printer, questions, SomeAnswers());
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

TEST(PrintJob, AFailureToBeginPassesOnWithNothingToAbort) {
  FakePrinter printer(4800, 6000);
  printer.failBegin = true;
  ScriptedQuestions q({true, true});
  EXPECT_EQ(FailureOf(printer, q), "no default printer");
  EXPECT_TRUE(printer.canvas.calls.empty());
  EXPECT_EQ(q.asked.size(), 0u);
}

TEST(PrintJob, AFailureWhileDrawingAbortsTheDocumentAndPassesOnUnchanged) {
  FakePrinter printer(4800, 6000);
  printer.canvas.throwOnText = "Jane";  // first sender line
  ScriptedQuestions q({true, true});
  EXPECT_EQ(FailureOf(printer, q), "canvas failure");
  EXPECT_EQ(printer.canvas.calls.front(), "begin doc");
  EXPECT_EQ(printer.canvas.calls.back(), "abort doc");
  EXPECT_EQ(std::count(printer.canvas.calls.begin(), printer.canvas.calls.end(), "end doc"), 0);
  EXPECT_EQ(q.asked.size(), 0u);  // the failure came before the questions
}

TEST(PrintJob, AFailingQuestionOrEndAbortsToo) {
  FakePrinter printer(4800, 6000);
  ScriptedQuestions none({});
  EXPECT_EQ(FailureOf(printer, none), "a question was asked that the test did not script");
  EXPECT_EQ(printer.canvas.calls.back(), "abort doc");

  FakePrinter ending(4800, 6000);
  ending.failEnd = true;
  ScriptedQuestions q({false, true});
  EXPECT_EQ(FailureOf(ending, q), "end failed");
  EXPECT_EQ(ending.canvas.calls.back(), "abort doc");
}

TEST(PrintJob, AFailedAbortDoesNotHideTheOriginalFailure) {
  FakePrinter printer(4800, 6000);
  printer.failAbort = true;
  printer.canvas.throwOnText = "Zelvo Product Registration";
  ScriptedQuestions q({true, true});
  EXPECT_EQ(FailureOf(printer, q), "canvas failure");
}

TEST(PrintJob, AnEmptyPrintableAreaIsAClearErrorAndAbortsTheDocument) {
  FakePrinter printer(0, 0);
  ScriptedQuestions q({true, true});
  try {
    PrintCard(printer, q, SomeAnswers());
    FAIL() << "printed on a page of no size";
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.what()).find("printable area of 0 by 0"), std::string::npos) << e.what();
  }
  EXPECT_EQ(printer.canvas.calls.back(), "abort doc");
}

}  // namespace
