# Portable part of the framework: menu shortcut texts and button geometry.
zelvo_core_part(framework SOURCES
  framework/Menus_core.cpp
  framework/ButtonLayout_core.cpp
)
