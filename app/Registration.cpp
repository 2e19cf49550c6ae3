#include "app/Registration.h"

#include <cstdio>

#include "util/Util.h"

namespace zelvo {

TRegistrationSettings ReadRegistrationSettings(const TIniFile& ini) {
  TRegistrationSettings s;
  s.sku = ini.ReadString("General", "SKU", "");
  s.pageAddress = ini.ReadString("General", "URL", "");
  s.product = ini.ReadString("General", "Product", "");
  return s;
}

std::string SettingsFilePath(const std::string& programPath) {
  return ProgramDirFile(ChangeFileExt(programPath, ".ini"));
}

bool IsSilentArgument(std::string_view arg) { return LowerAscii(std::string(arg)) == "silent"; }

std::string RegistrationTarget(const std::string& pageAddress, const std::string& sku) {
  return pageAddress + sku;
}

bool HasWebScheme(std::string_view address) {
  size_t colon = address.find(':');
  if (colon == std::string_view::npos) return false;
  std::string scheme = LowerAscii(std::string(address.substr(0, colon)));
  return scheme == "http" || scheme == "https";
}

bool MayOpenAddress(std::string_view address) {
  return address.size() <= kMaxWebAddress && HasWebScheme(address);
}

namespace {
// The argument as one program argument: quoted when it holds blanks or quotes, with quotes and the
// backslashes before them escaped as the usual argument parser expects.
std::wstring QuotedArgument(std::wstring_view argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring_view::npos) {
    return std::wstring(argument);
  }
  std::wstring out = L"\"";
  size_t slashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++slashes;
    } else if (c == L'"') {
      out.append(slashes + 1, L'\\');
      slashes = 0;
    } else {
      slashes = 0;
    }
    out += c;
  }
  out.append(slashes, L'\\');
  out += L'"';
  return out;
}
}  // namespace

std::wstring ExpandOpenCommand(std::wstring_view command, std::wstring_view argument) {
  std::wstring out;
  bool placed = false;
  bool quoted = false;  // inside a quoted part of the command
  for (size_t i = 0; i < command.size(); ++i) {
    const wchar_t c = command[i];
    if (c == L'"') quoted = !quoted;
    if (c != L'%' || i + 1 >= command.size()) {
      out += c;
      continue;
    }
    const wchar_t next = command[++i];
    if (next == L'1' || next == L'l' || next == L'L') {
      out += quoted ? std::wstring(argument) : QuotedArgument(argument);
      placed = true;
    } else if (next == L'%') {
      out += L'%';
    } else if (next == L'*' || (next >= L'0' && next <= L'9') || next == L'i' || next == L'I') {
      // No further arguments and no item list: these stand for nothing.
    } else {
      out += c;
      out += next;
    }
  }
  if (out.empty()) return out;
  if (!placed) {
    out += L' ';
    out += QuotedArgument(argument);
  }
  return out;
}

}  // namespace zelvo
