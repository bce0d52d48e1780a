# The dashel end-to-end tests read the program's PNG snapshots and take the expected geometry from the
# shell's own layout, run in-process on the same screen profile; they also start a test build of the
# program whose first write fails.
set(TEST_LIBRARIES PkgConfig::PNG shell resources_dashel)
set(TEST_DEPENDS dashel_failing_write)
