// File helpers for the skin command-line tools: whole-file reads with a size bound, and writes
// that never leave a half-written file behind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "skin/SkinRead.h"

namespace zelvo::tools {

// A failure the tool reports to the user as it is (one line, no prefix).
class ToolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads a regular file of at most `maxSize` bytes (ToolError otherwise).
TByteVector ReadFileBounded(const std::filesystem::path& path, uintmax_t maxSize);

// Writes `bytes` to a temporary file beside `path`, then renames it over `path`, so an existing
// file is only replaced once the new one is complete.
void WriteFileReplacing(const std::filesystem::path& path, TByteSpan bytes);

// A display form of a path for messages.
std::string Shown(const std::filesystem::path& path);

}  // namespace zelvo::tools
