// Conversion between the program's 8-bit text (the system's ANSI code page) and the system's
// UTF-16 text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelvo {

// The text in the ANSI code page (characters it lacks become its default character); nothing
// when the system cannot convert it. Empty text converts to empty text.
std::optional<std::string> WideToAnsi(std::wstring_view text);
// The ANSI text in UTF-16; empty when the system cannot convert it.
std::wstring AnsiToWide(std::string_view text);

}  // namespace zelvo
