# Tests, fuzz targets, benchmark and tool of the skin data.
zelvo_unit_test(unit_skindata DIR skindata PARTS skindata)
zelvo_tool(skininspect SOURCES tools/skininspect.cpp tools/toolutil_files.cpp PARTS skindata)
zelvo_fuzz_target(bmp SOURCE fuzz_bmp.cpp PARTS skindata)
zelvo_fuzz_target(skin_description SOURCE fuzz_skin_description.cpp PARTS skindata)
zelvo_fuzz_target(skin_load SOURCE fuzz_skin_load.cpp PARTS skindata)
zelvo_benchmark(skin_load SOURCE bench_skin_load.cpp PARTS skindata)
