// Drives the registration form's real print path for tests/e2e/print_e2e.sh: starts as the
// program starts (the same start-up, so the skin manager skins the form and every dialog with
// the program's skin), fills the answers, shows the form modally on the desktop and reports on
// standard output what happens while the script acts as the user (it presses Enter and answers
// the question dialogs with keys):
//   page W H dpiX dpiY offsetX offsetY   the printer's printable area and its geometry
//   extent TEXT cx cy                     each text measured through TextExtent (among them "X")
//   dialog TITLE|MESSAGE                  every message dialog, once, when it has settled
//   result N                              the form's modal result
// The printer is the real default printer; it is wrapped only to report its geometry and, with
// the argument "fail-mid-job", to fail when the stamp box is drawn, after the questions.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/Program.h"
#include "framework/Forms.h"
#include "controls/zcdateedit.h"
#include "reginfo/CardPrinter.h"
#include "reginfo/RegInfo.h"
#include "util/WinUtil.h"

using namespace zelvo;

namespace {

void Report(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

// Passes every call on to the real canvas, reporting measurements of whole texts.
class ReportingCanvas : public CardCanvas {
 public:
  ReportingCanvas(CardCanvas& inner, bool failOnRectangle) : inner_(inner), fail_(failOnRectangle) {}
  void SetFontName(const std::string& name) override { inner_.SetFontName(name); }
  void SetFontSize(int32_t points) override { inner_.SetFontSize(points); }
  void SetFontStyle(uint8_t styles) override { inner_.SetFontStyle(styles); }
  void TextOutAt(int32_t x, int32_t y, const std::string& text) override { inner_.TextOutAt(x, y, text); }
  int32_t TextWidth(const std::string& text) override { return inner_.TextWidth(text); }
  CardTextSize TextExtent(const std::string& text) override {
    const CardTextSize size = inner_.TextExtent(text);
    Report("extent " + text + "|" + std::to_string(size.cx) + " " + std::to_string(size.cy));
    return size;
  }
  void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
    if (fail_) throw EPrinterError("The printer stopped in the middle of the registration card.");
    inner_.Rectangle(left, top, right, bottom);
  }

 private:
  CardCanvas& inner_;
  bool fail_;
};

class ReportingPrinter : public CardPrinter {
 public:
  explicit ReportingPrinter(bool failMidJob) : failMidJob_(failMidJob) {}
  void BeginDoc() override {
    printer_.BeginDoc();
    HDC dc = printer_.DC();
    Report("page " + std::to_string(GetDeviceCaps(dc, HORZRES)) + " " + std::to_string(GetDeviceCaps(dc, VERTRES)) +
           " " + std::to_string(GetDeviceCaps(dc, LOGPIXELSX)) + " " + std::to_string(GetDeviceCaps(dc, LOGPIXELSY)) +
           " " + std::to_string(GetDeviceCaps(dc, PHYSICALOFFSETX)) + " " +
           std::to_string(GetDeviceCaps(dc, PHYSICALOFFSETY)));
    canvas_ = std::make_unique<ReportingCanvas>(printer_.Canvas(), failMidJob_);
  }
  void EndDoc() override {
    printer_.EndDoc();
    Report("ended");
  }
  void Abort() override {
    printer_.Abort();
    Report("aborted");
  }
  int32_t PageWidth() override { return printer_.PageWidth(); }
  int32_t PageHeight() override { return printer_.PageHeight(); }
  CardCanvas& Canvas() override { return *canvas_; }

 private:
  TWinCardPrinter printer_;
  std::unique_ptr<ReportingCanvas> canvas_;
  bool failMidJob_;
};

// Reports each message dialog once it is visible and has had a moment to settle its focus.
HWND g_lastDialog = nullptr;
int g_settle = 0;
void CALLBACK WatchDialogs(HWND, UINT, UINT_PTR, DWORD) {
  for (TForm* f : Application->Forms()) {
    auto* dlg = dynamic_cast<TMessageForm*>(f);
    HWND h = dlg ? dlg->HandleIfCreated() : nullptr;
    if (!h || !IsWindowVisible(h) || h == g_lastDialog) continue;
    if (++g_settle < 4) return;
    g_settle = 0;
    g_lastDialog = h;
    auto* message = dlg->Find<TLabel>("Message");
    Report("dialog " + dlg->Caption() + "|" + (message ? message->Caption() : std::string()));
    return;
  }
}

void Fill(TRegisterForm& form) {
  form.EName->SetText("Ada Lovelace");
  form.EAddress1->SetText("12 St James's Square");
  form.EAddress2->SetText("Flat 3");
  form.ECity->SetText("London");
  form.EState->SetText("ldn");  // the field turns it to capitals
  form.EPostalCode->SetText("SW1Y 4LB");
  form.ECountry->SetText("United Kingdom");
  form.EAge->SetText("36");
  form.RSex->SetItemIndex(1);
  form.EPhone->SetText("+44 20 7946 0018");
  form.EEMail->SetText("ada@example.org");
  form.CPurchased->SetText("Corner Computer Shop");
  form.CPurchasedChange();
  form.EStoreType->SetText("Independent");
  form.EComputerType->SetText("Analytical Engine");
  form.MComments->SetText(
      "The engine weaves algebraic patterns just as the Jacquard loom weaves flowers and leaves, "
      "and the registration card should say so in a column of its own.\r\nA second paragraph.");
}

}  // namespace

int main(int argc, char** argv) {
  const bool failMidJob = argc > 1 && std::string(argv[1]) == "fail-mid-job";
  _setmode(_fileno(stdout), _O_BINARY);  // lines end in LF alone, as the script reads them
  TApplication app;
  if (!StartProgram(app)) return 1;
  // The main window stays hidden: its skin component serves the registration form and the
  // dialogs, as in the program.
  const TProgramForms forms =
      CreateProgramForms(app, std::vector<std::string>{"Zelvo Notes"}, std::make_unique<TWindowsShell>());
  TRegisterForm* form = forms.Register;
  if (!form) return 1;
  form->PrinterFactory = [failMidJob] { return std::make_unique<ReportingPrinter>(failMidJob); };
  Fill(*form);
  Report("date " + form->EDate->Text());
  Report("os " + form->EOS->Text());
  Report("ram " + form->ERAM->Text());

  SetTimer(nullptr, 0, 50, WatchDialogs);
  const int32_t result = form->ShowModal();
  Report("result " + std::to_string(result));
  StopUtilities();
  return 0;
}
