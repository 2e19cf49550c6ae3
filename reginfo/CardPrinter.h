// The registration card on a real printer: a GDI canvas on the printer's device context and the
// print job on the default printer (no print dialog, an empty document name).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "framework/Graphics.h"
#include "reginfo/CardLayout.h"
#include "util/Exceptions.h"

namespace zelvo {

// A printing failure; its message is what the user is shown.
class EPrinterError : public Exception {
 public:
  using Exception::Exception;
};

// Owner of a printer device context (CreateDC / DeleteDC).
using TPrinterDC = UniqueDC;

// The device context of the default printer. Throws EPrinterError when there is none.
TPrinterDC OpenDefaultPrinter(std::string* printerName = nullptr);

// One open document of one page on a printer DC: StartDoc (with an empty document name) and
// StartPage on construction, EndPage and EndDoc on End(). A document that was not ended is
// aborted by the destructor, so nothing half-drawn ever reaches the printer.
class TPrintDocument {
 public:
  explicit TPrintDocument(HDC dc);
  ~TPrintDocument();
  TPrintDocument(TPrintDocument&& o) noexcept : dc_(std::exchange(o.dc_, nullptr)) {}
  TPrintDocument& operator=(TPrintDocument&&) = delete;
  TPrintDocument(const TPrintDocument&) = delete;
  TPrintDocument& operator=(const TPrintDocument&) = delete;

  // Finishes the page and the document; on failure the document is aborted and EPrinterError
  // thrown.
  void End();
  // Discards the document now (does nothing once ended or aborted).
  void Abort();

 private:
  HDC dc_ = nullptr;  // null once ended or aborted
};

// The card's canvas on a device context: fonts by name, points and style (points become device
// units at the device's vertical resolution), opaque text and rectangles with the DC's default
// pen and brush. Every failed GDI call throws EPrinterError.
class TGdiCardCanvas : public CardCanvas {
 public:
  explicit TGdiCardCanvas(HDC dc);
  ~TGdiCardCanvas() override;
  TGdiCardCanvas(const TGdiCardCanvas&) = delete;
  TGdiCardCanvas& operator=(const TGdiCardCanvas&) = delete;

  void SetFontName(const std::string& name) override;
  void SetFontSize(int32_t points) override;
  void SetFontStyle(uint8_t styles) override;
  void TextOutAt(int32_t x, int32_t y, const std::string& text) override;
  int32_t TextWidth(const std::string& text) override;
  CardTextSize TextExtent(const std::string& text) override;
  void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;

 private:
  void RealizeFont();  // selects a font made from the current settings, when they changed

  HDC dc_;
  HGDIOBJ originalFont_ = nullptr;
  UniqueGdi<HFONT> font_;
  std::string fontName_ = "Arial";
  int32_t fontPoints_ = 12;
  uint8_t fontStyle_ = 0;
  bool fontDirty_ = true;
};

// The card's printer: the default printer, looked up when the document begins.
class TWinCardPrinter : public CardPrinter {
 public:
  TWinCardPrinter() = default;
  void BeginDoc() override;
  void EndDoc() override;
  void Abort() override;
  int32_t PageWidth() override;
  int32_t PageHeight() override;
  CardCanvas& Canvas() override;

  HDC DC() const { return dc_.Get(); }

 private:
  HDC RequireDC() const;

  // Destroyed in reverse order: the document is aborted (if open) before its canvas lets go of
  // the font and before the DC is deleted.
  TPrinterDC dc_;
  std::optional<TGdiCardCanvas> canvas_;
  std::optional<TPrintDocument> document_;
};

}  // namespace zelvo
