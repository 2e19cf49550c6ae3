# Tests, fuzz target, benchmark and tools of the skin container.
zelvo_unit_test(unit_skinread DIR skinread PARTS skinread)
zelvo_benchmark(lzh SOURCE bench_lzh.cpp PARTS skinread)
