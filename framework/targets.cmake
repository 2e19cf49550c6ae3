# Native tests of the framework's portable parts (the handler chain, shortcut texts), under the
# sanitizers.
zelvo_unit_test(unit_framework DIR framework PARTS framework)
