list(APPEND ZELVO_WIN_SOURCES app/Main.cpp app/Program.cpp app/Shell.cpp)
