# The entry benchmark runs the program's main window on the headless screen over a big store.
set(BENCH_LIBRARIES shell resources_dashel platform_testing)
