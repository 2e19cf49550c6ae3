zelvo_win32_test(win32_app DIR app SOURCES ${CMAKE_SOURCE_DIR}/tests/win32/Win32TestSupport.cpp)
