// Card layout speed: the whole page drawn onto a canvas that only measures (fixed-width characters,
// 60 units each at 12 point, about what Arial gives at 600 dpi) and onto one that also keeps every call as text.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "reginfo/CardLayout.h"

namespace {

using namespace zelvo;

class NullCanvas : public CardCanvas {
 public:
  void SetFontName(const std::string&) override {}
  void SetFontSize(int32_t points) override { size_ = points; }
  void SetFontStyle(uint8_t) override {}
  void TextOutAt(int32_t, int32_t, const std::string& text) override { drawn_ += text.size(); }
  int32_t TextWidth(const std::string& text) override { return static_cast<int32_t>(text.size()) * 5 * size_; }
  CardTextSize TextExtent(const std::string& text) override { return {TextWidth(text), 100 * size_ / 12}; }
  void Rectangle(int32_t, int32_t, int32_t, int32_t) override {}
  size_t drawn_ = 0;

 private:
  int32_t size_ = 12;
};

class RecordingCanvas : public NullCanvas {
 public:
  void TextOutAt(int32_t x, int32_t y, const std::string& text) override {
    calls.push_back(std::to_string(x) + "," + std::to_string(y) + " " + text);
  }
  void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) override {
    calls.push_back(std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) + "," + std::to_string(b));
  }
  std::vector<std::string> calls;
};

class AlwaysYes : public CardQuestions {
 public:
  bool Confirm(const std::string&) override { return true; }
  bool ConfirmDefaultNo(const std::string&) override { return true; }
};

CardAnswers Answers(size_t commentChars) {
  CardAnswers a;
  a.product = "Zelvo Paint";
  a.age = "34";
  a.sexIndex = 1;
  a.phone = "555-0142";
  a.email = "jane@example.com";
  a.purchased = "CompUSA";
  a.datePurchased = "3/14/2024";
  a.computerType = "Desktop";
  a.os = "Windows 10";
  a.ram = "16384 MB";
  a.name = "Jane Q. Public";
  a.address1 = "12 Elm Street";
  a.city = "Toronto";
  a.state = "ON";
  a.postalCode = "M5V 2T6";
  a.country = "Canada";
  const std::string sentence = "The new brushes are great and the layers panel is much faster now. ";
  // Three sentences to a typed paragraph.
  for (int i = 1; a.comments.size() < commentChars; ++i) {
    a.comments += sentence;
    if (i % 3 == 0) a.comments += "\r\n";
  }
  return a;
}

// Letter paper at 600 dpi: about 4900 x 6400 printable units.
template <class Canvas>
void LayOut(benchmark::State& state) {
  const CardAnswers answers = Answers(static_cast<size_t>(state.range(0)));
  AlwaysYes yes;
  for (auto _ : state) {
    Canvas canvas;
    CardLayout layout(canvas, MeasureCard(canvas, 4900, 6400));
    layout.PrintAll(answers, yes);
    benchmark::DoNotOptimize(canvas);
  }
  state.SetLabel(std::to_string(state.range(0)) + " comment chars");
}

void BM_CardOnNullCanvas(benchmark::State& state) { LayOut<NullCanvas>(state); }
void BM_CardOnRecordingCanvas(benchmark::State& state) { LayOut<RecordingCanvas>(state); }
BENCHMARK(BM_CardOnNullCanvas)->Arg(0)->Arg(400)->Arg(4000)->Arg(40000);
BENCHMARK(BM_CardOnRecordingCanvas)->Arg(0)->Arg(4000);

void BM_BreakCommentLines(benchmark::State& state) {
  const std::string text = Answers(static_cast<size_t>(state.range(0))).comments;
  NullCanvas canvas;
  for (auto _ : state) benchmark::DoNotOptimize(BreakCommentLines(canvas, text, 2450));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_BreakCommentLines)->Arg(4000);

void BM_DashRow(benchmark::State& state) {
  NullCanvas canvas;
  for (auto _ : state) benchmark::DoNotOptimize(DashRow(canvas, 4900));
}
BENCHMARK(BM_DashRow);

}  // namespace
