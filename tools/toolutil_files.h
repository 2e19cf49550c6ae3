// Helpers shared by the skin command-line tools: whole-file reads with a size bound, writes that
// never leave a half-written file behind, and the common command-line and error handling.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "skin/file/SkinRead.h"

namespace zelvo::tools {

// A failure the tool reports to the user as it is (one line, no prefix).
class ToolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads a regular file of at most `maxSize` bytes (ToolError otherwise).
TByteVector ReadFileBounded(const std::filesystem::path& path, uintmax_t maxSize);

// Writes `bytes` to `path` through a temporary file of a unique name in the same folder, created
// exclusively (an existing file or link of that name is never opened, so never followed), then
// renamed into place. With `replace` false an existing `path` (a link, even a dangling one,
// included) is left alone and ToolError raised; with `replace` true the name is replaced, never
// the file a link points to. On any failure the temporary file is removed.
void WriteFileSafely(const std::filesystem::path& path, TByteSpan bytes, bool replace);
// The same, replacing an existing file.
inline void WriteFileReplacing(const std::filesystem::path& path, TByteSpan bytes) {
  WriteFileSafely(path, bytes, true);
}

// True when something (a file, folder or link, even a dangling one) has that name.
bool NameTaken(const std::filesystem::path& path);

// A name from outside made safe to print: control characters (and the backslash that starts the
// escapes) shown as \xNN or \\, so no terminal sequence reaches the screen.
std::string EscapedName(std::string_view name);

// A display form of a path for messages, its control characters escaped.
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
