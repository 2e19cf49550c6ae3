// The system shell's "open", behind a seam so tests can decide what it answers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace zelvo {

class IShell {
 public:
  virtual ~IShell() = default;
  // Same arguments and result as the shell's execute call; the result as an unsigned number.
  virtual uintptr_t Execute(HWND owner, const char* operation, const std::string& file,
                            const char* parameters, const char* directory, int showCommand) = 0;
};

class TWindowsShell : public IShell {
 public:
  uintptr_t Execute(HWND owner, const char* operation, const std::string& file, const char* parameters,
                    const char* directory, int showCommand) override;
};

}  // namespace zelvo
