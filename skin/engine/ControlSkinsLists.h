// Control skins of the common controls that show lists and rows: status bars, tab controls,
// track bars, list headers and list views. Each paints its control entirely from the skin
// (off-screen, then one blit); a skin without the entry the control needs leaves it native.
//
// These controls reach the skin by window handle: the common controls a framework form or a
// foreign window holds are found among its child windows by class name
// (AttachCommonControlSkins, in ControlSkinsAttach.cpp with the rest of the attaching), after
// the framework's own components have been walked.
#pragma once

#include <windows.h>

#include <memory>

#include "skin/engine/ControlSkins.h"
#include "skin/engine/ControlSkinsScroll.h"

namespace zelvo {

// Status bars: the bar from the StatusBarEdges entry (frame 1), each panel over it (frame 2, the
// last panel frame 3), the panel texts in ButtonText, and the size grip from ExtraImages (frame 5).
class TSkinStatusBar : public TSkinControl {
 public:
  const char* ClassName() const override { return "TSkinStatusBar"; }
  bool BeforeMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
};

// Tab controls with the tabs on top: the page border from the Tabs entry's Border image, the
// tabs from its five frames (1 normal, 2 selected, 3 disabled, 4 hot, 5 selected and focused),
// captions centred. Bottom and vertical tabs stay native.
class TSkinTab : public TSkinControl {
 public:
  const char* ClassName() const override { return "TSkinTab"; }
  bool BeforeMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
  // The frame tab `index` shows now.
  int TabFrame(int index) const;
  int HotTab() const { return hotTab_; }

 private:
  int hotTab_ = -1;
};

// Track bars: the channel as a ButtonShadow frame on a white bed, ticks in ButtonShadow, and the
// thumb from the Trackbar thumb the style asks for (both sides: Horz/Vert; pointing: Up, Down,
// Left, Right), frame 1 normal, 2 dragged, 3 disabled, 4 hot, 5 focused.
class TSkinTrackBar : public TSkinControl {
 public:
  const char* ClassName() const override { return "TSkinTrackBar"; }
  bool BeforeMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
  int ThumbFrame() const;
  // The thumb entry for the control's style (nullptr: none, or the skin lacks it).
  const TDataSkinObject* ThumbEntry() const;

 private:
  bool dragging_ = false;
};

// List headers: each section from the Headerbar entry's five frames (1 normal, 2 pressed,
// 3 disabled, 4 hot, 5 sorted), the part after the last section in frame 1, captions in
// ButtonText aligned as the section asks.
class TSkinHeader : public TSkinControl {
 public:
  const char* ClassName() const override { return "TSkinHeader"; }
  bool BeforeMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
  int SectionFrame(int index) const;

 private:
  int hot_ = -1;
  int pressed_ = -1;
};

// List views: the list stays native apart from its window scroll bars, which are the skin's (with
// thumb dragging); the header of a report view gets a TSkinHeader, which lives as long as this skin.
class TSkinListView : public TSkinScrollbar {
 public:
  const char* ClassName() const override { return "TSkinListView"; }
  void AttachHandle(HWND window, TSkinData& data, TSkinHost* formSkin) override;
  void Attach(TSkinHost* formSkin, TSkinData& data, TWinControl& control, bool recolour) override;
  void Detach() override;
  TSkinHeader* Header() const { return header_.get(); }

 protected:
  // A list view takes its thumb-track position from the bar's tracking state, which only the
  // system's own drag sets, so the skin's drag scrolls it by the difference instead.
  void TrackThumb(int bar, int pos) override;

 private:
  void AttachHeader();
  std::unique_ptr<TSkinHeader> header_;
};

// Makes the control skins of this unit (nullptr for other classes).
std::unique_ptr<TSkinControl> MakeListControlSkin(ControlSkinClass kind);
// The skin of a common control by its window class (any case): status bar, tab control (not
// owner-drawn), track bar, header, list view; None for the rest.
ControlSkinClass CommonControlSkinOf(const char* windowClass, DWORD style);
// Attaches these skins, by handle, to the form skin's window's descendants of those classes
// that no control skin covers yet, as the skin's switches allow (status bars: xcStatusBar;
// tabs: xcTab and the Tabs entry; track bars: xcButton; headers and list views: xcScrollbar).
void AttachCommonControlSkins(TSkinHost& formSkin);

}  // namespace zelvo
