zelvo_unit_test(unit_app DIR app PARTS app)
