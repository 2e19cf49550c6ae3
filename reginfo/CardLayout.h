// The printed registration card: one page, folded in three and mailed to the publisher.
//
// Everything here is portable. The Windows layer supplies a printer (document begin, end and abort,
// the printable area and a canvas) and the two question dialogs; the layout itself, its order of
// drawing and the handling of failures during the job live in this file.
//
// Page geometry is in printer device units. W and H are the printable area; cx and cy are the size
// of the text "X" in the base font (Arial, 12 point, no style). All arithmetic is integer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelvo {

// Font styles as a set of bits (the same bits as the framework's TFontStyle, so a Windows canvas
// can pass them straight on).
inline constexpr uint8_t kCardFontPlain = 0;
inline constexpr uint8_t kCardFontBold = 1;
inline constexpr uint8_t kCardFontItalic = 2;
inline constexpr uint8_t kCardFontUnderline = 4;
inline constexpr uint8_t kCardFontStrikeOut = 8;

struct CardTextSize {
  int32_t cx = 0;
  int32_t cy = 0;
  bool operator==(const CardTextSize&) const = default;
};

// The drawing surface of the card. Font changes apply to the texts drawn and measured after them.
// The pen and brush are the canvas's defaults throughout (thin solid black, solid white), so text
// is drawn opaque on white and rectangles are outlined black and filled white.
class CardCanvas {
 public:
  virtual ~CardCanvas() = default;
  virtual void SetFontName(const std::string& name) = 0;
  virtual void SetFontSize(int32_t points) = 0;  // converted to device units by the canvas
  virtual void SetFontStyle(uint8_t styles) = 0;  // kCardFont... bits
  // Draws the text with its top-left corner at (x, y).
  virtual void TextOutAt(int32_t x, int32_t y, const std::string& text) = 0;
  virtual int32_t TextWidth(const std::string& text) = 0;
  virtual CardTextSize TextExtent(const std::string& text) = 0;
  virtual void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
};

// The two Yes/No questions about the Americas. Each returns true exactly when Yes was chosen;
// closing a dialog any other way counts as No. Confirm offers Yes as the default button,
// ConfirmDefaultNo puts the focus on No.
class CardQuestions {
 public:
  virtual ~CardQuestions() = default;
  virtual bool Confirm(const std::string& message) = 0;
  virtual bool ConfirmDefaultNo(const std::string& message) = 0;
};

// The default printer for one card. BeginDoc starts a document with an empty name; the page size
// is the printable area in device units, read once the document has begun.
class CardPrinter {
 public:
  virtual ~CardPrinter() = default;
  virtual void BeginDoc() = 0;
  virtual void EndDoc() = 0;
  virtual void Abort() = 0;  // discards the open document
  virtual int32_t PageWidth() = 0;
  virtual int32_t PageHeight() = 0;
  virtual CardCanvas& Canvas() = 0;
};

// The registration form's answers as the card uses them (component names in the comments).
struct CardAnswers {
  std::string product;        // EProduct
  std::string age;            // EAge
  int32_t sexIndex = 2;       // RSex selected item: 0 Male, 1 Female, 2 Decline to state (-1 none)
  std::string phone;          // EPhone
  std::string email;          // EEMail
  std::string purchased;      // CPurchased text
  std::string storeType;      // EStoreType, printed whether the field is enabled or not
  std::string datePurchased;  // EDate, its displayed text
  std::string computerType;   // EComputerType
  std::string os;             // EOS
  std::string ram;            // ERAM
  // MComments text with word wrapping switched off: only the line breaks the user typed.
  std::string comments;
  std::string name;        // EName
  std::string address1;    // EAddress1
  std::string address2;    // EAddress2
  std::string city;        // ECity
  std::string state;       // EState
  std::string postalCode;  // EPostalCode
  std::string country;     // ECountry
};

struct CardMetrics {
  int32_t W = 0;   // printable width
  int32_t H = 0;   // printable height
  int32_t cx = 0;  // width of "X" in the base font
  int32_t cy = 0;  // height of "X" in the base font
};

// The card's fixed texts.
inline constexpr const char* kCardFontName = "Arial";
inline constexpr int32_t kCardBaseFontSize = 12;
inline constexpr int32_t kCardTitleFontSize = 20;
inline constexpr const char* kCardTitle = "Zelvo Product Registration";
inline constexpr const char* kAmericasQuestion = "Do you live in North, Central, or South America?";
inline constexpr const char* kAmericasConfirmYes =
    "You answered that you live in North, Central, or South America.  Are you sure?";
inline constexpr const char* kAmericasConfirmNo =
    "You answered that you DO NOT live in North, Central,  or South America.  Are you sure?";

// Largest page side accepted, in device units (a poster-size sheet at a high resolution fits).
inline constexpr int32_t kMaxCardPageSide = 1 << 20;

// Draws the card in its five stages. The constructor checks the measures and throws a
// zelvo::Exception with a clear message when the page or the font measures are unusable.
class CardLayout {
 public:
  CardLayout(CardCanvas& canvas, const CardMetrics& metrics);

  // Title, answers and comments.
  void PrintAnswers(const CardAnswers& answers);
  // Two rows of dashes and the three folding and sealing instructions.
  void PrintFoldMarks();
  // The buyer's name and address, as the sender.
  void PrintSenderBlock(const CardAnswers& answers);
  // Asks about the Americas until the answer is confirmed, then prints that office's address.
  void PrintDestinationBlock(CardQuestions& questions);
  // The stamp box with "Place", "Stamp", "Here".
  void PrintStampBox();

  // The five stages in order.
  void PrintAll(const CardAnswers& answers, CardQuestions& questions);

 private:
  void PrintField(const std::string& label, const std::string& value);
  void PrintCommentLine(const std::string& line);
  void PrintSenderLine(const std::string& text);
  void PrintDestinationLine(const std::string& text);
  void PrintStampWord(const std::string& word, int32_t m);
  void Put(int64_t x, int64_t y, const std::string& text);

  CardCanvas& canvas_;
  CardMetrics metrics_;
  int32_t n_ = 1;  // line counter of the current stage
};

// Breaks comment text into printed lines no wider than maxWidth, measured on the canvas with its
// current font. A typed line break (CR LF, CR or LF) ends a line; a blank line stays an empty line;
// a break at the very end adds no line. Within a typed line: leading blanks are dropped, a long
// line breaks after its last fitting blank (which it keeps), and a word wider than maxWidth is cut
// after its longest fitting prefix (at least one character, so the breaking always progresses).
std::vector<std::string> BreakCommentLines(CardCanvas& canvas, std::string_view text, int32_t maxWidth);

// The longest run of dashes narrower than pageWidth, measured on the canvas.
std::string DashRow(CardCanvas& canvas, int32_t pageWidth);

// True when the typed country means the United States ("USA", "U.S.A." or "UNITEDSTATES" once upper
// cased and stripped of blanks), in which case the card prints no country line.
bool IsUnitedStates(const std::string& country);

// The destination's five lines for the chosen office.
const std::vector<std::string>& DestinationLines(bool americas);

// Sets the base font on the canvas and measures "X" for the page of the given size.
CardMetrics MeasureCard(CardCanvas& canvas, int32_t pageWidth, int32_t pageHeight);

// The whole print job: begins the document on the printer, measures, draws the five stages and ends
// the document. A failure to begin passes on as it is; any failure after the document has begun
// aborts it (so nothing is printed) and then passes on unchanged.
void PrintCard(CardPrinter& printer, CardQuestions& questions, const CardAnswers& answers);

}  // namespace zelvo
