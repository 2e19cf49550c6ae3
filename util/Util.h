// String and path helpers shared across the program, and the program directory.
// Texts are 8-bit byte strings; positions are 1-based where a routine returns one.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace zelvo {

// The program's own directory, without a trailing backslash except for a drive root.
// Set once at start-up, before any window exists.
extern std::string ProgramDir;

std::string DoubleAmpersands(std::string text);
// The accelerator a caption marks: the character after a single "&" ("&&" is a plain ampersand),
// as written; 0 when there is none.
char AcceleratorChar(std::string_view caption);
std::string RemoveChar(std::string text, char ch);
std::string RemoveChars(std::string text, std::string_view set);
std::string RemoveSpaces(std::string text);
int32_t MaxOf(std::span<const int32_t> values);  // values must not be empty
int32_t MaxOf(std::initializer_list<int32_t> values);
int32_t RoundOff(long double x);
int LastPos(std::string_view sub, std::string_view text);  // 1-based, 0 when absent
bool EndsWithChar(char ch, std::string_view text);
std::string TrimBackslash(std::string text);
std::string PathJoin(const std::string& fileName, const std::string& dir);
std::string FileInDir(const std::string& path, const std::string& dir);
std::string ProgramDirFile(const std::string& path);

// Path pieces with backslash and colon as separators.
std::string ExtractFilePath(const std::string& path);  // directory part, with its trailing separator
std::string ExtractFileName(const std::string& path);  // file-name part
// Replaces the extension of the file-name part (from its last "."), or appends one when it has none.
std::string ChangeFileExt(const std::string& path, std::string_view ext);

// Reads a text of unknown length through a call that fills a buffer of the given size and answers
// how many characters it wrote (the program path's call, for one). An answer that fills the
// whole buffer may be a cut text, so the buffer grows until the answer is shorter; 0 is a failure
// and gives the empty text. A text that still fills maxLength characters is a failure (Exception).
using TFillBuffer = std::function<uint32_t(char* buffer, uint32_t size)>;
std::string ReadWholeText(const TFillBuffer& fill, uint32_t maxLength);

// Lower-cases the letters A to Z only (other bytes are left alone).
std::string LowerAscii(std::string text);

}  // namespace zelvo
