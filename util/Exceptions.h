// Base of the program's failures. Every failure is an exception carrying the message the user sees;
// subsystems derive their own (date entry, skin decoding, printing, ...).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace zelvo {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

}  // namespace zelvo

namespace zelvo {

// Integer arithmetic failures carry the code address at which they arose, which the error
// reporter shows for range and overflow errors.
class EIntError : public Exception {
 public:
  EIntError(const std::string& message, uint32_t address) : Exception(message), address_(address) {}
  uint32_t Address() const { return address_; }

 private:
  uint32_t address_;
};
class ERangeError : public EIntError {
 public:
  using EIntError::EIntError;
};
class EIntOverflow : public EIntError {
 public:
  using EIntError::EIntError;
};
class EDivByZero : public EIntError {
 public:
  using EIntError::EIntError;
};

}  // namespace zelvo
