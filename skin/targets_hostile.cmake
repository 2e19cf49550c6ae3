# Hostile skins: every skin of the test set loads and draws whole (frame, controls, menus) or is
# refused with a message; the fuzz target draws whatever any bytes load as.
zelvo_unit_test(unit_skinhostile DIR skinhostile PARTS skinframe skincontrols)
zelvo_fuzz_target(skin_render SOURCE fuzz_skin_render.cpp PARTS skinframe skincontrols)
# The preview tool is run on each skin of the set as a skin author runs it.
if(TARGET unit_skinhostile AND TARGET skinpreview)
  add_dependencies(unit_skinhostile skinpreview)
  target_compile_definitions(unit_skinhostile PRIVATE ZELVO_SKINPREVIEW="$<TARGET_FILE:skinpreview>")
endif()
