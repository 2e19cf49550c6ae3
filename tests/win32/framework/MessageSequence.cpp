#include "MessageSequence.h"

#include <cstdio>
#include <utility>

#include "framework/CallbackGuard.h"

namespace zelvo::test {

namespace {
std::string MsgName(UINT msg) {
  struct Name {
    UINT msg;
    const char* text;
  };
  static const Name names[] = {
      {WM_CREATE, "WM_CREATE"},         {WM_DESTROY, "WM_DESTROY"},     {WM_NCCREATE, "WM_NCCREATE"},
      {WM_NCDESTROY, "WM_NCDESTROY"},   {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
      {WM_COMMAND, "WM_COMMAND"},       {CN_COMMAND, "CN_COMMAND"},     {WM_ENABLE, "WM_ENABLE"},
      {WM_SETTEXT, "WM_SETTEXT"},       {WM_CTLCOLOREDIT, "WM_CTLCOLOREDIT"},
      {CN_CTLCOLOREDIT, "CN_CTLCOLOREDIT"}, {WM_NCHITTEST, "WM_NCHITTEST"}, {EV_CBT_CREATEWND, "HCBT_CREATEWND"},
      {CM_CALLBACKERROR, "CM_CALLBACKERROR"}, {EV_ONDESTROY, "OnDestroy"}, {WM_CLOSE, "WM_CLOSE"},
  };
  for (const Name& n : names) {
    if (n.msg == msg) return n.text;
  }
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%04X", msg);
  return buf;
}

std::string Describe(const TSeqEntry& e) {
  std::string s = "#" + std::to_string(e.window) + " " + MsgName(e.msg);
  if (e.flags & seqSent) s += " sent";
  if (e.flags & seqPosted) s += " posted";
  if (e.flags & seqHook) s += " hook";
  if (e.flags & seqWndProc) s += " wndproc";
  if (e.flags & seqDefWinProc) s += " defwinproc";
  if (e.flags & seqEvent) s += " event";
  if (e.flags & seqWParam) s += " wp=" + std::to_string(e.wParam);
  return s;
}

constexpr unsigned kKindFlags = seqSent | seqPosted | seqHook | seqWndProc | seqDefWinProc | seqEvent;

bool Matches(const TSeqEntry& want, const TSeqEntry& got) {
  if (want.msg != got.msg) return false;
  if (want.window != 0 && want.window != got.window) return false;
  if ((want.flags & kKindFlags) != (got.flags & kKindFlags)) return false;
  if ((want.flags & seqWParam) && want.wParam != got.wParam) return false;
  return true;
}

struct HookTarget {
  TMessageLog* log;
  std::vector<std::pair<HWND, int>> windows;
};
HookTarget* g_posted = nullptr;
}  // namespace

void TMessageLog::Add(int window, UINT msg, unsigned flags, WPARAM wp) {
  if (!filter_.empty() && !filter_.count(msg)) return;
  entries_.push_back(TSeqEntry{window, msg, flags, wp});
}

THookToken TMessageLog::Watch(TWinControl& control, int id) {
  return control.HookWindowProc([this, id](TMessage& m, const TNext& next) {
    Add(id, m.Msg, seqSent, m.WParam);
    next(m);
  });
}

std::string CompareSequence(const TMessageLog& log, std::initializer_list<TSeqEntry> expected) {
  const auto& got = log.Entries();
  size_t g = 0;
  std::string diff;
  for (const TSeqEntry& want : expected) {
    if (g < got.size() && Matches(want, got[g])) {
      ++g;
      continue;
    }
    if (want.flags & seqOptional) continue;
    diff = g < got.size() ? "expected " + Describe(want) + ", got " + Describe(got[g]) + " at " + std::to_string(g)
                          : "expected " + Describe(want) + ", the log ended at " + std::to_string(g);
    break;
  }
  if (diff.empty() && g < got.size()) diff = "unexpected " + Describe(got[g]) + " at " + std::to_string(g);
  if (diff.empty()) return {};
  diff += "\n  expected:";
  for (const TSeqEntry& e : expected) diff += "\n    " + Describe(e) + ((e.flags & seqOptional) ? " (optional)" : "");
  diff += "\n  recorded:";
  for (const TSeqEntry& e : got) diff += "\n    " + Describe(e);
  return diff;
}

TPostedMessageHook::TPostedMessageHook(TMessageLog& log, std::vector<std::pair<HWND, int>> windows) {
  static HookTarget target;
  target = HookTarget{&log, std::move(windows)};
  g_posted = &target;
  hook_.Reset(SetWindowsHookExA(WH_GETMESSAGE, Proc, nullptr, GetCurrentThreadId()));
}

TPostedMessageHook::~TPostedMessageHook() {
  hook_.Reset();
  g_posted = nullptr;
}

LRESULT CALLBACK TPostedMessageHook::Proc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && wp == PM_REMOVE && g_posted) {
    const MSG* m = reinterpret_cast<const MSG*>(lp);
    for (const auto& [h, id] : g_posted->windows) {
      if (m->hwnd == h) g_posted->log->Add(id, m->message, seqPosted | seqHook, m->wParam);
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace zelvo::test
