# The silent run's yardstick for scripts/bench-silent-wine.sh: a program that only asks the shell
# to open an address, built in the Windows trees beside register.exe (a plain program, not a test).
if(CMAKE_CROSSCOMPILING AND NOT ZELVO_FUZZ)
  add_executable(bench_shell_bare WIN32 ${CMAKE_SOURCE_DIR}/bench/win/bench_shell_bare.cpp)
  zelvo_warnings(bench_shell_bare)
  target_link_libraries(bench_shell_bare PRIVATE shell32)
endif()
