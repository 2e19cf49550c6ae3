// Base of the program's failures. Every failure is an exception carrying the message the user sees;
// subsystems derive their own (date entry, skin decoding, printing, ...).
#pragma once

#include <stdexcept>
#include <string>

namespace zelvo {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

}  // namespace zelvo
