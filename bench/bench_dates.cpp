// Parse-and-format of typed dates (the date field's exit processing), and formatting alone, under
// the three locales the tests use. Figures: time per entry.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "controls/zcdate.h"
#include "controls/zcdateedit_core.h"
#include "controls/zcintl_core.h"

using namespace zelvo;

namespace {

const TStDate kToday = DMYtoStDate(15, 6, 2004, 0);

TZcIntlSup MakeLocale(int which) {
  TZcLocaleSettings s;
  if (which == 0) {
    s.shortDateFormat = "M/d/yyyy";
  } else if (which == 1) {
    s.dateSeparator = '.';
    s.shortDateFormat = "dd.MM.yyyy";
    s.dateOrder = 1;
  } else {
    s.dateSeparator = '-';
    s.shortDateFormat = "yyyy-MM-dd";
    s.dateOrder = 2;
  }
  return TZcIntlSup(s);
}

const std::vector<std::vector<std::string>> kEntries = {
    {"3/5/04", "March 5, 2004", "12/31/1999", "next fri", "eom", "today", "/", "7-4-76"},
    {"5.3.2004", "05.03.04", "31.12.1999", "5 march 2004", "next fri", "bom", "."},
    {"2004-03-05", "04-3-5", "1999-12-31", "2004 mar 5", "second tue", "yesterday", "-"},
};

void BM_ParseAndFormat(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  TZcIntlSup intl = MakeLocale(which);
  TZcDateEditCore field(intl, [] { return kToday; });
  field.SetEpoch(1980);
  field.requiredFields = TZcRequiredDateFields::All();
  const auto& entries = kEntries[static_cast<size_t>(which)];
  size_t i = 0;
  for (auto _ : state) {
    field.SetDateText(entries[i]);
    benchmark::DoNotOptimize(field.Text());
    if (++i == entries.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseAndFormat)->Arg(0)->Arg(1)->Arg(2)->ArgName("locale");

void BM_FormatDate(benchmark::State& state) {
  TZcIntlSup intl = MakeLocale(static_cast<int>(state.range(0)));
  const std::string picture = intl.InternationalDate(false);
  TStDate day = kToday;
  for (auto _ : state) {
    benchmark::DoNotOptimize(intl.FormatDate(picture, day));
    day = day < kMaxDate ? day + 1 : kMinDate;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatDate)->Arg(0)->Arg(1)->Arg(2)->ArgName("locale");

void BM_DayNumberRoundTrip(benchmark::State& state) {
  TStDate day = 0;
  for (auto _ : state) {
    int d, m, y;
    StDateToDMY(day, d, m, y);
    benchmark::DoNotOptimize(DMYtoStDate(d, m, y, 0));
    day = day < kMaxDate ? day + 1 : kMinDate;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DayNumberRoundTrip);

}  // namespace
