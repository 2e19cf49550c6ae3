zelvo_unit_test(unit_util DIR util PARTS util)
zelvo_fuzz_target(settings SOURCE fuzz_settings.cpp PARTS util)
