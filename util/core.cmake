# Portable part of the utility library.
zelvo_core_part(util SOURCES
  util/Util.cpp
  util/IniFile.cpp
  util/MsgDialogLayout.cpp
  util/ErrorText.cpp
)
