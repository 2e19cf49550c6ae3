#include "util/MsgDialogLayout.h"

#include <gtest/gtest.h>

using namespace zelvo;

TEST(MsgDialogLayout, MeasuresFromDialogUnits) {
  MsgDialogInput in{6, 13, 200, 13, true, {20}};
  MsgDialogLayout l = ComputeMsgDialogLayout(in);
  EXPECT_EQ(l.hm, 12);
  EXPECT_EQ(l.vm, 13);
  EXPECT_EQ(l.hs, 15);
  EXPECT_EQ(l.vs, 16);
  EXPECT_EQ(l.bh, 23);
  EXPECT_EQ(l.bs, 6);
  EXPECT_EQ(l.bw, 75);
}

TEST(MsgDialogLayout, OneLineErrorDialog) {
  // An error dialog whose message fits on one line of W pixels.
  for (int w : {10, 28, 100, 300}) {
    MsgDialogInput in{6, 13, w, 13, true, {15}};
    MsgDialogLayout l = ComputeMsgDialogLayout(in);
    EXPECT_EQ(l.clientWidth, std::max(w + 47, 75) + 24) << w;
    EXPECT_EQ(l.clientHeight, 97) << w;
    ASSERT_EQ(l.buttons.size(), 1u);
    EXPECT_EQ(l.buttons[0].top, 61);
    EXPECT_EQ(l.buttons[0].width, 75);
    EXPECT_EQ(l.buttons[0].height, 23);  // raised to 25 when the image button replaces it
    EXPECT_EQ(l.buttons[0].left, (l.clientWidth - 75) / 2);
    EXPECT_EQ(l.icon, (LayoutRect{12, 13, 32, 32}));
    EXPECT_EQ(l.message, (LayoutRect{12 + 32 + 15, 13, w, 13}));
  }
}

TEST(MsgDialogLayout, WideCaptionsWidenEveryButtonAndRowIsCentred) {
  MsgDialogInput in{6, 13, 50, 13, true, {30, 90}};
  MsgDialogLayout l = ComputeMsgDialogLayout(in);
  EXPECT_EQ(l.bw, 98);
  EXPECT_EQ(l.bgw, 2 * 98 + 6);
  EXPECT_EQ(l.clientWidth, l.bgw + 24);
  EXPECT_EQ(l.buttons[0].left, 12);
  EXPECT_EQ(l.buttons[1].left, 12 + 98 + 6);
}

TEST(MsgDialogLayout, TallTextAndNoIcon) {
  MsgDialogInput in{6, 13, 120, 65, false, {}};
  MsgDialogLayout l = ComputeMsgDialogLayout(in);
  EXPECT_EQ(l.itw, 120);
  EXPECT_EQ(l.ith, 65);
  EXPECT_EQ(l.bgw, 0);
  EXPECT_EQ(l.clientWidth, 120 + 24);
  EXPECT_EQ(l.clientHeight, 65 + 23 + 16 + 26);
  EXPECT_EQ(l.message.left, 12);
  // A short text next to an icon is raised to the icon's height.
  MsgDialogInput withIcon{6, 13, 120, 13, true, {}};
  EXPECT_EQ(ComputeMsgDialogLayout(withIcon).ith, 32);
}

TEST(MsgDialogLayout, MulDivRoundsHalvesUp) {
  EXPECT_EQ(MulDivRound(8, 13, 8), 13);
  EXPECT_EQ(MulDivRound(10, 13, 8), 16);  // 16.25
  EXPECT_EQ(MulDivRound(14, 13, 8), 23);  // 22.75
  EXPECT_EQ(MulDivRound(10, 7, 4), 18);   // 17.5 rounds up
  EXPECT_EQ(MulDivRound(8, 7, 4), 14);
}

TEST(MsgDialogLayout, DefaultAndCancelButtonRules) {
  auto set = [](std::initializer_list<TMsgDlgBtn> bs) {
    TMsgDlgButtons m = 0;
    for (auto b : bs) m |= ButtonBit(b);
    return m;
  };
  using B = TMsgDlgBtn;
  EXPECT_EQ(DefaultButtonOf(set({B::mbOK})), static_cast<int>(B::mbOK));
  EXPECT_EQ(CancelButtonOf(set({B::mbOK})), static_cast<int>(B::mbOK));
  EXPECT_EQ(DefaultButtonOf(set({B::mbYes, B::mbNo})), static_cast<int>(B::mbYes));
  EXPECT_EQ(CancelButtonOf(set({B::mbYes, B::mbNo})), static_cast<int>(B::mbNo));
  EXPECT_EQ(DefaultButtonOf(set({B::mbOK, B::mbYes, B::mbCancel})), static_cast<int>(B::mbOK));
  EXPECT_EQ(CancelButtonOf(set({B::mbOK, B::mbNo, B::mbCancel})), static_cast<int>(B::mbCancel));
  EXPECT_EQ(DefaultButtonOf(set({B::mbAbort, B::mbRetry, B::mbIgnore})), static_cast<int>(B::mbRetry));
  EXPECT_EQ(CancelButtonOf(set({B::mbAbort, B::mbRetry, B::mbIgnore})), -1);
  EXPECT_EQ(DefaultButtonOf(set({B::mbHelp})), -1);
}

TEST(MsgDialogLayout, KindsAndResultsOfButtons) {
  EXPECT_EQ(KindForModalResult(mrNone), TBitBtnKind::bkHelp);
  EXPECT_EQ(KindForModalResult(mrNoToAll), TBitBtnKind::bkNo);
  EXPECT_EQ(KindForModalResult(mrYesToAll), TBitBtnKind::bkYes);
  EXPECT_EQ(KindForModalResult(mrAll), TBitBtnKind::bkAll);
  EXPECT_EQ(KindForModalResult(42), TBitBtnKind::bkCustom);
  EXPECT_EQ(ModalResultOfButton(static_cast<int>(TMsgDlgBtn::mbNo)), mrNo);
  EXPECT_EQ(ModalResultOfButton(static_cast<int>(TMsgDlgBtn::mbHelp)), mrNone);
  EXPECT_EQ(ModalResultOfButton(99), mrNone);
  EXPECT_EQ(ButtonInfo(TMsgDlgBtn::mbNoToAll).extraWidth, 4);
  EXPECT_STREQ(ButtonInfo(TMsgDlgBtn::mbNoToAll).caption, "N&o to All");
}

TEST(MsgDialogLayout, ClipboardText) {
  std::string div = std::string(27, '-') + "\r\n";
  EXPECT_EQ(MsgDialogClipboardText("Error", "A && B", {"&No", "&Yes"}),
            div + "Error\r\n" + div + "A && B\r\n" + div + "No   Yes   \r\n" + div);
}
