# Helper functions the folders' CMakeLists.txt files use to declare their targets.
#
# Portable sources form "parts" (object libraries, one per product folder); zelvo_core is the
# static library made of all of them, zelvo_win (cross build only) the static library of the
# Windows layer. In the native build every part is compiled twice: plain (benchmarks) and with
# AddressSanitizer/UndefinedBehaviorSanitizer (unit tests, corpus replays, tools).

set(ZELVO_SAN_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)

# Code built only for the tests (their own sources, and natively the sanitized core they test) is
# compiled for a quick build: -Og, with line tables only (enough for readable sanitizer reports).
# The shipped program, the tools and the benchmarks keep the tree's own flags.
if(CMAKE_CROSSCOMPILING)
  set(ZELVO_TEST_CODE_FLAGS -Og)
else()
  set(ZELVO_TEST_CODE_FLAGS -Og -g1)
endif()

# Every program the test suites run, for the target "test_programs" (the test command builds that
# and nothing else: no benchmarks, no Windows builds of the tools).
set_property(GLOBAL PROPERTY ZELVO_TEST_PROGRAMS "")
function(zelvo_test_uses)
  foreach(t ${ARGN})
    if(TARGET ${t})
      set_property(GLOBAL APPEND PROPERTY ZELVO_TEST_PROGRAMS ${t})
    endif()
  endforeach()
endfunction()
function(zelvo_add_test_programs_target)
  get_property(programs GLOBAL PROPERTY ZELVO_TEST_PROGRAMS)
  add_custom_target(test_programs)
  if(programs)
    add_dependencies(test_programs ${programs})
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL zelvo_add_test_programs_target)

