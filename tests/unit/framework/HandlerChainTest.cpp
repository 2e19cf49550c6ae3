// The handler chain under AddressSanitizer: order of handlers, and unlinking from every place a
// skin may do it while a message is on its way (itself, the handler below, a nested dispatch).
#include "framework/HandlerChain.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace zelvo;

namespace {
struct Msg {
  int id = 0;
  std::string trace;  // who saw the message, in order
};
using Chain = THandlerChain<Msg>;

// A handler that notes its name and passes the message on.
Chain::Handler Pass(const std::string& name) {
  return [name](Msg& m, const Chain::TNext& next) {
    m.trace += name;
    next(m);
  };
}

std::string Send(Chain& chain, int id = 0) {
  Msg m{id, {}};
  chain.Dispatch(m);
  return m.trace;
}
}  // namespace

TEST(HandlerChain, NewestHandlerRunsFirstAndCanStopTheMessage) {
  Chain chain([](Msg& m) { m.trace += "T"; });
  EXPECT_EQ(Send(chain), "T");
  THookToken a = chain.Insert(Pass("a"));
  THookToken b = chain.Insert([](Msg& m, const Chain::TNext& next) {
    m.trace += "b";
    if (m.id != 1) next(m);  // message 1 stops here
  });
  EXPECT_EQ(Send(chain), "baT");
  EXPECT_EQ(Send(chain, 1), "b");
}

TEST(HandlerChain, TokensUnlinkInAnyOrderAndMovingKeepsTheLink) {
  Chain chain([](Msg& m) { m.trace += "T"; });
  THookToken a = chain.Insert(Pass("a"));
  THookToken b = chain.Insert(Pass("b"));
  THookToken c = chain.Insert(Pass("c"));
  // Removing the middle one keeps the ones inserted before and after it (no saved copy to
  // restore, nothing later is lost).
  b.Reset();
  EXPECT_EQ(Send(chain), "caT");
  THookToken moved = std::move(c);
  EXPECT_FALSE(c.Linked());
  EXPECT_EQ(Send(chain), "caT") << "a move does not unlink";
  a = chain.Insert(Pass("d"));  // assigning over a token unlinks what it held
  EXPECT_EQ(Send(chain), "dcT");
  moved.Reset();
  moved.Reset();  // twice is harmless
  EXPECT_EQ(Send(chain), "dT");
  EXPECT_EQ(chain.Size(), 1);
}

TEST(HandlerChain, HandlerRemovingItselfWhileRunningFinishesAndStillReachesTheRest) {
  Chain chain([](Msg& m) { m.trace += "T"; });
  THookToken below = chain.Insert(Pass("a"));
  std::optional<THookToken> self;
  // The shape a skin leaves a window with: restore on the last message, from inside, then pass
  // the message on with state captured by the handler.
  std::string captured = "self";
  self = chain.Insert([&self, captured](Msg& m, const Chain::TNext& next) {
    self.reset();  // destroys the token: unlinks this very handler
    m.trace += captured.substr(0, 1);  // captures still alive
    next(m);
  });
  EXPECT_EQ(Send(chain), "saT");
  EXPECT_EQ(Send(chain), "aT");
}

TEST(HandlerChain, HandlerOwningItsTokenInItsCapturesCanDropIt) {
  Chain chain([](Msg& m) { m.trace += "T"; });
  // The handler's own captures hold the token; resetting it from inside frees nothing the
  // running handler still needs.
  auto holder = std::make_shared<THookToken>();
  *holder = chain.Insert([holder](Msg& m, const Chain::TNext& next) {
    holder->Reset();
    m.trace += "h";
    next(m);
  });
  holder.reset();  // now only the chain's node owns it (through the captures)
  EXPECT_EQ(Send(chain), "hT");
  EXPECT_EQ(chain.Size(), 0);
}

TEST(HandlerChain, RemovingTheHandlerBelowDuringAMessageSkipsIt) {
  Chain chain([](Msg& m) { m.trace += "T"; });
  THookToken c = chain.Insert(Pass("c"));
  THookToken b = chain.Insert(Pass("b"));
  THookToken a = chain.Insert([&](Msg& m, const Chain::TNext& next) {
    m.trace += "a";
    if (m.id == 1) b.Reset();
    next(m);
  });
  EXPECT_EQ(Send(chain, 1), "acT");
  // Removing both the running handler and the one below it, then passing on.
  THookToken top = chain.Insert([&](Msg& m, const Chain::TNext& next) {
    m.trace += "x";
    top.Reset();
    c.Reset();
    next(m);
  });
  EXPECT_EQ(Send(chain), "xaT");
  EXPECT_EQ(Send(chain), "aT");
}

TEST(HandlerChain, NestedDispatchSeesRemovalsAndTheOuterCallContinuesBelow) {
  Chain chain([](Msg& m) { m.trace += "T"; });
  THookToken c = chain.Insert(Pass("c"));
  THookToken b = chain.Insert(Pass("b"));
  std::string inner;
  THookToken a = chain.Insert([&](Msg& m, const Chain::TNext& next) {
    m.trace += "a";
    if (m.id == 1) {
      // A message sent while this one is handled: the inner dispatch unlinks "b" and "a".
      THookToken remover = chain.Insert([&](Msg& n, const Chain::TNext& nn) {
        b.Reset();
        a.Reset();
        n.trace += "r";
        nn(n);
      });
      inner = Send(chain, 2);
    }
    next(m);
  });
  EXPECT_EQ(Send(chain, 1), "acT") << "the outer message skips the handler unlinked meanwhile";
  EXPECT_EQ(inner, "rcT");
  EXPECT_EQ(Send(chain), "cT");
}

TEST(HandlerChain, HandlerInsertedDuringAMessageWaitsForTheNextOne) {
  Chain chain([](Msg& m) { m.trace += "T"; });
  std::vector<THookToken> added;
  THookToken a = chain.Insert([&](Msg& m, const Chain::TNext& next) {
    m.trace += "a";
    if (added.empty()) added.push_back(chain.Insert(Pass("n")));
    next(m);
  });
  EXPECT_EQ(Send(chain), "aT");
  EXPECT_EQ(Send(chain), "naT");
}

TEST(HandlerChain, TokensOutliveTheChainAndAHandlerMayDestroyItsChain) {
  THookToken late;
  {
    Chain chain([](Msg& m) { m.trace += "T"; });
    late = chain.Insert(Pass("a"));
  }
  EXPECT_FALSE(late.Linked());
  late.Reset();  // the chain is gone: nothing to unlink, nothing read

  auto owned = std::make_unique<Chain>([](Msg& m) { m.trace += "T"; });
  THookToken below = owned->Insert(Pass("b"));
  THookToken top = owned->Insert([&](Msg& m, const Chain::TNext& next) {
    owned.reset();  // the chain's owner goes away inside its own dispatch
    m.trace += "a";
    next(m);
    top.Reset();
  });
  EXPECT_EQ(Send(*owned), "abT") << "the message still reaches the rest of the chain";
  EXPECT_EQ(owned, nullptr);
}

TEST(HandlerChain, ExceptionFromAHandlerLeavesTheChainUsable) {
  Chain chain([](Msg& m) { m.trace += "T"; });
  THookToken a = chain.Insert(Pass("a"));
  THookToken thrower = chain.Insert([&](Msg& m, const Chain::TNext&) {
    thrower.Reset();
    if (m.id == 1) throw std::runtime_error("handler failed");
  });
  Msg m{1, {}};
  EXPECT_THROW(chain.Dispatch(m), std::runtime_error);
  EXPECT_EQ(Send(chain), "aT");
}
