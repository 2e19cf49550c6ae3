#include "util/MsgDialogLayout.h"

#include <algorithm>

#include "util/Util.h"

namespace zelvo {

namespace {
constexpr std::array<MsgDlgButtonInfo, kMsgDlgBtnCount> kButtons{{
    {"Yes", "&Yes", mrYes, TBitBtnKind::bkYes, 0},
    {"No", "&No", mrNo, TBitBtnKind::bkNo, 0},
    {"OK", "OK", mrOk, TBitBtnKind::bkOK, 0},
    {"Cancel", "Cancel", mrCancel, TBitBtnKind::bkCancel, 0},
    {"Abort", "&Abort", mrAbort, TBitBtnKind::bkAbort, 0},
    {"Retry", "&Retry", mrRetry, TBitBtnKind::bkRetry, 0},
    {"Ignore", "&Ignore", mrIgnore, TBitBtnKind::bkIgnore, 0},
    {"All", "&All", mrAll, TBitBtnKind::bkAll, 0},
    {"NoToAll", "N&o to All", mrNoToAll, TBitBtnKind::bkNo, 4},
    {"YesToAll", "Yes to &All", mrYesToAll, TBitBtnKind::bkYes, 4},
    {"Help", "&Help", mrNone, TBitBtnKind::bkHelp, 0},
}};

constexpr std::array<MsgDlgTypeInfo, 5> kTypes{{
    {"Warning", true}, {"Error", true}, {"Information", true}, {"Confirm", true}, {"", false},
}};
}  // namespace

const MsgDlgButtonInfo& ButtonInfo(TMsgDlgBtn b) { return kButtons.at(static_cast<size_t>(b)); }
const MsgDlgTypeInfo& TypeInfo(TMsgDlgType t) { return kTypes.at(static_cast<size_t>(t)); }

TBitBtnKind KindForModalResult(int32_t modalResult) {
  switch (modalResult) {
    case mrNone: return TBitBtnKind::bkHelp;
    case mrOk: return TBitBtnKind::bkOK;
    case mrCancel: return TBitBtnKind::bkCancel;
    case mrAbort: return TBitBtnKind::bkAbort;
    case mrRetry: return TBitBtnKind::bkRetry;
    case mrIgnore: return TBitBtnKind::bkIgnore;
    case mrYes: case mrYesToAll: return TBitBtnKind::bkYes;
    case mrNo: case mrNoToAll: return TBitBtnKind::bkNo;
    case mrAll: return TBitBtnKind::bkAll;
    default: return TBitBtnKind::bkCustom;
  }
}

int32_t ModalResultOfButton(int button) {
  if (button < 0 || button >= kMsgDlgBtnCount) return mrNone;
  return kButtons[static_cast<size_t>(button)].modalResult;
}

int DefaultButtonOf(TMsgDlgButtons buttons) {
  for (TMsgDlgBtn b : {TMsgDlgBtn::mbOK, TMsgDlgBtn::mbYes, TMsgDlgBtn::mbRetry}) {
    if (buttons & ButtonBit(b)) return static_cast<int>(b);
  }
  return -1;
}

int CancelButtonOf(TMsgDlgButtons buttons) {
  for (TMsgDlgBtn b : {TMsgDlgBtn::mbCancel, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbOK}) {
    if (buttons & ButtonBit(b)) return static_cast<int>(b);
  }
  return -1;
}

int MulDivRound(int a, int b, int c) {
  if (c == 0) return -1;
  long long p = static_cast<long long>(a) * b;
  long long q = (2 * p + c) / (2LL * c);  // nearest, halves up (operands are positive)
  return static_cast<int>(q);
}

MsgDialogLayout ComputeMsgDialogLayout(const MsgDialogInput& in) {
  MsgDialogLayout l;
  l.hm = MulDivRound(8, in.dux, 4);
  l.vm = MulDivRound(8, in.duy, 8);
  l.hs = MulDivRound(10, in.dux, 4);
  l.vs = MulDivRound(10, in.duy, 8);
  l.bh = MulDivRound(14, in.duy, 8);
  l.bs = MulDivRound(4, in.dux, 4);
  l.bw = MulDivRound(50, in.dux, 4);
  for (int w : in.buttonCaptionWidths) l.bw = std::max(l.bw, w + 8);

  l.itw = in.textWidth + (in.hasIcon ? 32 + l.hs : 0);
  l.ith = in.hasIcon ? std::max(in.textHeight, 32) : in.textHeight;
  int n = static_cast<int>(in.buttonCaptionWidths.size());
  l.bgw = n > 0 ? n * l.bw + (n - 1) * l.bs : 0;
  l.clientWidth = std::max(l.itw, l.bgw) + 2 * l.hm;
  l.clientHeight = l.ith + l.bh + l.vs + 2 * l.vm;

  l.icon = {l.hm, l.vm, 32, 32};
  l.message = {l.hm + l.itw - in.textWidth, l.vm, in.textWidth, in.textHeight};
  int x = (l.clientWidth - l.bgw) / 2;
  int y = l.ith + l.vm + l.vs;
  for (int i = 0; i < n; ++i) {
    l.buttons.push_back({x, y, l.bw, l.bh});
    x += l.bw + l.bs;
  }
  return l;
}

std::string MsgDialogClipboardText(std::string_view caption, std::string_view message,
                                   const std::vector<std::string>& buttonCaptions) {
  const std::string divider = std::string(27, '-') + "\r\n";
  std::string text = divider;
  text.append(caption).append("\r\n");
  text += divider;
  text.append(message).append("\r\n");
  text += divider;
  for (const std::string& c : buttonCaptions) text += RemoveChars(c, "&") + "   ";
  text += "\r\n";
  text += divider;
  return text;
}

}  // namespace zelvo
