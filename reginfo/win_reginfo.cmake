# Windows layer of the mail-in registration: the registration form, the system probes' platform
# calls and the card's printer.
list(APPEND ZELVO_WIN_SOURCES
  reginfo/RegInfo.cpp
  reginfo/SystemProbes.cpp
  reginfo/CardPrinter.cpp
)
