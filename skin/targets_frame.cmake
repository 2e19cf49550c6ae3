# Tests, benchmark and preview tool of the window-frame core.
zelvo_unit_test(unit_skinframe DIR skinframe PARTS skinframe)
zelvo_benchmark(skin_frame SOURCE bench_skin_frame.cpp PARTS skinframe)
zelvo_tool(skinpreview SOURCES tools/skinpreview.cpp PARTS skinframe)
