# Win32 tests of the registration form and the system probes, run under Wine.
zelvo_win32_test(win32_reginfo DIR reginfo SOURCES ${CMAKE_SOURCE_DIR}/tests/win32/Win32TestSupport.cpp)
