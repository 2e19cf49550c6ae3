// The skin engine's trace: one line per event to the debugger's output. Nothing depends on it; it
// shows a developer with a debug viewer what the engine did and in which order.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace zelvo {

inline void SkinTrace(std::string_view text) {
  std::string line(text);
  line += '\n';
  OutputDebugStringA(line.c_str());
}

}  // namespace zelvo
