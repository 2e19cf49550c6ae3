// What the skin engine reads of any window, its own or not: the class name and the text.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace zelvo {

// The window's class name (up to 100 characters).
std::string WindowClassName(HWND window);
// Lower-cased copy (class names are compared without case where the rules say so).
std::string LowerClassName(std::string_view name);
// The window's text, at most `limit` characters.
std::string WindowText(HWND window, int limit);

}  // namespace zelvo
