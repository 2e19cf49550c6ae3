# Tests of the control-skin choice and the control and menu-item geometry.
zelvo_unit_test(unit_skincontrols DIR skincontrols PARTS skincontrols)
