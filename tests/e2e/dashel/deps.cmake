# The dashel end-to-end tests read the program's PNG snapshots and take the expected geometry from the
# shell's own layout, run in-process on the same screen profile.
set(TEST_LIBRARIES PkgConfig::PNG shell resources_dashel)
