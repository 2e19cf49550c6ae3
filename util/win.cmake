list(APPEND ZELVO_WIN_SOURCES util/WinUtil.cpp)
