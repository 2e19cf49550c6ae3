# Win32 tests of the date controls on real forms, run under Wine.
zelvo_win32_test(win32_dates DIR controls SOURCES ${CMAKE_SOURCE_DIR}/tests/win32/Win32TestSupport.cpp)
