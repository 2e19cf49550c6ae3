// The callback guard's contract: nothing escapes a guarded body; a report is shown at once or
// queued by policy, and nested deferral queues even a "show now" report; queued reports are
// shown oldest first; a failing reporter or fallback never lets an exception out.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/CallbackGuard_core.h"

using namespace zelvo;

namespace {

struct TRecordingSink : IExceptionSink {
  std::vector<std::string> shown;
  int wakeUps = 0;
  bool failNext = false;
  void HandleException(const std::exception& e) override {
    if (failNext) {
      failNext = false;
      throw std::runtime_error("the reporter failed");
    }
    shown.emplace_back(e.what());
  }
  void DeferredReportsWaiting() override { ++wakeUps; }
};

class CallbackGuard : public ::testing::Test {
 protected:
  void SetUp() override { SetExceptionSink(&sink); }
  void TearDown() override {
    SetExceptionSink(nullptr);
    ShowDeferredCallbackErrors();  // with no sink: dropped
  }
  TRecordingSink sink;
};

[[noreturn]] void Fail(const char* what) { throw std::runtime_error(what); }

}  // namespace

TEST_F(CallbackGuard, ShowsAtOnceOrQueuesByPolicyAndNestedDeferralWins) {
  EXPECT_EQ(GuardCallback(TCallbackPolicy::ShowDialog, []() -> int { Fail("now"); }, -1), -1);
  EXPECT_EQ(sink.shown, std::vector<std::string>{"now"});
  EXPECT_EQ(sink.wakeUps, 0);

  bool deferredInside = false;
  GuardCallback(TCallbackPolicy::PostToApplication, [&] {
    deferredInside = CallbackReportsDeferred();
    // A callback nested in a hook or a paint: its "show now" is queued too.
    GuardCallback(TCallbackPolicy::ShowDialog, [] { Fail("nested"); });
    Fail("outer");
  });
  EXPECT_TRUE(deferredInside);
  EXPECT_FALSE(CallbackReportsDeferred()) << "the deferral ends with the body, thrown or not";
  EXPECT_EQ(sink.shown.size(), 1u);
  EXPECT_EQ(DeferredCallbackErrorCount(), 2);
  EXPECT_EQ(sink.wakeUps, 2) << "each queued report says so";

  ShowDeferredCallbackErrors();
  EXPECT_EQ(sink.shown, (std::vector<std::string>{"now", "nested", "outer"}));
  EXPECT_EQ(DeferredCallbackErrorCount(), 0);
}

TEST_F(CallbackGuard, ResultsPassThroughAndFallbacksStandInForFailures) {
  EXPECT_EQ(GuardCallback(TCallbackPolicy::ShowDialog, [] { return 5; }, -1), 5);
  EXPECT_EQ(GuardCallbackOr(TCallbackPolicy::PostToApplication, [] { return 5L; }, []() -> long { return 7; }), 5);
  EXPECT_EQ(GuardCallbackOr(TCallbackPolicy::ShowDialog, []() -> long { throw 42; }, []() -> long { return 7; }), 7);
  EXPECT_EQ(sink.shown, std::vector<std::string>{"Unknown failure"}) << "no std::exception, still a report";

  // The fallback fails too: a value-initialised result, the body's report shown, the
  // fallback's queued.
  const long r = GuardCallbackOr(
      TCallbackPolicy::ShowDialog, []() -> long { Fail("body"); }, []() -> long { Fail("fallback"); });
  EXPECT_EQ(r, 0);
  EXPECT_EQ(sink.shown.back(), "body");
  EXPECT_EQ(DeferredCallbackErrorCount(), 1);
  ShowDeferredCallbackErrors();
  EXPECT_EQ(sink.shown.back(), "fallback");
}

TEST_F(CallbackGuard, AFailingReporterStopsNothing) {
  sink.failNext = true;
  EXPECT_EQ(GuardCallback(TCallbackPolicy::ShowDialog, []() -> int { Fail("lost"); }, -1), -1);
  EXPECT_TRUE(sink.shown.empty());

  GuardCallback(TCallbackPolicy::PostToApplication, [] { Fail("first"); });
  GuardCallback(TCallbackPolicy::PostToApplication, [] { Fail("second"); });
  sink.failNext = true;
  ShowDeferredCallbackErrors();
  EXPECT_EQ(sink.shown, std::vector<std::string>{"second"}) << "the queue goes on past a failed report";
  EXPECT_EQ(DeferredCallbackErrorCount(), 0);
}

TEST_F(CallbackGuard, WithoutASinkQueuedReportsWaitForOne) {
  SetExceptionSink(nullptr);
  GuardCallback(TCallbackPolicy::ShowDialog, [] { Fail("dropped"); });
  GuardCallback(TCallbackPolicy::PostToApplication, [] { Fail("kept"); });
  EXPECT_EQ(DeferredCallbackErrorCount(), 1);
  SetExceptionSink(&sink);
  ShowDeferredCallbackErrors();
  EXPECT_EQ(sink.shown, std::vector<std::string>{"kept"});
  EXPECT_EQ(sink.wakeUps, 0);
}
