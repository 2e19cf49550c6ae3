zelvo_win32_test(win32_util DIR util SOURCES ${CMAKE_SOURCE_DIR}/tests/win32/Win32TestSupport.cpp)
