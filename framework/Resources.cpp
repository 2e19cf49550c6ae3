#include "framework/Resources.h"

#include <windows.h>

#include "util/Exceptions.h"

namespace zelvo {

std::string LoadStr(unsigned id) {
  char buf[1024];
  int n = LoadStringA(GetModuleHandleA(nullptr), id, buf, sizeof buf);
  if (n <= 0) throw Exception("String resource " + std::to_string(id) + " not found");
  return std::string(buf, static_cast<size_t>(n));
}

}  // namespace zelvo
