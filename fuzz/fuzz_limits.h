// Memory limits every skin fuzz target runs within unless the command line says otherwise: a
// hostile skin must load (or be refused) in well under 512 MB, so libFuzzer reports any input
// that needs more as a failure instead of the default 2 GB allowance hiding it.
#pragma once

#include <cstring>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static const char* const kDefaults[] = {"-rss_limit_mb=512", "-malloc_limit_mb=512"};
  static char* args[256];
  int n = 0;
  bool given[2] = {false, false};
  for (int i = 0; i < *argc && n < 250; ++i) {
    args[n++] = (*argv)[i];
    for (int k = 0; k < 2; ++k) {
      const size_t prefix = std::strchr(kDefaults[k], '=') - kDefaults[k] + 1;
      if (std::strncmp((*argv)[i], kDefaults[k], prefix) == 0) given[k] = true;
    }
  }
  for (int k = 0; k < 2; ++k) {
    if (!given[k]) args[n++] = const_cast<char*>(kDefaults[k]);
  }
  args[n] = nullptr;
  *argc = n;
  *argv = args;
  return 0;
}
