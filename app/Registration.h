// Start-up and online-registration rules that need no window: the command line, the settings
// file and the registration address.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "util/IniFile.h"

namespace zelvo {

// The registration page used when the settings file names none.
inline constexpr const char* kDefaultRegistrationPage = "https://www.zelvosoft.com/register.asp";

struct TRegistrationSettings {
  std::string sku;
  std::string pageAddress;
  std::string product;
};

// [General] SKU, URL and Product, each empty when absent.
TRegistrationSettings ReadRegistrationSettings(const TIniFile& ini);

// The settings file: the program file's name with the extension ".ini", in the program directory.
std::string SettingsFilePath(const std::string& programPath);

// True when argument 1 selects silent mode ("silent" in any letter case, nothing else).
bool IsSilentArgument(std::string_view arg);

// The address handed to the shell: the page address immediately followed by the SKU.
std::string RegistrationTarget(const std::string& pageAddress, const std::string& sku);

// Only web addresses (scheme http or https, any letter case) may be handed to the shell's "open":
// anything else could start a program or open a local file.
bool HasWebScheme(std::string_view address);

// The longest address browsers accept. A longer one is refused before it reaches the shell, which
// cannot be trusted with it (some shells overrun a fixed buffer on a long address).
inline constexpr size_t kMaxWebAddress = 2083;

// True when the address may be handed to the shell: a web address of at most kMaxWebAddress
// characters. Anything else is reported as a page that could not be opened.
bool MayOpenAddress(std::string_view address);

// Addresses at least this long are not given to the shell's execute call, which copies its file
// argument into path-sized buffers on some systems (and overruns them); they go straight to the
// command the system registers for the address's scheme.
inline constexpr size_t kLongShellFile = 260;

// The command line that opens `argument` with a registered command such as
//   "C:\Program Files\Browser\browser.exe" --single-argument %1
// %1 and %L become the argument, %% a percent sign, %* and the other numbered placeholders
// nothing; without any %1 or %L the argument is appended. An argument put where no quotes surround
// it is quoted when it holds a space, tab or quote (quotes inside it are escaped for the program's
// argument parser). Empty when the command is empty.
std::wstring ExpandOpenCommand(std::wstring_view command, std::wstring_view argument);

// The shell's answer: greater than 32 means it accepted the request.
constexpr bool ShellSucceeded(uintptr_t result) { return result > 32; }

}  // namespace zelvo
