zelvo_unit_test(unit_framework DIR framework PARTS framework)
