# Native tests of the framework's portable templates (the handler chain), under the sanitizers.
zelvo_unit_test(unit_framework DIR framework)
