# Tests, fuzz target, benchmark and tools of the skin container.
zelvo_unit_test(unit_skinread DIR skinread PARTS skinread)
zelvo_benchmark(lzh SOURCE bench_lzh.cpp PARTS skinread)
zelvo_bench_program(lzh_extract SOURCE lzh_extract.cpp PARTS skinread)
zelvo_tool(skinpack SOURCES tools/skinpack.cpp tools/toolutil_files.cpp PARTS skinread)
zelvo_tool(skinunpack SOURCES tools/skinunpack.cpp tools/toolutil_files.cpp PARTS skinread)

# The two tools end to end: pack a folder, unpack it again, and their errors.
if(NOT CMAKE_CROSSCOMPILING AND NOT ZELVO_FUZZ)
  add_test(NAME skin_tools_roundtrip
           COMMAND ${CMAKE_COMMAND} -DSKINPACK=$<TARGET_FILE:skinpack>
                   -DSKINUNPACK=$<TARGET_FILE:skinunpack>
                   -DWORK=${CMAKE_CURRENT_BINARY_DIR}/skin_tools_roundtrip
                   -P ${CMAKE_SOURCE_DIR}/tests/unit/skinread/skin_tools_roundtrip.cmake)
  set_tests_properties(skin_tools_roundtrip PROPERTIES LABELS native)
endif()
zelvo_fuzz_target(skin_container SOURCE fuzz_skin_container.cpp PARTS skinread)
if(TARGET unit_skinread)
  # The unpack tool's tests run the built tool.
  add_dependencies(unit_skinread skinunpack)
  target_compile_definitions(unit_skinread PRIVATE ZELVO_SKINUNPACK="$<TARGET_FILE:skinunpack>")
endif()
