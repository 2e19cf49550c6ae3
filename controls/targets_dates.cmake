# Tests, fuzz target and benchmark of the date controls' portable core.
zelvo_unit_test(unit_dates DIR controls PARTS dates)
zelvo_fuzz_target(date_parse SOURCE fuzz_date_parse.cpp PARTS dates)
zelvo_benchmark(dates SOURCE bench_dates.cpp PARTS dates)
