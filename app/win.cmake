list(APPEND ZELVO_WIN_SOURCES app/Main.cpp app/Shell.cpp)
