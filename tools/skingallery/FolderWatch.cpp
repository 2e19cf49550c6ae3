#include "tools/skingallery/FolderWatch.h"

#include "util/Exceptions.h"

namespace zelvo::gallery {

namespace {

constexpr DWORD kChanges =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

}  // namespace

TFolderWatch::TFolderWatch(const std::string& folder, HWND target, UINT message)
    : folder_(folder),
      change_(FindFirstChangeNotificationA(folder.c_str(), FALSE, kChanges)),
      stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
  if (!change_) throw Exception("Cannot watch the folder \"" + folder + "\" for changes");
  if (!stop_) throw Exception("Cannot watch the folder \"" + folder + "\": no event for the watcher");
  const HANDLE handles[2] = {stop_.Get(), change_.Get()};
  thread_ = std::thread([handles, target, message] {
    for (;;) {
      if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return;
      PostMessageA(target, message, 0, 0);
      if (!FindNextChangeNotification(handles[1])) return;
    }
  });
}

TFolderWatch::~TFolderWatch() {
  SetEvent(stop_.Get());
  if (thread_.joinable()) thread_.join();
}

}  // namespace zelvo::gallery
