# Portable part of the mail-in registration: the printed card's layout and the system probes' texts.
zelvo_core_part(card SOURCES
  reginfo/CardLayout.cpp
  reginfo/SystemProbes_core.cpp
  DEPENDS util
)
