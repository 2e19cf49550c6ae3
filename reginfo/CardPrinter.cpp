#include "reginfo/CardPrinter.h"

#include <winspool.h>

#include <limits>
#include <vector>

namespace zelvo {

namespace {
[[noreturn]] void Fail(const std::string& what) {
  throw EPrinterError("The registration card could not be printed: " + what + " failed on the printer");
}

int TextLength(const std::string& text) {
  if (text.size() > static_cast<size_t>(std::numeric_limits<int>::max())) {
    throw EPrinterError("The registration card could not be printed: a text is too long");
  }
  return static_cast<int>(text.size());
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// TPrinterDC

TPrinterDC OpenDefaultPrinter(std::string* printerName) {
  DWORD size = 0;
  GetDefaultPrinterA(nullptr, &size);
  if (size == 0) {
    throw EPrinterError("There is no default printer. Install a printer or choose a default printer, "
                        "then print the registration again.");
  }
  std::vector<char> name(size + 1, '\0');
  if (!GetDefaultPrinterA(name.data(), &size)) {
    throw EPrinterError("There is no default printer. Install a printer or choose a default printer, "
                        "then print the registration again.");
  }
  const std::string printer(name.data());
  // The printer's current settings: no device mode of our own.
  HDC dc = CreateDCA("WINSPOOL", printer.c_str(), nullptr, nullptr);
  if (!dc) {
    throw EPrinterError("The default printer \"" + printer + "\" cannot be opened.");
  }
  if (printerName) *printerName = printer;
  return TPrinterDC(dc);
}

// ---------------------------------------------------------------------------------------------
// TPrintDocument

TPrintDocument::TPrintDocument(HDC dc) {
  DOCINFOA info{};
  info.cbSize = sizeof info;
  info.lpszDocName = "";  // the card's job has no name
  if (StartDocA(dc, &info) <= 0) Fail("starting the document");
  if (StartPage(dc) <= 0) {
    AbortDoc(dc);
    Fail("starting the page");
  }
  dc_ = dc;
}

TPrintDocument::~TPrintDocument() { Abort(); }

void TPrintDocument::End() {
  if (!dc_) return;
  HDC dc = dc_;
  if (EndPage(dc) <= 0) {
    Abort();
    Fail("finishing the page");
  }
  dc_ = nullptr;
  // After a failed EndDoc the spooler has already given up on the job; there is nothing to abort.
  if (EndDoc(dc) <= 0) Fail("finishing the document");
}

void TPrintDocument::Abort() {
  if (!dc_) return;
  AbortDoc(std::exchange(dc_, nullptr));
}

// ---------------------------------------------------------------------------------------------
// TGdiCardCanvas

TGdiCardCanvas::TGdiCardCanvas(HDC dc) : dc_(dc) {}

TGdiCardCanvas::~TGdiCardCanvas() {
  if (originalFont_) SelectObject(dc_, originalFont_);
}

void TGdiCardCanvas::SetFontName(const std::string& name) {
  if (name != fontName_) fontDirty_ = true;
  fontName_ = name;
}

void TGdiCardCanvas::SetFontSize(int32_t points) {
  if (points != fontPoints_) fontDirty_ = true;
  fontPoints_ = points;
}

void TGdiCardCanvas::SetFontStyle(uint8_t styles) {
  if (styles != fontStyle_) fontDirty_ = true;
  fontStyle_ = styles;
}

void TGdiCardCanvas::RealizeFont() {
  if (!fontDirty_ && font_) return;
  const int dpi = GetDeviceCaps(dc_, LOGPIXELSY);
  if (dpi <= 0) Fail("reading the resolution");
  LOGFONTA lf{};
  lf.lfHeight = -MulDiv(fontPoints_, dpi, 72);  // character height, as a point size means it
  lf.lfWeight = (fontStyle_ & kCardFontBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (fontStyle_ & kCardFontItalic) ? 1 : 0;
  lf.lfUnderline = (fontStyle_ & kCardFontUnderline) ? 1 : 0;
  lf.lfStrikeOut = (fontStyle_ & kCardFontStrikeOut) ? 1 : 0;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH;
  lstrcpynA(lf.lfFaceName, fontName_.c_str(), LF_FACESIZE);
  UniqueGdi<HFONT> font(CreateFontIndirectA(&lf));
  if (!font) Fail("creating the font " + fontName_);
  HGDIOBJ previous = SelectObject(dc_, font.Get());
  if (!previous || previous == HGDI_ERROR) Fail("selecting the font " + fontName_);
  if (!originalFont_) originalFont_ = previous;
  font_ = std::move(font);  // the font it replaces is no longer selected
  fontDirty_ = false;
}

void TGdiCardCanvas::TextOutAt(int32_t x, int32_t y, const std::string& text) {
  RealizeFont();
  const int length = TextLength(text);
  if (length == 0) return;  // an empty line takes its place and shows nothing
  // Each character is placed at the advance GDI measures for it, so the printed text is exactly
  // as wide as the layout measured it: some printer drivers would otherwise place the glyphs by
  // the font's unscaled widths and lines and dash rows would come out shorter or longer.
  std::vector<int> ends(static_cast<size_t>(length));
  SIZE size{};
  if (!GetTextExtentExPointA(dc_, text.c_str(), length, 0, nullptr, ends.data(), &size)) Fail("measuring text");
  std::vector<int> advances(ends.size());
  for (size_t i = 0; i < ends.size(); ++i) advances[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
  if (!ExtTextOutA(dc_, x, y, 0, nullptr, text.c_str(), static_cast<UINT>(length), advances.data())) {
    Fail("drawing text");
  }
}

CardTextSize TGdiCardCanvas::TextExtent(const std::string& text) {
  RealizeFont();
  SIZE size{};
  if (!GetTextExtentPoint32A(dc_, text.c_str(), TextLength(text), &size)) Fail("measuring text");
  return CardTextSize{size.cx, size.cy};
}

int32_t TGdiCardCanvas::TextWidth(const std::string& text) { return TextExtent(text).cx; }

void TGdiCardCanvas::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (!::Rectangle(dc_, left, top, right, bottom)) Fail("drawing a rectangle");
}

// ---------------------------------------------------------------------------------------------
// TWinCardPrinter

void TWinCardPrinter::BeginDoc() {
  if (document_) throw EPrinterError("A registration card is already being printed.");
  canvas_.reset();
  dc_ = OpenDefaultPrinter();
  document_.emplace(dc_.Get());
  canvas_.emplace(dc_.Get());
}

void TWinCardPrinter::EndDoc() {
  if (!document_) throw EPrinterError("No registration card is being printed.");
  canvas_.reset();  // the DC gets its own font back before the job ends
  document_->End();
  document_.reset();
}

void TWinCardPrinter::Abort() {
  canvas_.reset();
  document_.reset();  // aborts an open document
}

HDC TWinCardPrinter::RequireDC() const {
  if (!dc_ || !document_) throw EPrinterError("No registration card is being printed.");
  return dc_.Get();
}

int32_t TWinCardPrinter::PageWidth() { return GetDeviceCaps(RequireDC(), HORZRES); }

int32_t TWinCardPrinter::PageHeight() { return GetDeviceCaps(RequireDC(), VERTRES); }

CardCanvas& TWinCardPrinter::Canvas() {
  RequireDC();
  return *canvas_;
}

}  // namespace zelvo
