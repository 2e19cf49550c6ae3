// Message-sequence checks: a log of (window, message, how it arrived) recorded by handlers in a
// window's chain, by a class's own WndProc, by its default handler and by hooks, compared with
// an expected sequence; a mismatch names the first entry that differs.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Handles.h"

namespace zelvo::test {

enum TSeqFlags : unsigned {
  seqSent = 1,        // seen by a handler hooked into the window's chain
  seqPosted = 2,      // taken from the queue (recorded by the message hook)
  seqHook = 4,        // recorded by a system hook (CBT, get-message)
  seqWndProc = 8,     // reached the class's own WndProc
  seqDefWinProc = 16, // reached the default handler
  seqEvent = 32,      // an event handler ran (the message field names it)
  seqWParam = 64,     // compare wParam too
  seqOptional = 128,  // expected entry that may be missing
};

// Pseudo messages for events in a sequence.
constexpr UINT EV_ONDESTROY = 0x7F000001;
constexpr UINT EV_CBT_CREATEWND = 0x7F000002;  // a CBT hook saw HCBT_CREATEWND

struct TSeqEntry {
  int window = 0;  // the test's own number for the window (0: any)
  UINT msg = 0;
  unsigned flags = 0;
  WPARAM wParam = 0;
};

class TMessageLog {
 public:
  // Only these messages are kept (an empty filter keeps everything).
  explicit TMessageLog(std::set<UINT> filter = {}) : filter_(std::move(filter)) {}
  void Add(int window, UINT msg, unsigned flags, WPARAM wp = 0);
  void Clear() { entries_.clear(); }
  const std::vector<TSeqEntry>& Entries() const { return entries_; }

  // A hook in `control`'s chain recording every message it passes on, as window `id`.
  [[nodiscard]] THookToken Watch(TWinControl& control, int id);

 private:
  std::set<UINT> filter_;
  std::vector<TSeqEntry> entries_;
};

// Empty when the log matches; otherwise a description of the first difference and both lists.
std::string CompareSequence(const TMessageLog& log, std::initializer_list<TSeqEntry> expected);

// Records the posted messages of the thread into a log while it lives (a get-message hook).
class TPostedMessageHook {
 public:
  TPostedMessageHook(TMessageLog& log, std::vector<std::pair<HWND, int>> windows);
  ~TPostedMessageHook();
  TPostedMessageHook(const TPostedMessageHook&) = delete;
  TPostedMessageHook& operator=(const TPostedMessageHook&) = delete;

 private:
  static LRESULT CALLBACK Proc(int code, WPARAM wp, LPARAM lp);
  UniqueHook hook_;
};

}  // namespace zelvo::test
