// A sample window frame drawn from a skin alone, for skin authors: the frame exactly as the
// skinned window composes it, the client area in the skin's ButtonFace colour, everything outside
// the window region in a backdrop colour, and the caption text as a plain bar (the real text
// needs the platform's fonts).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/render/FormSkin_core.h"

namespace zelvo {

struct TPreviewOptions {
  int32_t Width = 418;
  int32_t Height = 275;
  std::string Caption = "Zelvo";
  bool Active = true;
  bool Maximized = false;
  uint32_t Style = 0x00CF0000u;  // an overlapped window: caption, system menu, sizing, both boxes
  uint32_t ExStyle = 0;
  // Measured size of "  caption " in the caption font; 0 estimates 7 pixels a character and the
  // skin's FontHeight.
  int32_t TextWidth = 0;
  int32_t TextHeight = 0;
  const TBitmap32* Icon = nullptr;  // small icon for the system-menu button; none leaves it out
  TPixel Backdrop = MakePixel(0x80, 0x80, 0x80);
};

// Largest preview the tool draws (a sample frame, not a screen).
inline constexpr int32_t kPreviewMaxSide = 4096;

struct TPreview {
  TBitmap32 Bitmap;
  TFrameLayout Layout;
  std::vector<TRectI> Region;
};

// Sizes are clamped to [1, kPreviewMaxSide].
TPreview RenderPreview(const TSkinObjects& skin, const TPreviewOptions& options);

// The window style word for a style name ("sizeable", "single", "dialog", "toolwindow",
// "popup"); false for an unknown name.
bool PreviewStyleByName(const std::string& name, uint32_t& style);

// A colour from the skin's table as a pixel: system colours become the platform's usual defaults.
TPixel PreviewColour(TColor colour);

}  // namespace zelvo
