// TFrameMdiLink: a skinned MDI frame's hold on its MDI client.
//
// The link subclasses the client: after the client's MDI messages (and the scroll-range message
// it posts itself when a child was sized) it asks whether the active child is maximized, keeps
// the engine's MDI-maximized flag equal to the answer and tells the frame when the answer
// changed (the frame's menu bar then shows or hides the MDI buttons: minimize, restore, close the
// active child). It also carries those buttons' commands to the active child.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/Subclass.h"

namespace zelvo {

class ISkinEngine;

class TFrameMdiLink {
 public:
  // `changed` runs when the active child's maximized state changed.
  TFrameMdiLink(ISkinEngine& engine, std::function<void()> changed)
      : engine_(&engine), changed_(std::move(changed)) {}
  TFrameMdiLink(const TFrameMdiLink&) = delete;
  TFrameMdiLink& operator=(const TFrameMdiLink&) = delete;

  // The frame's MDI client (nullptr: the frame is none); the engine learns of it too.
  void SetClient(HWND client);
  // Subclasses the client and reads the child's state. A client of another thread is left
  // alone: the frame is skinned without the MDI buttons.
  void Subclass();
  // Lets the client go: its procedure back, the engine's client and flag cleared (nobody follows
  // the children any more, so the flag must not outlive the frame's skin).
  void Release();
  // Takes the subclass off only (the frame's skin is being freed).
  void Unhook() { subclass_.Reset(); }

  HWND Client() const { return client_; }
  bool ChildMaximized() const { return childMaximized_; }
  // Asks the client whether its active child is maximized; keeps the engine's flag equal to the
  // answer. True (after the frame was told) when the answer changed.
  bool Sync();
  // Sends a system command (minimize, restore, close) to the active child, then syncs.
  void CommandActiveChild(WPARAM command);

 private:
  LRESULT ClientMessage(HWND client, UINT msg, WPARAM wp, LPARAM lp);

  ISkinEngine* engine_;
  std::function<void()> changed_;
  HWND client_ = nullptr;
  TWindowSubclass subclass_;
  bool childMaximized_ = false;
  bool syncing_ = false;
};

}  // namespace zelvo
