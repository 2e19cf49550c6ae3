// An object whose lifetime the application owns and ends before any form is destroyed.
//
// Services reach into every window of the process (the skin manager subclasses windows, installs
// hooks and timers). The application shuts each one down and frees it, newest first, before it
// destroys its forms, so a service never outlives the windows it is attached to nor touches a
// form that is half destroyed. Portable: no platform headers.
#pragma once

namespace zelvo {

class TApplicationService {
 public:
  TApplicationService() = default;
  TApplicationService(const TApplicationService&) = delete;
  TApplicationService& operator=(const TApplicationService&) = delete;
  virtual ~TApplicationService() = default;

  // Leaves the process's windows alone from now on: detaches from every window first, then
  // removes hooks and timers. Called once, before the service is freed, while every form is
  // still whole.
  virtual void Shutdown() = 0;
};

}  // namespace zelvo
