// Test doubles for the card: a canvas that records what is drawn, scripted answers to the Americas
// questions and a printer around the canvas.
#pragma once

#include <deque>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "reginfo/CardLayout.h"

namespace zelvo::test {

// Metrics are given at 12 point and scale with the font size, so a text measured with the wrong
// font gets a wrong width. Every call except TextWidth is recorded in order ("font Arial",
// "size 12", "style none", "text x,y TEXT", "extent TEXT", "rect l,t,r,b").
class RecordingCanvas : public CardCanvas {
 public:
  int32_t charWidth = 60;
  int32_t lineHeight = 100;
  std::map<char, int32_t> charWidths;         // per-character widths replacing charWidth
  std::map<std::string, int32_t> textWidths;  // whole texts with a width of their own
  int32_t overhang = 0;                       // added once to every non-empty text
  std::vector<std::string>* log = &calls;     // where the calls go (a printer can share its log)
  std::vector<std::string> calls;

  void SetFontName(const std::string& name) override {
    fontName_ = name;
    log->push_back("font " + name);
  }
  void SetFontSize(int32_t points) override {
    fontSize_ = points;
    log->push_back("size " + std::to_string(points));
  }
  void SetFontStyle(uint8_t styles) override {
    log->push_back(styles == kCardFontPlain ? "style none"
                   : styles == kCardFontUnderline ? "style underline"
                                           : "style " + std::to_string(styles));
  }
  void TextOutAt(int32_t x, int32_t y, const std::string& text) override {
    if (throwOnText == text) throw std::runtime_error("canvas failure");
    log->push_back("text " + std::to_string(x) + "," + std::to_string(y) + " " + text);
  }
  int32_t TextWidth(const std::string& text) override {
    ++widthCalls;
    return Width(text);
  }
  CardTextSize TextExtent(const std::string& text) override {
    log->push_back("extent " + text);
    return {Width(text), lineHeight * fontSize_ / 12};
  }
  void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) override {
    log->push_back("rect " + std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) + "," +
                   std::to_string(b));
  }

  int32_t Width(const std::string& text) const {
    int32_t w = 0;
    if (auto it = textWidths.find(text); it != textWidths.end()) {
      w = it->second;
    } else {
      for (char c : text) {
        auto cw = charWidths.find(c);
        w += cw != charWidths.end() ? cw->second : charWidth;
      }
    }
    if (!text.empty()) w += overhang;
    return w * fontSize_ / 12;
  }

  // The texts drawn, in order, without their positions.
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const std::string& c : *log) {
      if (c.rfind("text ", 0) == 0) out.push_back(c.substr(c.find(' ', 5) + 1));
    }
    return out;
  }

  std::string throwOnText = "\x01never";
  long widthCalls = 0;

 private:
  std::string fontName_;
  int32_t fontSize_ = 0;
};

class ScriptedQuestions : public CardQuestions {
 public:
  explicit ScriptedQuestions(std::deque<bool> answers) : answers_(std::move(answers)) {}
  bool Confirm(const std::string& message) override {
    asked.push_back("Confirm: " + message);
    return Next();
  }
  bool ConfirmDefaultNo(const std::string& message) override {
    asked.push_back("ConfirmDefaultNo: " + message);
    return Next();
  }
  std::vector<std::string> asked;
  bool Exhausted() const { return answers_.empty(); }

 private:
  bool Next() {
    if (answers_.empty()) throw std::runtime_error("a question was asked that the test did not script");
    bool a = answers_.front();
    answers_.pop_front();
    return a;
  }
  std::deque<bool> answers_;
};

class FakePrinter : public CardPrinter {
 public:
  FakePrinter(int32_t w, int32_t h) : width(w), height(h) {}
  void BeginDoc() override {
    if (failBegin) throw std::runtime_error("no default printer");
    canvas.log->push_back("begin doc");
  }
  void EndDoc() override {
    if (failEnd) throw std::runtime_error("end failed");
    canvas.log->push_back("end doc");
  }
  void Abort() override {
    canvas.log->push_back("abort doc");
    if (failAbort) throw std::runtime_error("abort failed");
  }
  int32_t PageWidth() override { return width; }
  int32_t PageHeight() override { return height; }
  CardCanvas& Canvas() override { return canvas; }

  int32_t width, height;
  bool failBegin = false, failEnd = false, failAbort = false;
  RecordingCanvas canvas;
};

}  // namespace zelvo::test
