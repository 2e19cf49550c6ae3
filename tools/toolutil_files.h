// Helpers shared by the skin command-line tools: whole-file reads with a size bound, writes that
// never leave a half-written file behind, and the common command-line and error handling.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

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

// Writes text to standard output as it is.
void Print(const std::string& text);

// Reads a tool's arguments in order. "-h" or "--help" prints `usage` to standard output and ends
// the tool with status 0. Any other argument that starts with '-' (but is not "-" alone) goes to
// `option`, which applies it and returns true, or returns false for one it does not know: that
// is reported on standard error as "<tool>: unknown option ..." and ends the tool with status 2.
// The other arguments are appended to `positional`. Returns the status to end with, or nothing
// when the tool goes on.
std::optional<int> ReadArguments(int argc, char** argv, const char* tool, const char* usage,
                                 const std::function<bool(const std::string&)>& option,
                                 std::vector<std::string>& positional);

// Runs the tool's work and returns its status; an exception it throws is reported on standard
// error as "<tool>: <message>" and gives status 1.
int RunReportingErrors(const char* tool, const std::function<int()>& work);

}  // namespace zelvo::tools
