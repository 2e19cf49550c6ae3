zelvo_win32_test(win32_framework DIR framework SOURCES ${CMAKE_SOURCE_DIR}/tests/win32/Win32TestSupport.cpp)