# A portable part: zelvo_core_part(NAME SOURCES ... [DEPENDS parts...]), sources relative to the
# calling folder.
function(zelvo_core_part name)
  cmake_parse_arguments(P "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(zelvo_core_${name} OBJECT ${P_SOURCES})
  zelvo_warnings(zelvo_core_${name})
  target_sources(zelvo_core PRIVATE $<TARGET_OBJECTS:zelvo_core_${name}>)
  set_property(TARGET zelvo_core_${name} PROPERTY ZELVO_DEPENDS "${P_DEPENDS}")
  if(NOT CMAKE_CROSSCOMPILING AND NOT ZELVO_FUZZ)
    add_library(zelvo_core_${name}_san OBJECT ${P_SOURCES})
    zelvo_warnings(zelvo_core_${name}_san)
    target_compile_options(zelvo_core_${name}_san PRIVATE ${ZELVO_SAN_FLAGS} ${ZELVO_TEST_CODE_FLAGS})
  endif()
endfunction()

# Windows sources of the calling folder, added to zelvo_win (cross build only).
function(zelvo_win_sources)
  if(CMAKE_CROSSCOMPILING)
    target_sources(zelvo_win PRIVATE ${ARGN})
  endif()
endfunction()

# Collects a part and, recursively, the parts it depends on (suffix "" or "_san").
function(zelvo_part_closure out suffix)
  set(result "")
  set(todo ${ARGN})
  while(todo)
    list(POP_FRONT todo p)
    if(NOT p IN_LIST result)
      list(APPEND result ${p})
      get_property(deps TARGET zelvo_core_${p} PROPERTY ZELVO_DEPENDS)
      list(APPEND todo ${deps})
    endif()
  endwhile()
  list(TRANSFORM result PREPEND zelvo_core_)
  list(TRANSFORM result APPEND "${suffix}")
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# The flags of the unit-test programs and of their shared precompiled header.
function(zelvo_unit_test_flags target)
  zelvo_warnings(${target})
  target_compile_options(${target} PRIVATE ${ZELVO_SAN_FLAGS} ${ZELVO_TEST_CODE_FLAGS})
  target_compile_definitions(${target} PRIVATE ZELVO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endfunction()

# Native unit-test executable of the calling folder's *.cpp for some parts, sanitized, one CTest
# test per case. DATA names the folder of test data the tests read (ZELVO_TESTDATA_DIR).
function(zelvo_unit_test name)
  cmake_parse_arguments(T "" "DATA" "PARTS;SOURCES" ${ARGN})
  if(CMAKE_CROSSCOMPILING OR ZELVO_FUZZ)
    return()
  endif()
  # GoogleTest's headers are parsed once for all unit-test programs (they share their flags).
  if(NOT TARGET zelvo_unit_test_pch)
    file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/zelvo_unit_test_pch.cpp CONTENT "")
    add_library(zelvo_unit_test_pch OBJECT ${CMAKE_BINARY_DIR}/zelvo_unit_test_pch.cpp)
    zelvo_unit_test_flags(zelvo_unit_test_pch)
    target_link_libraries(zelvo_unit_test_pch PRIVATE GTest::gtest GTest::gmock)
    target_precompile_headers(zelvo_unit_test_pch PRIVATE <gtest/gtest.h> <gmock/gmock.h>)
  endif()
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  zelvo_part_closure(libs _san ${T_PARTS})
  add_executable(${name} ${srcs} ${T_SOURCES})
  zelvo_unit_test_flags(${name})
  target_precompile_headers(${name} REUSE_FROM zelvo_unit_test_pch)
  target_link_options(${name} PRIVATE -fsanitize=address,undefined)
  target_link_libraries(${name} PRIVATE ${libs} GTest::gtest GTest::gtest_main GTest::gmock)
  if(T_DATA)
    target_compile_definitions(${name} PRIVATE ZELVO_TESTDATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/${T_DATA}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
  zelvo_test_uses(${name})
endfunction()

# A fuzz target <src> of the calling folder exposing LLVMFuzzerTestOneInput. Natively (GCC) it
# becomes a sanitized replay program that CTest runs over the committed seed corpus
# corpus/<name>/ beside it; in the clang fuzz build (ZELVO_FUZZ) it becomes a libFuzzer binary.
function(zelvo_fuzz_target name)
  cmake_parse_arguments(F "" "SOURCE" "PARTS" ${ARGN})
  if(CMAKE_CROSSCOMPILING)
    return()
  endif()
  if(ZELVO_FUZZ)
    zelvo_part_closure(libs "" ${F_PARTS})
    add_executable(fuzz_${name} ${F_SOURCE})
    target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(fuzz_${name} PRIVATE ${libs})
  else()
    zelvo_part_closure(libs _san ${F_PARTS})
    add_executable(replay_${name} ${F_SOURCE} replay_main.cpp)
    target_compile_options(replay_${name} PRIVATE ${ZELVO_SAN_FLAGS} ${ZELVO_TEST_CODE_FLAGS})
    target_link_options(replay_${name} PRIVATE -fsanitize=address,undefined)
    target_link_libraries(replay_${name} PRIVATE ${libs})
    add_test(NAME fuzz_corpus_${name} COMMAND replay_${name} ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
    set_tests_properties(fuzz_corpus_${name} PROPERTIES LABELS native)
    zelvo_test_uses(replay_${name})
  endif()
endfunction()

# A Google Benchmark program <src> of the calling folder, built natively without sanitizers; not
# run by CTest.
function(zelvo_benchmark name)
  cmake_parse_arguments(B "" "SOURCE" "PARTS" ${ARGN})
  if(CMAKE_CROSSCOMPILING OR ZELVO_FUZZ)
    return()
  endif()
  zelvo_part_closure(libs "" ${B_PARTS})
  add_executable(bench_${name} ${B_SOURCE})
  target_link_libraries(bench_${name} PRIVATE ${libs} benchmark::benchmark benchmark::benchmark_main)
  target_compile_definitions(bench_${name} PRIVATE ZELVO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endfunction()

# A measuring program <src> without the benchmark framework (target <name>), for comparisons of
# whole processes with other programs, where start-up time counts: linked statically where the
# system allows it (no dynamic loading of the C++ runtime at start), else with the C++ runtime
# linked in. Built natively, not run by CTest.
function(zelvo_bench_program name)
  cmake_parse_arguments(B "" "SOURCE" "PARTS" ${ARGN})
  if(CMAKE_CROSSCOMPILING OR ZELVO_FUZZ)
    return()
  endif()
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_LINK_OPTIONS -static)
  check_cxx_source_compiles("#include <cstdio>\nint main() { std::puts(\"\"); }" ZELVO_LINKS_STATIC)
  zelvo_part_closure(libs "" ${B_PARTS})
  add_executable(${name} ${B_SOURCE})
  zelvo_warnings(${name})
  target_link_libraries(${name} PRIVATE ${libs})
  if(ZELVO_LINKS_STATIC)
    target_link_options(${name} PRIVATE -static)
  else()
    target_link_options(${name} PRIVATE -static-libstdc++ -static-libgcc)
  endif()
endfunction()

# A portable command-line tool, built in both trees: plain and statically linked on Windows;
# natively on the sanitized core, with the sanitizers on, since the tests run the native tools on
# hostile input (and so the native tree compiles the core plainly only for the benchmarks).
function(zelvo_tool name)
  cmake_parse_arguments(T "" "" "SOURCES;PARTS" ${ARGN})
  if(ZELVO_FUZZ)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  zelvo_warnings(${name})
  if(CMAKE_CROSSCOMPILING)
    zelvo_part_closure(libs "" ${T_PARTS})
  else()
    zelvo_part_closure(libs _san ${T_PARTS})
    target_compile_options(${name} PRIVATE ${ZELVO_SAN_FLAGS} ${ZELVO_TEST_CODE_FLAGS})
    target_link_options(${name} PRIVATE -fsanitize=address,undefined)
  endif()
  target_link_libraries(${name} PRIVATE ${libs})
endfunction()

# A Windows program of the calling folder that links the whole Windows layer and the resources
# (cross build only): zelvo_win_program(NAME [WIN32] SOURCES ...).
function(zelvo_win_program name)
  cmake_parse_arguments(W "WIN32" "" "SOURCES" ${ARGN})
  set(kind "")
  if(W_WIN32)
    set(kind WIN32)
  endif()
  add_executable(${name} ${kind} ${W_SOURCES} $<TARGET_OBJECTS:zelvo_resources>)
  zelvo_warnings(${name})
  target_link_libraries(${name} PRIVATE zelvo_win zelvo_core ${ZELVO_WIN_LIBS})
endfunction()

# A Win32 GoogleTest program of the calling folder's *.cpp, run under Wine by CTest (one test
# per program). The entry point and the shared helpers (tests/win32/Win32TestSupport.cpp) are
# compiled once for all of them, and the Windows and GoogleTest headers are parsed once (a
# precompiled header).
function(zelvo_win32_test name)
  cmake_parse_arguments(T "" "" "SOURCES" ${ARGN})
  if(NOT CMAKE_CROSSCOMPILING)
    return()
  endif()
  if(NOT TARGET zelvo_win32_test_main)
    add_library(zelvo_win32_test_main OBJECT ${CMAKE_SOURCE_DIR}/tests/win32/win32_test_main.cpp
                ${CMAKE_SOURCE_DIR}/tests/win32/Win32TestSupport.cpp)
    zelvo_warnings(zelvo_win32_test_main)
    target_compile_options(zelvo_win32_test_main PRIVATE ${ZELVO_TEST_CODE_FLAGS})
    target_compile_definitions(zelvo_win32_test_main PRIVATE ZELVO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    target_link_libraries(zelvo_win32_test_main PRIVATE zelvo_win gtest)
    target_precompile_headers(zelvo_win32_test_main PRIVATE <windows.h> <gtest/gtest.h> <string> <vector> <functional>)
  endif()
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  zelvo_win_program(${name} SOURCES ${srcs} ${T_SOURCES} $<TARGET_OBJECTS:zelvo_win32_test_main>)
  target_compile_options(${name} PRIVATE ${ZELVO_TEST_CODE_FLAGS})
  target_precompile_headers(${name} REUSE_FROM zelvo_win32_test_main)
  target_link_libraries(${name} PRIVATE gtest)
  target_compile_definitions(${name} PRIVATE ZELVO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  # (A generous limit: a busy machine makes the longest suite take minutes.)
  set_tests_properties(${name} PROPERTIES LABELS win32 TIMEOUT 900 RUN_SERIAL TRUE)
  zelvo_test_uses(${name})
endfunction()
