# bench_skin_win.exe: the skin engine's speed on real windows, skinned against unskinned, built in
# the Windows trees and run under Wine by scripts/bench-skin-wine.sh (a plain program, not a test).
if(CMAKE_CROSSCOMPILING AND NOT ZELVO_FUZZ)
  add_executable(bench_skin_win ${CMAKE_SOURCE_DIR}/bench/win/bench_skin_win.cpp $<TARGET_OBJECTS:zelvo_resources>)
  zelvo_warnings(bench_skin_win)
  target_link_libraries(bench_skin_win PRIVATE zelvo_win zelvo_core ${ZELVO_WIN_LIBS})
endif()
