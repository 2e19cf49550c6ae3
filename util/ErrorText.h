// How the application-wide error reporter words an exception for the user.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelvo {

enum class TErrorClass : uint8_t {
  General,          // any other failure
  RangeError,       // integer range check failed
  IntOverflow,      // integer arithmetic overflowed
  DivByZero,        // integer division by zero (worded like any other failure)
};

// Fills a format that holds "%s" (the text) and "%P" (a code address as eight upper-case hex
// digits), in that order; "%%" is a literal percent sign.
std::string FormatTextAtAddress(std::string_view format, std::string_view text, uint32_t address);

// The text the reporter shows: a trailing CR LF removed; integer range and overflow errors
// worded with the "at address" format; otherwise a "." appended unless the text is empty or
// already ends with one.
std::string ErrorReportText(std::string message, TErrorClass kind, uint32_t address,
                            std::string_view atAddressFormat);

}  // namespace zelvo
