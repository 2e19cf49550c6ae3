# Tests, benchmark and preview tool of the window-frame core.
zelvo_unit_test(unit_skinframe DIR skinframe PARTS skinframe)
zelvo_benchmark(skin_frame SOURCE bench_skin_frame.cpp PARTS skinframe)
zelvo_tool(skinpreview SOURCES tools/skinpreview.cpp PARTS skinframe)
# The preview tool is run by the unit tests as a skin author runs it.
if(TARGET unit_skinframe AND TARGET skinpreview)
  add_dependencies(unit_skinframe skinpreview)
  target_compile_definitions(unit_skinframe PRIVATE ZELVO_SKINPREVIEW="$<TARGET_FILE:skinpreview>")
endif()
