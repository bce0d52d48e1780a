# The finger list benchmark draws the controls' list view.
set(BENCH_LIBRARIES controls)
