#include "skin/render/SkinScale.h"

#include <algorithm>
#include <array>
#include <new>
#include <string>

#include "skin/render/NinePart.h"

namespace zelvo {
namespace {

// One axis of a frame cell: its three parts (fixed start, middle, fixed end) at 96 dpi and at
// the target DPI.
struct TAxisPlan {
  std::array<int32_t, 4> From{};  // 96-dpi boundaries within the cell
  std::array<int32_t, 4> To{};    // the same boundaries at the target DPI
  int32_t Cell() const { return From[3]; }
  int32_t ScaledCell() const { return To[3]; }
};

// Fixed edges that do not fit the cell are no slicing at all, as the nine-part rendering treats
// them. The middle takes what is left of the scaled cell, and keeps at least a pixel when it had
// one, so the drawing never finds a sliced cell without its middle where the 96-dpi one had it;
// a cell of edges alone stays edges alone (the two rounded edges may differ from the rounded
// cell by a pixel: the cell follows its edges).
TAxisPlan PlanAxis(int32_t cell, int32_t start, int32_t end, int32_t dpi) {
  int32_t a = std::max(start, 0), b = std::max(end, 0);
  if (static_cast<int64_t>(a) + b > cell) a = b = 0;
  const int32_t middle = cell - a - b;
  const int32_t a2 = ScaleLength(a, dpi), b2 = ScaleLength(b, dpi);
  const int32_t middle2 = middle > 0 ? std::max(ScaleLength(cell, dpi) - a2 - b2, 1) : 0;
  TAxisPlan p;
  p.From = {0, a, a + middle, cell};
  p.To = {0, a2, a2 + middle2, a2 + middle2 + b2};
  return p;
}

struct TGridPlan {
  int32_t Count = 0;  // frame cells along the frame axis
  TAxisPlan X, Y;     // the columns and rows of one cell
};

TGridPlan PlanGrid(const TBitmap32& art, const TArtGrid& grid, int32_t dpi) {
  TGridPlan p;
  if (art.Empty()) return p;
  const int32_t extent = grid.Stacked ? art.Height : art.Width;
  p.Count = std::clamp(grid.Frames, 1, extent);
  const int32_t cell = extent / p.Count;
  p.X = PlanAxis(grid.Stacked ? art.Width : cell, grid.Left, grid.Right, dpi);
  p.Y = PlanAxis(grid.Stacked ? cell : art.Height, grid.Top, grid.Bottom, dpi);
  return p;
}

TSizeI PlannedSize(const TGridPlan& p, bool stacked) {
  if (p.Count == 0) return {};
  const int64_t w = static_cast<int64_t>(p.X.ScaledCell()) * (stacked ? 1 : p.Count);
  const int64_t h = static_cast<int64_t>(p.Y.ScaledCell()) * (stacked ? p.Count : 1);
  // Art is at most 16384 pixels a side and the scale at most 10: far inside int32.
  return {static_cast<int32_t>(w), static_cast<int32_t>(h)};
}

// ---- The skin's bitmaps and how each is cut -------------------------------------------------

TArtGrid GridOf(const TDataSkinObject& o, bool stacked) {
  return TArtGrid{std::max(o.FrameCount, 1), stacked, o.LeftWidth, o.TopHeight, o.RightWidth, o.BottomHeight};
}
TArtGrid Frames(int32_t frames) { return TArtGrid{std::max(frames, 1), false, 0, 0, 0, 0}; }

struct TArtJob {
  TBitmap32* Image;  // in the scaled skin; still the 96-dpi bitmap until drawn
  TArtGrid Grid;
};

// Every bitmap of the skin with its grid. The mirrored combo button is not among them: it is
// mirrored again from the scaled button.
std::vector<TArtJob> ArtJobs(TSkinObjects& s) {
  std::vector<TArtJob> jobs;
  auto add = [&](TBitmap32& image, const TArtGrid& grid) {
    if (!image.Empty()) jobs.push_back({&image, grid});
  };
  add(s.Left.Image, GridOf(s.Left, false));
  add(s.Right.Image, GridOf(s.Right, false));
  add(s.Top.Image, GridOf(s.Top, true));
  add(s.Bottom.Image, GridOf(s.Bottom, true));
  // The caption text plate: two frames stacked, its ends fixed.
  add(s.Title.TextBack(), TArtGrid{2, true, s.Title.TXTBackleft, 0, s.Title.TXTBackRight, 0});
  add(s.Buttons.Image, GridOf(s.Buttons, false));
  add(s.Buttons.CheckImage, Frames(s.Buttons.CheckButtonFrame));
  add(s.Buttons.RadioImage, Frames(s.Buttons.RadioButtonFrame));
  for (auto& b : s.CaptionButtons) add(b->Image, Frames(b->FrameCount));
  if (s.MenuBar) add(s.MenuBar->Image, GridOf(*s.MenuBar, true));
  for (const TSkinObjects::TEntryRef& e : s.OptionalEntries()) {
    // The entries are the skin's own; OptionalEntries hands them out read-only.
    auto* o = const_cast<TDataSkinObject*>(e.Object);
    if (o != nullptr && o != s.MenuBar.get()) add(o->Image, GridOf(*o, false));
  }
  // Second images: the tab page is drawn with the tabs' slicing, the progress chunk whole, the
  // up-down glyphs in the entry's frames.
  if (s.Tabs) add(s.Tabs->Image2, TArtGrid{1, false, s.Tabs->LeftWidth, s.Tabs->TopHeight, s.Tabs->RightWidth,
                                           s.Tabs->BottomHeight});
  if (s.Progress) add(s.Progress->Image2, Frames(1));
  for (TDataSkinBorder* u : {s.UpDownHorz.get(), s.UpDownVert.get()}) {
    if (u != nullptr) add(u->Image2, Frames(u->FrameCount));
  }
  return jobs;
}

void ScaleLengths(TDataSkinObject& o, int32_t dpi) {
  o.LeftWidth = ScaleLength(o.LeftWidth, dpi);
  o.TopHeight = ScaleLength(o.TopHeight, dpi);
  o.RightWidth = ScaleLength(o.RightWidth, dpi);
  o.BottomHeight = ScaleLength(o.BottomHeight, dpi);
}

void ScaleAllLengths(TSkinObjects& s, int32_t dpi) {
  for (TDataSkinObject* o : {static_cast<TDataSkinObject*>(&s.Left), static_cast<TDataSkinObject*>(&s.Right),
                             static_cast<TDataSkinObject*>(&s.Top), static_cast<TDataSkinObject*>(&s.Bottom),
                             static_cast<TDataSkinObject*>(&s.Title), static_cast<TDataSkinObject*>(&s.Buttons)}) {
    ScaleLengths(*o, dpi);
  }
  // Title: TextShift, TextShiftVert and TextRightClip are its slicing slots, scaled above.
  s.Title.TXTBackleft = ScaleLength(s.Title.TXTBackleft, dpi);
  s.Title.TXTBackRight = ScaleLength(s.Title.TXTBackRight, dpi);
  s.Title.FontHeight = ScaleLength(s.Title.FontHeight, dpi);
  for (auto& b : s.CaptionButtons) {
    ScaleLengths(*b, dpi);
    b->Xcoord = ScaleLength(b->Xcoord, dpi);
    b->Ycoord = ScaleLength(b->Ycoord, dpi);
  }
  for (const TSkinObjects::TEntryRef& e : s.OptionalEntries()) {
    if (e.Object != nullptr) ScaleLengths(*const_cast<TDataSkinObject*>(e.Object), dpi);
  }
  if (s.GroupBox) {
    s.GroupBox->BackgroundLeftShift = ScaleLength(s.GroupBox->BackgroundLeftShift, dpi);
    s.GroupBox->BackgroundRightShift = ScaleLength(s.GroupBox->BackgroundRightShift, dpi);
  }
}

// The 96-dpi skin standing in for a scaled one, with the reason.
TSkinObjects Unscaled(const TSkinObjects& skin, const std::string& why) {
  TSkinObjects out = skin.Clone();
  out.Warnings.push_back(why);
  return out;
}

}  // namespace

int32_t SkinDpi(int32_t dpi) { return std::clamp(dpi, kDesignDpi, kMaxSkinDpi); }

TArtSource ArtSourceFor(int32_t dpi, bool has2x) {
  dpi = SkinDpi(dpi);
  if (!has2x || dpi == kDesignDpi) return TArtSource::Art96;
  // Whole scales are drawn in square blocks: from the 200 % art when it divides the scale.
  if (dpi % kDesignDpi == 0) return (dpi / kDesignDpi) % 2 == 0 ? TArtSource::Art2x : TArtSource::Art96;
  return TArtSource::Art2x;
}

TSizeI ScaledArtSize(const TBitmap32& art, const TArtGrid& grid, int32_t dpi) {
  return PlannedSize(PlanGrid(art, grid, SkinDpi(dpi)), grid.Stacked);
}

TBitmap32 ScaleArt(const TBitmap32& art, const TBitmap32* art2x, const TArtGrid& grid, int32_t dpi) {
  dpi = SkinDpi(dpi);
  const TGridPlan plan = PlanGrid(art, grid, dpi);
  const TSizeI size = PlannedSize(plan, grid.Stacked);
  if (size.cx <= 0 || size.cy <= 0) return {};
  const bool twice = art2x != nullptr && art2x->Width == 2 * static_cast<int64_t>(art.Width) &&
                     art2x->Height == 2 * static_cast<int64_t>(art.Height) &&
                     ArtSourceFor(dpi, true) == TArtSource::Art2x;
  const TBitmap32& source = twice ? *art2x : art;
  const int32_t f = twice ? 2 : 1;  // source pixels per 96-dpi pixel

  TBitmap32 out(size.cx, size.cy);
  for (int32_t k = 0; k < plan.Count; ++k) {
    // The cell's origin at 96 dpi and in the output.
    const int32_t fromX = grid.Stacked ? 0 : k * plan.X.Cell(), fromY = grid.Stacked ? k * plan.Y.Cell() : 0;
    const int32_t toX = grid.Stacked ? 0 : k * plan.X.ScaledCell(), toY = grid.Stacked ? k * plan.Y.ScaledCell() : 0;
    for (int row = 0; row < 3; ++row) {
      for (int col = 0; col < 3; ++col) {
        const TRectI from{f * (fromX + plan.X.From[col]), f * (fromY + plan.Y.From[row]),
                          f * (fromX + plan.X.From[col + 1]), f * (fromY + plan.Y.From[row + 1])};
        const TRectI to{toX + plan.X.To[col], toY + plan.Y.To[row], toX + plan.X.To[col + 1],
                        toY + plan.Y.To[row + 1]};
        StretchCopy(out, to, source, from, false);
      }
    }
  }
  return out;
}

TSkinObjects ScaleSkin(const TSkinObjects& skin, int32_t dpi) {
  dpi = SkinDpi(dpi);
  // Only the loaded skin is scaled: scaling a scaled one again would scale its lengths twice.
  if (dpi == kDesignDpi || skin.Dpi != kDesignDpi) return skin.Clone();
  try {
    TSkinObjects out = skin.Clone();
    out.Art2x.clear();
    const std::vector<TArtJob> jobs = ArtJobs(out);
    uint64_t bytes = 0;
    auto charge = [&](const TBitmap32& image, const TArtGrid& grid) {
      const TSizeI size = ScaledArtSize(image, grid, dpi);
      bytes += static_cast<uint64_t>(size.cx) * static_cast<uint64_t>(size.cy) * sizeof(TPixel);
    };
    for (const TArtJob& j : jobs) charge(*j.Image, j.Grid);
    if (out.ComboButton && !out.ComboButton->Image2.Empty()) charge(out.ComboButton->Image, GridOf(*out.ComboButton, false));
    if (bytes > kScaledSkinBudget) {
      return Unscaled(skin, "The skin's bitmaps would need " + std::to_string(bytes >> 20) + " MiB at " +
                                std::to_string(dpi) + " dpi (at most " + std::to_string(kScaledSkinBudget >> 20) +
                                " MiB): it is drawn at 96 dpi there");
    }
    // Each bitmap is still the 96-dpi one here (sharing the loaded skin's pixels), so its 200 %
    // art is found by those pixels.
    for (const TArtJob& j : jobs) *j.Image = ScaleArt(*j.Image, skin.Art2xOf(*j.Image), j.Grid, dpi);
    if (out.ComboButton && !out.ComboButton->Image2.Empty()) {
      out.ComboButton->Image2 = out.ComboButton->Image.Mirrored();
      out.ComboButton->Image2.SourceBits = 24;
    }
    ScaleAllLengths(out, dpi);
    out.Dpi = dpi;
    out.ImageBytes = static_cast<size_t>(bytes);
    return out;
  } catch (const std::bad_alloc&) {
    return Unscaled(skin, "Not enough memory to draw the skin at " + std::to_string(dpi) + " dpi: it is drawn at 96 dpi there");
  }
}

const TSkinObjects& TScaledSkins::At(int32_t dpi) {
  dpi = SkinDpi(dpi);
  if (dpi == kDesignDpi) return skin_;
  for (const auto& [d, s] : scaled_) {
    if (d == dpi) return *s;
  }
  if (scaled_.size() == kMaxDpis) scaled_.erase(scaled_.begin());
  scaled_.emplace_back(dpi, std::make_unique<TSkinObjects>(ScaleSkin(skin_, dpi)));
  return *scaled_.back().second;
}

}  // namespace zelvo
