// A small system dialog ("#32770") made from a dialog template in memory: a label, an edit, a
// check box and two buttons. The gallery shows it so that a skin author sees the skin on a
// window the program did not make, as message boxes and the system's dialogs get it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace zelvo::gallery {

inline constexpr char kSampleDialogTitle[] = "A system dialog";
inline constexpr int kSampleEditId = 101;
inline constexpr int kSampleCheckId = 102;

// The dialog template (DLGTEMPLATE and its items, DWORD-aligned as the system reads them).
std::vector<uint8_t> SampleDialogTemplate();

// Shows the dialog modally over `owner`; returns IDOK or IDCANCEL.
INT_PTR RunSampleDialog(HWND owner);

}  // namespace zelvo::gallery
