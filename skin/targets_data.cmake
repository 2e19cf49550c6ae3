# Tests, fuzz targets, benchmark and tool of the skin data.
zelvo_unit_test(unit_skindata DIR skindata PARTS skindata)
zelvo_tool(skininspect SOURCES tools/skininspect.cpp PARTS skindata)
