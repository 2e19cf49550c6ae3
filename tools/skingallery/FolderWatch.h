// Watches a folder with the system's change notification and posts a message to a window each
// time a file in it is added, removed, renamed, resized or written.
//
// The waiting is done by a small thread of its own that does nothing else: it waits for the
// notification (or for the order to stop) and posts. The window's thread is not always in the
// gallery's own message loop: while a menu is open or a dialog runs, the system runs its own
// loop, and only a posted message reaches the window from there. Everything the message leads
// to (reading the skin, re-skinning) happens on the window's thread.
#pragma once

#include <windows.h>

#include <string>
#include <thread>

#include "framework/Handles.h"

namespace zelvo::gallery {

class TFolderWatch {
 public:
  // Starts watching; raises Exception when the folder cannot be watched.
  TFolderWatch(const std::string& folder, HWND target, UINT message);
  // Stops the thread and closes the notification.
  ~TFolderWatch();
  TFolderWatch(const TFolderWatch&) = delete;
  TFolderWatch& operator=(const TFolderWatch&) = delete;

  const std::string& Folder() const { return folder_; }

 private:
  struct ChangeNotificationTraits {
    using Handle = HANDLE;
    static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsEmpty(Handle h) noexcept { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { FindCloseChangeNotification(h); }
  };

  std::string folder_;
  UniqueHandle<ChangeNotificationTraits> change_;
  UniqueKernelHandle stop_;
  std::thread thread_;
};

}  // namespace zelvo::gallery
