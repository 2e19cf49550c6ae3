# Tests and benchmark of the card layout and the system probes' texts.
zelvo_unit_test(unit_card DIR reginfo PARTS card)
zelvo_benchmark(card SOURCE bench_card.cpp PARTS card)
