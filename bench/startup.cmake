# The start-up benchmark builds its big store through the data code and starts the built dashel.
set(BENCH_LIBRARIES DoveVO resources_dashel)
