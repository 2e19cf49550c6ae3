# Portable part of the framework: menu shortcut texts.
zelvo_core_part(framework SOURCES
  framework/Menus_core.cpp
)
