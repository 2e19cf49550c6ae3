#include "util/ErrorText.h"

#include <cstdio>

namespace zelvo {

std::string FormatTextAtAddress(std::string_view format, std::string_view text, uint32_t address) {
  std::string out;
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (c != '%' || i + 1 >= format.size()) {
      out += c;
      continue;
    }
    char conv = format[++i];
    if (conv == 's') {
      out.append(text);
    } else if (conv == 'P' || conv == 'p') {
      char buf[16];
      std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(address));
      out += buf;
    } else if (conv == '%') {
      out += '%';
    } else {
      out += '%';
      out += conv;
    }
  }
  return out;
}

std::string ErrorReportText(std::string message, TErrorClass kind, uint32_t address,
                            std::string_view atAddressFormat) {
  if (message.size() >= 2 && message.compare(message.size() - 2, 2, "\r\n") == 0) {
    message.resize(message.size() - 2);
  }
  if (kind == TErrorClass::RangeError || kind == TErrorClass::IntOverflow) {
    return FormatTextAtAddress(atAddressFormat, message, address);
  }
  if (!message.empty() && message.back() != '.') message += '.';
  return message;
}

}  // namespace zelvo
