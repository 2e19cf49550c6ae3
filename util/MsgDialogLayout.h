// The message dialog's data (types, buttons) and its layout arithmetic, free of any window code.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Types.h"

namespace zelvo {

enum class TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum class TMsgDlgBtn : uint8_t {
  mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp
};
constexpr int kMsgDlgBtnCount = 11;

// A set of buttons: bit i stands for the button of value i.
using TMsgDlgButtons = uint16_t;
constexpr TMsgDlgButtons ButtonBit(TMsgDlgBtn b) { return static_cast<TMsgDlgButtons>(1u << static_cast<unsigned>(b)); }

struct MsgDlgButtonInfo {
  const char* name;     // control name
  const char* caption;  // with "&" accelerators
  int32_t modalResult;
  TBitBtnKind kind;
  int extraWidth;       // image buttons wider than the row's width
};
const MsgDlgButtonInfo& ButtonInfo(TMsgDlgBtn b);

struct MsgDlgTypeInfo {
  const char* caption;  // standard caption (always replaced by the given title)
  bool hasIcon;
};
const MsgDlgTypeInfo& TypeInfo(TMsgDlgType t);

// Image-button kind for a push button's modal result (plain kind for unknown values).
TBitBtnKind KindForModalResult(int32_t modalResult);
// Modal result that the default-button argument stands for (0 for values outside the table).
int32_t ModalResultOfButton(int button);

// Which button the standard dialog makes the default / the cancel button; -1 for none.
int DefaultButtonOf(TMsgDlgButtons buttons);
int CancelButtonOf(TMsgDlgButtons buttons);

// MulDiv with halves rounded up (positive operands), as the layout needs it.
int MulDivRound(int a, int b, int c);

struct LayoutRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const LayoutRect&) const = default;
};

struct MsgDialogInput {
  int dux = 0;            // average width of the 52 letters in the dialog font
  int duy = 0;            // height of that text
  int textWidth = 0;      // message block, already wrapped into half the screen width
  int textHeight = 0;
  bool hasIcon = false;
  std::vector<int> buttonCaptionWidths;  // one-line width of each button's caption, in row order
};

struct MsgDialogLayout {
  int hm = 0, vm = 0, hs = 0, vs = 0, bw = 0, bh = 0, bs = 0;
  int itw = 0, ith = 0, bgw = 0;
  int clientWidth = 0, clientHeight = 0;
  LayoutRect icon, message;
  std::vector<LayoutRect> buttons;  // in row order
};

MsgDialogLayout ComputeMsgDialogLayout(const MsgDialogInput& in);

// DUX and DUY from the width and height of the 52 letters A-Z a-z drawn in the dialog font.
inline int DialogUnitX(int width52) { return width52 / 52; }
constexpr std::string_view kDialogUnitSample = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// The text Ctrl+C puts on the clipboard for a dialog.
std::string MsgDialogClipboardText(std::string_view caption, std::string_view message,
                                   const std::vector<std::string>& buttonCaptions);

}  // namespace zelvo
