# Win32 tests of the skin component under Wine.
zelvo_win32_test(win32_skin DIR skin SOURCES ${CMAKE_SOURCE_DIR}/tests/win32/Win32TestSupport.cpp)
