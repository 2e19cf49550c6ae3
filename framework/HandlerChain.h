// An explicit chain of message handlers in front of a terminal handler.
//
// Each handler receives the message and a TNext that calls the rest of the chain; a handler that
// does not call it stops the message there. Inserting returns a move-only THookToken: destroying
// or resetting the token unlinks that one handler, in any order, at any time, including from
// inside any handler while a message is being handled (the running handler itself, one below it,
// or during a nested dispatch). A handler unlinked while it runs stays alive until it returns,
// and the rest of the chain it reaches through its TNext skips every handler unlinked by then.
// A token outliving its chain is harmless: it only holds weak references.
//
// Single-threaded by design (window messages of one thread); portable, no platform headers.
#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace zelvo {

namespace chain_detail {
// What a token sees of a link: something that can take itself out of its chain.
class TLinkBase {
 public:
  virtual ~TLinkBase() = default;
  virtual void Unlink() noexcept = 0;
};
}  // namespace chain_detail

// Ownership of one inserted handler. Move-only; empty after a move or Reset.
class [[nodiscard]] THookToken {
 public:
  THookToken() = default;
  explicit THookToken(std::weak_ptr<chain_detail::TLinkBase> link) : link_(std::move(link)) {}
  THookToken(THookToken&& other) noexcept : link_(std::exchange(other.link_, {})) {}
  THookToken& operator=(THookToken&& other) noexcept {
    if (this != &other) {
      Reset();
      link_ = std::exchange(other.link_, {});
    }
    return *this;
  }
  THookToken(const THookToken&) = delete;
  THookToken& operator=(const THookToken&) = delete;
  ~THookToken() { Reset(); }

  // Unlinks the handler (if it and its chain still exist) and empties the token.
  void Reset() noexcept {
    // Emptied before unlinking: the handler's own captures may hold this token.
    auto link = std::exchange(link_, {}).lock();
    if (link) link->Unlink();
  }
  // Whether the handler is still in a live chain.
  bool Linked() const noexcept { return !link_.expired(); }

 private:
  std::weak_ptr<chain_detail::TLinkBase> link_;
};

template <class Msg>
class THandlerChain {
  struct State;
  struct Node;

 public:
  // Calls the rest of the chain below the handler it was given to. Valid only while that
  // handler runs.
  class TNext {
   public:
    void operator()(Msg& m) const { state_->CallBelow(node_, m); }

   private:
    friend class THandlerChain;
    TNext(State* state, Node* node) : state_(state), node_(node) {}
    State* state_;
    Node* node_;
  };
  using Handler = std::function<void(Msg&, const TNext&)>;
  using Terminal = std::function<void(Msg&)>;

  explicit THandlerChain(Terminal terminal) : state_(std::make_shared<State>(std::move(terminal))) {}
  THandlerChain(const THandlerChain&) = delete;
  THandlerChain& operator=(const THandlerChain&) = delete;
  ~THandlerChain() {
    // Links still running keep themselves alive; the rest go now.
    state_->head.reset();
  }

  // Puts `handler` in front of every handler present.
  [[nodiscard]] THookToken Insert(Handler handler) {
    auto node = std::make_shared<Node>(std::move(handler), state_);
    node->next = std::move(state_->head);
    state_->head = node;
    return THookToken(std::weak_ptr<chain_detail::TLinkBase>(node));
  }

  // Passes the message to the front handler (or the terminal when there is none).
  void Dispatch(Msg& m) {
    // The state outlives this call even if the chain's owner goes away inside a handler.
    std::shared_ptr<State> keep = state_;
    keep->CallFrom(keep->head, m);
  }

  // Number of linked handlers (for checks).
  int Size() const {
    int n = 0;
    for (Node* p = state_->head.get(); p; p = p->next.get()) ++n;
    return n;
  }

 private:
  struct Node : chain_detail::TLinkBase {
    Node(Handler h, const std::shared_ptr<State>& s) : handler(std::move(h)), state(s) {}
    void Unlink() noexcept override {
      if (unlinked) return;
      unlinked = true;
      auto s = state.lock();
      if (!s) return;
      // Re-point the predecessor past this node; this node keeps its own `next` so a call
      // still running in it can continue below.
      std::shared_ptr<Node>* slot = &s->head;
      while (*slot && slot->get() != this) slot = &(*slot)->next;
      if (*slot) *slot = next;
    }
    Handler handler;
    std::shared_ptr<Node> next;
    std::weak_ptr<State> state;
    bool unlinked = false;
  };

  struct State {
    explicit State(Terminal t) : terminal(std::move(t)) {}
    void CallFrom(std::shared_ptr<Node> n, Msg& m) {
      while (n && n->unlinked) n = n->next;
      if (!n) {
        if (terminal) terminal(m);
        return;
      }
      // `n` (a local owner) keeps the handler alive while it runs, even once unlinked.
      n->handler(m, TNext(this, n.get()));
    }
    void CallBelow(Node* from, Msg& m) { CallFrom(from->next, m); }

    Terminal terminal;
    std::shared_ptr<Node> head;
  };

  std::shared_ptr<State> state_;
};

}  // namespace zelvo
