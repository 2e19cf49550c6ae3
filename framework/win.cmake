# The least application framework the program needs (Windows only).
list(APPEND ZELVO_WIN_SOURCES
  framework/Graphics.cpp
  framework/CallbackGuard.cpp
  framework/Subclass.cpp
  framework/Controls.cpp
  framework/Forms.cpp
  framework/StdCtrls.cpp
  framework/EditCtrls.cpp
  framework/Layout.cpp
  framework/Resources.cpp
)
