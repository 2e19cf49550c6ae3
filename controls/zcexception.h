// The date controls' failure: a parse error of the date field, an impossible date, or a calendar
// move that finds no enabled day. The message is the text the user sees.
#pragma once

#include <cstdint>
#include <string>

#include "util/Exceptions.h"

namespace zelvo {

// Which rule raised the exception, so callers and tests need not compare message texts.
enum class TZcError : uint8_t {
  InvalidDay,        // "Invalid day" + token
  InvalidMonth,      // "Invalid month" + token
  InvalidMonthName,  // "Invalid month name" + first three letters
  InvalidYear,       // "Invalid year" + token
  DayRequired,       // "Day is required"
  MonthRequired,     // "Month is required"
  YearRequired,      // "Year is required"
  InvalidDate,       // "Invalid date" + typed text (a day, month and year that form no real date)
  NoEnabledDate,     // "Value is not a valid date" (calendar move: no enabled candidate)
};

class EZcException : public Exception {
 public:
  EZcException(TZcError code, const std::string& message) : Exception(message), code_(code) {}
  TZcError Code() const { return code_; }

 private:
  TZcError code_;
};

}  // namespace zelvo
